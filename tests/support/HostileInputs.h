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

// GSUB tables whose offsets repeat: a few kilobytes that describe billions
// of steps to a reader that follows every offset. Each is read within a
// budget set by its size.
struct LayoutTable
{
    QString name;
    QByteArray gsub;
    int ligatures;         // gsubLigatures' count; -1: some, fewer than the table describes
    bool complete;         // gsubLigatures' flag
    QByteArray languages;  // withOtherLanguagesFormsRenamed for these tags (four bytes each) renames...
    int renamed;           // ...this many features (0: no copy made)
};

QList<Collection> collections();
QList<Font> fonts();
QList<LayoutTable> layoutTables();

} // namespace HostileInputs
