#include "FontBuilder.h"

#include <QFile>

#include <algorithm>

namespace FontBuilder {

QByteArray u16(quint16 value)
{
    QByteArray bytes(2, '\0');
    putU16(&bytes, 0, value);
    return bytes;
}

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    putU32(&bytes, 0, value);
    return bytes;
}

void putU16(QByteArray *bytes, int at, quint16 value)
{
    (*bytes)[at] = char(value >> 8);
    (*bytes)[at + 1] = char(value);
}

void putU32(QByteArray *bytes, int at, quint32 value)
{
    putU16(bytes, at, quint16(value >> 16));
    putU16(bytes, at + 2, quint16(value));
}

static quint32 readU32(const QByteArray &bytes, int at)
{
    return quint32(uchar(bytes[at])) << 24 | quint32(uchar(bytes[at + 1])) << 16
            | quint32(uchar(bytes[at + 2])) << 8 | quint32(uchar(bytes[at + 3]));
}

QByteArray font(const QList<Table> &tables, quint32 sfntVersion)
{
    const int numTables = tables.size();
    QByteArray bytes = u32(sfntVersion) + u16(quint16(numTables)) + u16(0) + u16(0) + u16(0);
    QByteArray data;
    const int headerSize = 12 + 16 * numTables;
    for (const Table &table : tables) {
        bytes += table.tag.leftJustified(4, ' ', true) + u32(0) + u32(quint32(headerSize + data.size()))
                + u32(quint32(table.data.size()));
        data += table.data;
        while (data.size() % 4)
            data += '\0';
    }
    return bytes + data;
}

QByteArray collection(const QList<QByteArray> &members, quint32 version)
{
    QByteArray bytes = QByteArray("ttcf") + u32(version) + u32(quint32(members.size()));
    int at = 12 + 4 * members.size();
    QByteArray body;
    for (const QByteArray &member : members) {
        bytes += u32(quint32(at + body.size()));
        QByteArray moved = member;
        const int numTables = (uchar(member[4]) << 8) | uchar(member[5]);
        for (int k = 0; k < numTables; ++k) {
            const int field = 12 + 16 * k + 8;
            putU32(&moved, field, readU32(member, field) + quint32(at + body.size()));
        }
        body += moved;
    }
    return bytes + body;
}

QByteArray nameTable(const QList<NameEntry> &entries)
{
    QByteArray records, storage;
    for (const NameEntry &entry : entries) {
        QByteArray string;
        for (QChar unit : entry.text)
            string += u16(unit.unicode());
        records += u16(entry.platformID) + u16(entry.encodingID) + u16(entry.languageID) + u16(entry.nameID)
                + u16(quint16(string.size())) + u16(quint16(storage.size()));
        storage += string;
    }
    const quint16 count = quint16(entries.size());
    return u16(0) + u16(count) + u16(quint16(6 + 12 * count)) + records + storage;
}

QByteArray familyNameTable(const QString &family, quint16 nameID)
{
    return nameTable({{3, 1, 0x0409, nameID, family}});
}

QByteArray cmapFormat4(const QList<QPair<quint16, quint16>> &records, const QVector<Segment> &segments)
{
    const quint16 segCount = quint16(segments.size());
    QByteArray subtable = u16(4) + u16(0) + u16(0) + u16(quint16(segCount * 2)) + u16(0) + u16(0) + u16(0);
    for (const Segment &segment : segments)
        subtable += u16(segment.endCode);
    subtable += u16(0);
    for (const Segment &segment : segments)
        subtable += u16(segment.startCode);
    for (const Segment &segment : segments)
        subtable += u16(segment.idDelta);
    for (int i = 0; i < segCount; ++i) // idRangeOffset
        subtable += u16(0);
    putU16(&subtable, 2, quint16(subtable.size()));

    QByteArray cmap = u16(0) + u16(quint16(records.size()));
    const int firstSubtable = 4 + 8 * records.size();
    QByteArray subtables;
    for (const auto &record : records) {
        cmap += u16(record.first) + u16(record.second) + u32(quint32(firstSubtable + subtables.size()));
        subtables += subtable;
    }
    return cmap + subtables;
}

QByteArray cmapFormat12(const QList<QPair<quint16, quint16>> &records, const QVector<Group> &groups)
{
    QByteArray subtable = u16(12) + u16(0) + u32(quint32(16 + 12 * groups.size())) + u32(0) + u32(quint32(groups.size()));
    for (const Group &group : groups)
        subtable += u32(group.startCode) + u32(group.endCode) + u32(group.startGlyph);
    QByteArray cmap = u16(0) + u16(quint16(records.size()));
    for (const auto &record : records)
        cmap += u16(record.first) + u16(record.second) + u32(quint32(4 + 8 * records.size()));
    return cmap + subtable; // every record points at the one subtable
}

QByteArray headTable(quint16 macStyle)
{
    QByteArray head(54, '\0');
    putU32(&head, 0, 0x00010000);
    putU32(&head, 12, 0x5F0F3CF5);
    putU16(&head, 18, 1000);
    putU16(&head, 44, macStyle);
    return head;
}

QByteArray os2Table(quint16 usWeightClass)
{
    QByteArray os2(96, '\0');
    putU16(&os2, 0, 4);
    putU16(&os2, 4, usWeightClass);
    putU16(&os2, 6, 5);
    return os2;
}

QByteArray namedFont(const QString &family, quint16 macStyle, quint16 weight)
{
    const QByteArray names = nameTable({{3, 1, 0x0409, 1, family}, {3, 1, 0x0409, 4, family + QLatin1String(" Full")}});
    return font({{"OS/2", os2Table(weight)},
                 {"cmap", cmapFormat4({{3, 1}}, {{0x41, 0x5A}, {0xFFFF, 0xFFFF}})},
                 {"head", headTable(macStyle)},
                 {"name", names},
                 {"post", QByteArray(32, '\0')}});
}

QByteArray trueTypeFont(const QString &family, quint16 macStyle, quint16 weight, const QList<NameEntry> &names,
                        const QByteArray &cmap, const QList<Table> &moreTables)
{
    const quint16 numGlyphs = 2;
    QByteArray hhea(36, '\0');
    putU32(&hhea, 0, 0x00010000);
    putU16(&hhea, 4, 800);
    putU16(&hhea, 6, quint16(-200));
    putU16(&hhea, 10, 500);
    putU16(&hhea, 34, numGlyphs);
    QByteArray maxp(32, '\0');
    putU32(&maxp, 0, 0x00010000);
    putU16(&maxp, 4, numGlyphs);
    putU16(&maxp, 14, 1);
    QByteArray hmtx;
    for (int i = 0; i < numGlyphs; ++i)
        hmtx += u16(500) + u16(0);
    QByteArray post(32, '\0');
    putU32(&post, 0, 0x00030000);

    const QByteArray latin = cmapFormat4({{3, 1}}, {{0x41, 0x5A, quint16(1 - 0x41)}, {0xFFFF, 0xFFFF, 1}});

    const QString style = QLatin1String((macStyle & 1) ? ((macStyle & 2) ? "Bold Italic" : "Bold")
                                                       : ((macStyle & 2) ? "Italic" : "Regular"));
    const QByteArray name = nameTable(names.isEmpty() ? QList<NameEntry>{{3, 1, 0x0409, 1, family},
                                                                         {3, 1, 0x0409, 2, style},
                                                                         {3, 1, 0x0409, 4, family + ' ' + style}}
                                                      : names);
    QList<Table> tables = {{"OS/2", os2Table(weight)}, {"cmap", cmap.isEmpty() ? latin : cmap},
                           {"glyf", QByteArray(4, '\0')}, {"head", headTable(macStyle)}, {"hhea", hhea},
                           {"hmtx", hmtx}, {"loca", QByteArray(2 * (numGlyphs + 1), '\0')}, {"maxp", maxp},
                           {"name", name}, {"post", post}};
    tables += moreTables;
    std::sort(tables.begin(), tables.end(), [](const Table &a, const Table &b) { return a.tag < b.tag; });
    return font(tables);
}

QByteArray fvarTable(const QByteArray &axisTag, double minValue, double defaultValue, double maxValue)
{
    const auto fixed = [](double value) { return u32(quint32(qint32(qRound(value * 65536)))); };
    // majorVersion, minorVersion, axesArrayOffset, reserved, axisCount,
    // axisSize, instanceCount, instanceSize; then the axis record.
    return u16(1) + u16(0) + u16(16) + u16(2) + u16(1) + u16(20) + u16(0) + u16(8) + axisTag + fixed(minValue)
            + fixed(defaultValue) + fixed(maxValue) + u16(0) + u16(256);
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace FontBuilder
