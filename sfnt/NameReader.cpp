#include "NameReader.h"

#include "FileSuffix.h"
#include "FontSource.h"
#include "TableDirectory.h"
#include "TableTags.h"

#include <QFileInfo>

namespace {

constexpr quint16 kWindowsPlatform = 3;
constexpr quint16 kSymbolEncoding = 0;
constexpr quint16 kChinesePrc = 0x0804;
constexpr quint64 kNameHeaderSize = 6;
constexpr quint64 kNameRecordSize = 12;

bool isAcceptedLanguage(quint16 languageID)
{
    switch (languageID) {
    case 0x0409: // English, United States
    case 0x0809: // English, United Kingdom
    case 0x0C09: // English, Australia
    case 0x1009: // English, Canada
    case 0x1409: // English, New Zealand
    case 0x1809: // English, Ireland
    case kChinesePrc:
        return true;
    default:
        return false;
    }
}

// Big-endian UTF-16 up to the first U+0000, at most kMaxNameUnits units; an
// odd last byte is dropped.
QString decodeNameString(ByteView string)
{
    const quint64 units = qMin<quint64>(string.size() / 2, kMaxNameUnits);
    QString name;
    name.reserve(int(units));
    for (quint64 i = 0; i < units; ++i) {
        quint16 unit = 0;
        string.readU16(i * 2, &unit);
        if (unit == 0)
            break;
        name.append(QChar(unit));
    }
    return name;
}

struct NameRecord
{
    quint16 platformID = 0;
    quint16 encodingID = 0;
    quint16 languageID = 0;
    quint16 nameID = 0;
    ByteView string; // null when it lies outside the table
};

// Calls visit for each record in stored order until it returns false.
template <typename Visit>
void forEachNameRecord(ByteView nameTable, Visit visit)
{
    quint16 count = 0, stringOffset = 0;
    if (!readNameCount(nameTable, &count) || !nameTable.readU16(4, &stringOffset))
        return;
    for (quint64 i = 0; i < count; ++i) {
        const ByteView fields = nameTable.slice(kNameHeaderSize + i * kNameRecordSize, kNameRecordSize);
        NameRecord record;
        quint16 length = 0, offset = 0;
        fields.readU16(0, &record.platformID);
        fields.readU16(2, &record.encodingID);
        fields.readU16(4, &record.languageID);
        fields.readU16(6, &record.nameID);
        fields.readU16(8, &length);
        fields.readU16(10, &offset);
        record.string = nameTable.slice(quint64(stringOffset) + offset, length);
        // A string outside the table is a missing string: the record is passed over.
        if (record.string.isNull() && length > 0)
            continue;
        if (!visit(record))
            return;
    }
}

} // namespace

bool readNameCount(ByteView nameTable, quint16 *count)
{
    if (!nameTable.readU16(2, count))
        return false;
    return nameTable.contains(kNameHeaderSize, *count * kNameRecordSize);
}

QString selectName(ByteView nameTable, quint16 wantedNameId)
{
    QString candidate;
    forEachNameRecord(nameTable, [&](const NameRecord &record) {
        if (record.platformID != kWindowsPlatform || record.nameID != wantedNameId
            || !isAcceptedLanguage(record.languageID))
            return true;
        candidate = decodeNameString(record.string);
        return record.languageID != kChinesePrc && record.encodingID != kSymbolEncoding;
    });
    return candidate;
}

QStringList windowsNames(ByteView nameTable, quint16 nameId)
{
    QStringList names;
    forEachNameRecord(nameTable, [&](const NameRecord &record) {
        if (record.platformID == kWindowsPlatform && record.nameID == nameId)
            names.append(decodeNameString(record.string));
        return true;
    });
    return names;
}

QByteArray readNameTable(FontSource &source, const TableDirectory &directory)
{
    const TableRecord *record = findTableRecord(directory, tableTags.at(TagName));
    return record ? readTable(source, *record) : QByteArray();
}

bool walkCollectionNameTables(FontSource &source, const NameTableVisitor &visit)
{
    QVector<quint32> memberOffsets;
    if (!readCollectionOffsets(source, &memberOffsets))
        return false;

    const quint32 nameTag = tagValue(tableTags.at(TagName));
    for (int index = 0; index < memberOffsets.size(); ++index) {
        TableDirectory directory;
        // A member whose directory lies outside the file is refused like a
        // member with another sfntVersion.
        if (!readTableDirectory(source, memberOffsets.at(index), &directory) || !isFontVersion(directory.sfntVersion))
            return false;
        for (const TableRecord &record : directory.records) {
            if (record.tag != nameTag)
                continue;
            const QByteArray table = readTable(source, record);
            const ByteView view(table.constData(), quint64(table.size()));
            quint16 count = 0;
            if (!readNameCount(view, &count))
                continue; // runs past the end: like a member without a name table
            if (count == 0)
                return false;
            visit(index, directory, view);
        }
    }
    return true;
}

QStringList readCollectionFullNames(const QString &path)
{
    if (!hasCollectionSuffix(path) || !QFileInfo::exists(path))
        return {};
    FontSource source(path);
    QStringList names;
    const bool readable = walkCollectionNameTables(source, [&](int, const TableDirectory &, ByteView nameTable) {
        names.append(selectName(nameTable, kFullNameId));
    });
    return readable ? names : QStringList();
}
