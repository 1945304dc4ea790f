#include "TableDirectory.h"

#include "FontSource.h"

quint32 tagValue(const QByteArray &tag)
{
    ByteView view(tag.constData(), quint64(tag.size()));
    quint32 value = 0;
    view.readU32(0, &value);
    return value;
}

bool readTableDirectory(FontSource &source, quint64 at, TableDirectory *directory)
{
    const QByteArray offsetTable = source.read(at, kOffsetTableSize);
    const ByteView header(offsetTable.constData(), quint64(offsetTable.size()));
    quint32 sfntVersion = 0;
    quint16 numTables = 0;
    if (!header.readU32(0, &sfntVersion) || !header.readU16(4, &numTables))
        return false;

    directory->sfntVersion = sfntVersion;
    directory->offsetTable = QByteArray(offsetTable.constData(), offsetTable.size());
    directory->records.clear();
    if (numTables == 0)
        return true;

    const QByteArray recordBytes = source.read(at + kOffsetTableSize, numTables * kTableRecordSize);
    const ByteView records(recordBytes.constData(), quint64(recordBytes.size()));
    if (records.isNull())
        return false;

    directory->records.reserve(numTables);
    for (quint64 i = 0; i < numTables; ++i) {
        const quint64 at = i * kTableRecordSize;
        TableRecord record;
        records.readU32(at, &record.tag);
        records.readU32(at + 4, &record.checkSum);
        records.readU32(at + 8, &record.offset);
        records.readU32(at + 12, &record.length);
        directory->records.append(record);
    }
    return true;
}

const TableRecord *findTableRecord(const TableDirectory &directory, const QByteArray &tag)
{
    const quint32 wanted = tagValue(tag);
    for (const TableRecord &record : directory.records) {
        if (record.tag == wanted)
            return &record;
    }
    return nullptr;
}

QByteArray readTable(FontSource &source, const TableRecord &record)
{
    return source.read(record.offset, record.length);
}

bool readCollectionOffsets(FontSource &source, QVector<quint32> *memberOffsets)
{
    const QByteArray headerBytes = source.read(0, 12);
    const ByteView header(headerBytes.constData(), quint64(headerBytes.size()));
    quint32 tag = 0, version = 0, numFonts = 0;
    if (!header.readU32(0, &tag) || tag != kCollectionTag)
        return false;
    if (!header.readU32(4, &version) || (version != kCollectionVersion1 && version != kCollectionVersion2))
        return false;
    header.readU32(8, &numFonts);

    memberOffsets->clear();
    if (numFonts == 0)
        return true;
    // The count must fit in the bytes that follow before anything trusts it.
    const QByteArray offsetBytes = source.read(12, quint64(numFonts) * 4);
    const ByteView offsets(offsetBytes.constData(), quint64(offsetBytes.size()));
    if (offsets.isNull())
        return false;
    memberOffsets->reserve(int(numFonts));
    for (quint64 i = 0; i < numFonts; ++i) {
        quint32 offset = 0;
        offsets.readU32(i * 4, &offset);
        memberOffsets->append(offset);
    }
    return true;
}
