#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

// A tiny builder of sfnt bytes for tests: tables in, font or collection out.
// Malformed cases patch the result byte by byte.
namespace FontBuilder {

struct Table
{
    QByteArray tag;
    QByteArray data;
};

struct NameEntry
{
    quint16 platformID;
    quint16 encodingID;
    quint16 languageID;
    quint16 nameID;
    QString text; // stored as big-endian UTF-16
};

struct Segment
{
    quint16 startCode;
    quint16 endCode;
    quint16 idDelta = 0;
};

QByteArray u16(quint16 value);
QByteArray u32(quint32 value);
void putU16(QByteArray *bytes, int at, quint16 value);
void putU32(QByteArray *bytes, int at, quint32 value);

// A font whose tables follow its directory in the given order, each padded
// to four bytes.
QByteArray font(const QList<Table> &tables, quint32 sfntVersion = 0x00010000);

// A version 1.0 collection of the given fonts, each member's table offsets
// moved to where its tables land.
QByteArray collection(const QList<QByteArray> &members, quint32 version = 0x00010000);

QByteArray nameTable(const QList<NameEntry> &entries);
QByteArray familyNameTable(const QString &family, quint16 nameID = 1);

// A cmap with one format 4 subtable per (platformID, encodingID) record,
// each holding the segments given (the final 0xFFFF segment is not added).
QByteArray cmapFormat4(const QList<QPair<quint16, quint16>> &records, const QVector<Segment> &segments);

// A cmap with one format 12 subtable per record, mapping each group's
// characters to consecutive glyphs from startGlyph.
struct Group
{
    quint32 startCode;
    quint32 endCode;
    quint32 startGlyph;
};
QByteArray cmapFormat12(const QList<QPair<quint16, quint16>> &records, const QVector<Group> &groups);

// head with macStyle set, OS/2 with usWeightClass set: for style preferences.
QByteArray headTable(quint16 macStyle = 0);
QByteArray os2Table(quint16 usWeightClass = 400);

// A font with a name table naming the family (and full name), plus filler tables.
QByteArray namedFont(const QString &family, quint16 macStyle = 0, quint16 weight = 400);

// A small but complete TrueType font (two empty glyphs; A to Z mapped to
// glyph 1, or the cmap given) that FreeType, and so fontconfig, accepts.
// Names: `names` when given, else family (ID 1), style (ID 2) and full name
// (ID 4) in English.
QByteArray trueTypeFont(const QString &family, quint16 macStyle = 0, quint16 weight = 400,
                        const QList<NameEntry> &names = {}, const QByteArray &cmap = {},
                        const QList<Table> &moreTables = {});

// An fvar table of one axis and no named instances.
QByteArray fvarTable(const QByteArray &axisTag, double minValue, double defaultValue, double maxValue);

QString writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path); // empty when it cannot be read

} // namespace FontBuilder
