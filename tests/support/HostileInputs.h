#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Hostile fonts and collections with the sound outcome for each: replayed by
// the tests, and written out as seeds for the fuzzers.
namespace HostileInputs {

struct Collection
{
    QString name;
    QByteArray bytes;
    QStringList fullNames; // readCollectionFullNames
    bool splits;           // splitCollection's result
    QStringList files;     // the files the split writes, sorted
};

struct Font
{
    QString name;
    QByteArray bytes;
    QString familyName; // readFamilyName
    bool sfnt;          // holdsSfntFont
    bool coversA;       // the coverage test for the keep list {'A'}
};

QList<Collection> collections();
QList<Font> fonts();

} // namespace HostileInputs
