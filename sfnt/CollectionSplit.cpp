#include "CollectionSplit.h"

#include "FileSuffix.h"
#include "FontSource.h"
#include "NameReader.h"
#include "platform/FileRangeCopy.h"
#include "platform/NoReplaceRename.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

constexpr int kTemporaryNameAttempts = 100;
const char kZeros[4] = {0, 0, 0, 0};

quint64 paddedLength(quint64 length)
{
    return (length + 3) & ~quint64(3);
}

void writeU32(QByteArray *bytes, qsizetype at, quint32 value)
{
    (*bytes)[at] = char(value >> 24);
    (*bytes)[at + 1] = char(value >> 16);
    (*bytes)[at + 2] = char(value >> 8);
    (*bytes)[at + 3] = char(value);
}

bool writeWhole(QFile &file, const char *data, qint64 size)
{
    return file.write(data, size) == size;
}

bool writeMember(QFile &collection, const MemberFont &member, QFile &output)
{
    if (!writeWhole(output, member.header.constData(), member.header.size()))
        return false;
    for (const TableRecord &table : member.tables) {
        if (table.length == 0)
            continue;
        if (!appendFileRange(collection, table.offset, table.length, output)
            || !writeWhole(output, kZeros, qint64(paddedLength(table.length) - table.length)))
            return false;
    }
    return output.size() == qint64(member.size);
}

enum class TemporaryFile { Written, NotCreated, WriteFailed };

// Writes the member to a new file in outDir under a random hidden name. The
// leading dot keeps a file left by a crash out of the folder searches that
// look for extracted members; an existing file is never opened or removed.
TemporaryFile writeTemporaryFile(QFile &collection, const MemberFont &member, const QString &outDir, QString *path)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const quint32 number = QRandomGenerator::global()->bounded(quint32(1) << 31);
        *path = outDir + QLatin1String("/.") + QString::number(number) + QLatin1String(".ttf");
        QFile file(*path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            if (QFileInfo::exists(*path))
                continue;
            return TemporaryFile::NotCreated;
        }
        const bool complete = writeMember(collection, member, file);
        file.close();
        if (complete && file.error() == QFileDevice::NoError)
            return TemporaryFile::Written;
        file.remove();
        return TemporaryFile::WriteFailed;
    }
    return TemporaryFile::NotCreated;
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
    if (!readTableDirectory(collection, memberOffset, &directory) || directory.sfntVersion != kTrueTypeVersion)
        return false;

    const quint64 headerSize = kOffsetTableSize + quint64(directory.records.size()) * kTableRecordSize;
    member->header = directory.offsetTable;
    member->header.resize(qsizetype(headerSize));
    member->tables = directory.records;

    // A member's own tables do not overlap, so together they fit in the
    // collection; a directory that claims more is damaged.
    quint64 tableBytes = 0, running = headerSize;
    for (int k = 0; k < directory.records.size(); ++k) {
        const TableRecord &record = directory.records.at(k);
        if (record.length > collection.size() || record.offset > collection.size() - record.length)
            return false;
        tableBytes += record.length;
        const qsizetype at = qsizetype(kOffsetTableSize + quint64(k) * kTableRecordSize);
        writeU32(&member->header, at, record.tag);
        writeU32(&member->header, at + 4, record.checkSum);
        writeU32(&member->header, at + 8, quint32(running));
        writeU32(&member->header, at + 12, record.length);
        running += paddedLength(record.length);
    }
    if (tableBytes > collection.size() || running > 0xFFFFFFFFu)
        return false;
    member->size = running;

    // The standalone font's `name` table is these very bytes.
    const QByteArray nameTable = readNameTable(collection, directory);
    member->familyName = selectName(ByteView(nameTable.constData(), quint64(nameTable.size())), kFamilyNameId);
    return true;
}

bool splitCollection(const QString &ttcPath, const QString &outDir, QStringList *writtenFiles)
{
    if (!hasSuffix(ttcPath, QLatin1String("ttc")) || !QFileInfo::exists(ttcPath))
        return false;
    // Only the directories and `name` tables are read here; the tables
    // themselves go from file to file.
    FontSource collection(ttcPath);
    QVector<quint32> memberOffsets;
    if (!collection.isOpen() || !readCollectionOffsets(collection, &memberOffsets))
        return false;

    for (quint32 memberOffset : memberOffsets) {
        MemberFont member;
        if (!planMemberFont(collection, memberOffset, &member))
            return false;

        // A member whose name cannot be a file name here, or whose file
        // already exists, yields no file.
        if (!isUsableFileName(member.familyName))
            continue;
        const QString outputPath = outDir + QLatin1Char('/') + member.familyName + QLatin1String(".ttf");
        if (QFileInfo::exists(outputPath))
            continue;

        QString temporaryPath;
        switch (writeTemporaryFile(*collection.file(), member, outDir, &temporaryPath)) {
        case TemporaryFile::NotCreated:
            continue; // e.g. the folder does not exist or is read-only
        case TemporaryFile::WriteFailed:
            return false; // e.g. the disk filled up: stop rather than go on half-done
        case TemporaryFile::Written:
            break;
        }
        // Without replacing a file that appeared meanwhile (another process
        // splitting the same collection, say).
        if (renameWithoutReplacing(temporaryPath, outputPath)) {
            if (writtenFiles)
                writtenFiles->append(outputPath);
        } else {
            QFile::remove(temporaryPath);
        }
    }
    return true;
}
