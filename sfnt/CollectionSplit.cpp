#include "CollectionSplit.h"

#include "Checksum.h"
#include "FileSuffix.h"
#include "FontSource.h"
#include "NameReader.h"
#include "TableTags.h"
#include "platform/FileWrites.h"
#include "platform/Rename.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>

namespace {

constexpr int kTemporaryNameAttempts = 100;
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
int writeMember(FontSource &collection, const MemberFont &member, quint32 checksum, QFile &output)
{
    if (int error = appendBytes(output, member.header.constData(), quint64(member.header.size())))
        return error;
    for (const TableRecord &table : member.tables) {
        if (table.length == 0)
            continue;
        if (int error = appendFileRange(*collection.file(), table.offset, table.length, output))
            return error;
        if (int error = appendBytes(output, kZeros, paddedLength(table.length) - table.length))
            return error;
    }
    if (member.checkSumAdjustmentAt >= 0) {
        char adjustment[4];
        writeU32(adjustment, checkSumAdjustment(checksum));
        if (int error = writeBytesAt(output, quint64(member.checkSumAdjustmentAt), adjustment, 4))
            return error;
    }
    return output.size() == qint64(member.size) ? 0 : EIO;
}

// The name of each member's file, without its suffix; empty when its family
// name cannot be a file name.
QString memberFileBaseName(const MemberFont &member, int index, const QStringList &earlierFamilies,
                           const QStringList &takenNames)
{
    if (!isUsableFileName(member.familyName))
        return {};
    if (!earlierFamilies.contains(member.familyName))
        return member.familyName;
    if (isUsableFileName(member.fullName) && !takenNames.contains(member.fullName))
        return member.fullName;
    return member.familyName + QLatin1Char(' ') + QString::number(index);
}

// Puts the member at outcome->path, unless a file is there already.
void placeMember(FontSource &collection, const MemberFont &member, const QString &outDir,
                 TableChecksums *checksums, SplitMember *outcome)
{
    if (QFileInfo::exists(outcome->path)) {
        outcome->status = SplitMember::Kept;
        return;
    }
    if (QFile::encodeName(outcome->name).size() > NAME_MAX) {
        outcome->error = qt_error_string(ENAMETOOLONG);
        return;
    }
    const QString temporaryPath = writeMemberToTemporaryFile(collection, member, outDir, checksums, &outcome->error);
    if (temporaryPath.isEmpty())
        return;
    // Never over a file that appeared meanwhile (another process splitting
    // the same collection, say).
    const int error = renameWithoutReplacing(temporaryPath, outcome->path);
    if (error == 0) {
        outcome->status = SplitMember::Written;
        outcome->size = member.size;
        return;
    }
    QFile::remove(temporaryPath);
    if (error == EEXIST)
        outcome->status = SplitMember::Kept;
    else
        outcome->error = qt_error_string(error);
}

} // namespace

bool isUsableFileName(const QString &name)
{
    // A leading dot would hide the file (and "." and ".." are folders); a
    // name that the file system encoding cannot carry (a lone surrogate, say)
    // would land on disk under another name.
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('/'))
            && !name.contains(QLatin1Char('\\')) && QFile::decodeName(QFile::encodeName(name)) == name;
}

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
    return true;
}

QString writeMemberToTemporaryFile(FontSource &collection, const MemberFont &member, const QString &folder,
                                   TableChecksums *checksums, QString *error, const QDateTime &modified)
{
    quint32 checksum = 0;
    if (!collection.file() || !memberChecksum(collection, member, checksums, &checksum)) {
        *error = qt_error_string(EIO);
        return {};
    }
    // A random hidden name: a file left by a crash stays out of sight, and an
    // existing file is never opened or removed.
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const quint32 number = QRandomGenerator::global()->bounded(quint32(1) << 31);
        const QString path = folder + QLatin1String("/.") + QString::number(number) + QLatin1String(".part");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            if (file.error() == QFileDevice::OpenError && QFileInfo::exists(path))
                continue;
            *error = file.errorString();
            return {};
        }
        int failure = writeMember(collection, member, checksum, file);
        if (failure == 0 && modified.isValid() && !file.setFileTime(modified, QFileDevice::FileModificationTime))
            failure = EIO;
        file.close();
        if (failure == 0 && file.error() == QFileDevice::NoError)
            return path;
        *error = qt_error_string(failure ? failure : EIO);
        file.remove();
        return {};
    }
    *error = qt_error_string(EEXIST);
    return {};
}

bool splitCollection(const QString &collectionPath, const QString &outDir, SplitReport *report)
{
    SplitReport ownReport;
    SplitReport &result = report ? *report : ownReport;
    result = SplitReport();
    if (!QFileInfo::exists(collectionPath)) {
        result.refusal = SplitReport::Missing;
        return false;
    }
    // The directories and `name` tables are read here, and each table once,
    // for the members' checksums; the tables themselves go from file to file.
    FontSource collection(collectionPath);
    QVector<quint32> memberOffsets;
    if (!hasCollectionSuffix(collectionPath) || !collection.isOpen()
        || !readCollectionOffsets(collection, &memberOffsets)) {
        result.refusal = SplitReport::NotACollection;
        return false;
    }

    TableChecksums checksums;
    QStringList families, takenNames;
    bool allPlaced = true;
    for (int index = 0; index < memberOffsets.size(); ++index) {
        MemberFont member;
        if (!planMemberFont(collection, memberOffsets.at(index), &member)) {
            result.refusal = SplitReport::DamagedMember;
            return false;
        }

        SplitMember outcome;
        outcome.index = index;
        const QString baseName = memberFileBaseName(member, index, families, takenNames);
        families.append(member.familyName);
        if (baseName.isEmpty()) {
            outcome.status = SplitMember::Skipped;
            outcome.name = member.familyName;
        } else {
            takenNames.append(baseName);
            outcome.name = baseName + fontSuffixFor(member.cff);
            outcome.path = outDir + QLatin1Char('/') + outcome.name;
            placeMember(collection, member, outDir, &checksums, &outcome);
        }
        allPlaced = allPlaced && outcome.status != SplitMember::Failed;
        result.members.append(outcome);
    }
    return allPlaced;
}
