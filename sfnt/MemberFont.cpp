#include "MemberFont.h"

#include "Checksum.h"
#include "FontSource.h"
#include "NameReader.h"
#include "base/SfntSink.h"
#include "TableTags.h"

#include <cerrno>

namespace {

constexpr quint64 kCheckSumAdjustmentOffset = 8; // in the head table
const char kZeros[4] = {0, 0, 0, 0};

quint64 paddedLength(quint64 length)
{
    return (length + 3) & ~quint64(3);
}

void writeU32(char *bytes, quint32 value)
{
    bytes[0] = char(value >> 24);
    bytes[1] = char(value >> 16);
    bytes[2] = char(value >> 8);
    bytes[3] = char(value);
}

// The checksum of the whole standalone font with checkSumAdjustment taken
// as zero: its header's words and each table's, padded.
bool memberChecksum(FontSource &collection, const MemberFont &member, TableChecksums *checksums, quint32 *sum)
{
    *sum = sfntChecksum(ByteView(member.header.constData(), quint64(member.header.size())))
            - member.storedCheckSumAdjustment;
    for (const TableRecord &table : member.tables) {
        const auto key = qMakePair(table.offset, table.length);
        auto known = checksums->constFind(key);
        if (known == checksums->cend()) {
            quint32 tableSum = 0;
            if (!sfntChecksum(collection, table.offset, table.length, &tableSum))
                return false;
            known = checksums->insert(key, tableSum);
        }
        *sum += known.value();
    }
    return true;
}

// 0, or the errno of the first write that failed.
int writeMember(FontSource &collection, const MemberFont &member, quint32 checksum, SfntSink &sink)
{
    if (int error = sink.append(member.header.constData(), quint64(member.header.size())))
        return error;
    for (const TableRecord &table : member.tables) {
        if (table.length == 0)
            continue;
        int error = 0;
        if (QFile *file = collection.file()) {
            error = sink.appendCopy(*file, table.offset, table.length);
        } else {
            const QByteArray bytes = collection.read(table.offset, table.length);
            error = bytes.size() == qsizetype(table.length) ? sink.append(bytes.constData(), table.length) : EIO;
        }
        if (error == 0)
            error = sink.append(kZeros, paddedLength(table.length) - table.length);
        if (error) // ENODATA: the collection was cut short since it was planned
            return error == ENODATA ? EIO : error;
    }
    if (member.checkSumAdjustmentAt >= 0) {
        char adjustment[4];
        writeU32(adjustment, checkSumAdjustment(checksum));
        if (int error = sink.writeAt(quint64(member.checkSumAdjustmentAt), adjustment, 4))
            return error;
    }
    return 0;
}

} // namespace

bool planMemberFont(FontSource &collection, quint32 memberOffset, MemberFont *member)
{
    TableDirectory directory;
    if (!readTableDirectory(collection, memberOffset, &directory) || !isFontVersion(directory.sfntVersion))
        return false;

    const quint64 headerSize = kOffsetTableSize + quint64(directory.records.size()) * kTableRecordSize;
    member->header = directory.offsetTable;
    member->header.resize(qsizetype(headerSize));
    member->tables = directory.records;
    member->cff = directory.sfntVersion == kCffVersion;
    const TableRecord *head = findTableRecord(directory, tableTags.at(TagHead));

    // A member's own tables do not overlap, so together they fit in the
    // collection; a directory that claims more is damaged.
    quint64 tableBytes = 0, running = headerSize;
    for (int k = 0; k < directory.records.size(); ++k) {
        const TableRecord &record = directory.records.at(k);
        if (record.length > collection.size() || record.offset > collection.size() - record.length)
            return false;
        tableBytes += record.length;
        char *at = member->header.data() + kOffsetTableSize + quint64(k) * kTableRecordSize;
        writeU32(at, record.tag);
        writeU32(at + 4, record.checkSum);
        writeU32(at + 8, quint32(running));
        writeU32(at + 12, record.length);
        if (&record == head && record.length >= kCheckSumAdjustmentOffset + 4) {
            const QByteArray stored = collection.read(quint64(record.offset) + kCheckSumAdjustmentOffset, 4);
            if (ByteView(stored.constData(), quint64(stored.size())).readU32(0, &member->storedCheckSumAdjustment))
                member->checkSumAdjustmentAt = qint64(running + kCheckSumAdjustmentOffset);
        }
        running += paddedLength(record.length);
    }
    if (tableBytes > collection.size() || running > 0xFFFFFFFFu)
        return false;
    member->size = running;

    // The standalone font's `name` table is these very bytes.
    const QByteArray nameTable = readNameTable(collection, directory);
    const ByteView names(nameTable.constData(), quint64(nameTable.size()));
    member->familyName = selectName(names, kFamilyNameId);
    member->fullName = selectName(names, kFullNameId);
    member->subfamilyName = selectName(names, kSubfamilyNameId);
    return true;
}

int writeMemberFont(FontSource &collection, const MemberFont &member, TableChecksums *checksums, SfntSink &sink)
{
    quint32 checksum = 0;
    if (!memberChecksum(collection, member, checksums, &checksum))
        return EIO;
    return writeMember(collection, member, checksum, sink);
}
