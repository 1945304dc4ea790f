#pragma once

#include "base/ByteView.h"

#include <QByteArray>
#include <QVector>

class FontSource;

constexpr quint32 kTrueTypeVersion = 0x00010000;
constexpr quint32 kAppleTrueTypeVersion = 0x74727565; // 'true'
constexpr quint32 kCffVersion = 0x4F54544F;           // 'OTTO': CFF or CFF2 outlines
constexpr quint32 kCollectionTag = 0x74746366;        // 'ttcf'
constexpr quint32 kCollectionVersion1 = 0x00010000;
constexpr quint32 kCollectionVersion2 = 0x00020000;

// Whether an sfntVersion is one of a font this program reads: TrueType
// outlines (1.0 or 'true') or CFF outlines ('OTTO').
inline bool isFontVersion(quint32 sfntVersion)
{
    return sfntVersion == kTrueTypeVersion || sfntVersion == kAppleTrueTypeVersion || sfntVersion == kCffVersion;
}

constexpr quint64 kOffsetTableSize = 12;
constexpr quint64 kTableRecordSize = 16;

struct TableRecord
{
    quint32 tag = 0;
    quint32 checkSum = 0;
    quint32 offset = 0;
    quint32 length = 0;
};

// The offset table and table records of one font, as stored.
struct TableDirectory
{
    quint32 sfntVersion = 0;
    QByteArray offsetTable;       // the 12 bytes as stored
    QVector<TableRecord> records; // in stored order
};

quint32 tagValue(const QByteArray &tag);

// Reads the offset table and records that start at `at`. False when they run
// past the end of the source: the font then has no usable directory.
bool readTableDirectory(FontSource &source, quint64 at, TableDirectory *directory);

// The first record with this tag, or null.
const TableRecord *findTableRecord(const TableDirectory &directory, const QByteArray &tag);

// The table's bytes, or empty when its range is not inside the source.
QByteArray readTable(FontSource &source, const TableRecord &record);

// Collection header: the member offsets of a 'ttcf' file of version 1.0 or
// 2.0 (whose signature fields are not needed here). False when the header is
// not one, or when its offset array runs past the end.
bool readCollectionOffsets(FontSource &source, QVector<quint32> *memberOffsets);
