#include "CollectionSplit.h"

#include "FileSuffix.h"
#include "TableDirectory.h"
#include "engine/FontSubsetter.h"
#include "platform/NoReplaceRename.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace {

constexpr int kTemporaryNameAttempts = 100;

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

// A new file in outDir under a random hidden name, written whole. The leading
// dot keeps a file left by a crash out of the folder searches that look for
// extracted members. Empty when no file could be created.
QString createTemporaryFile(const QString &outDir, const QByteArray &contents, bool *writeFailed)
{
    *writeFailed = false;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const quint32 number = QRandomGenerator::global()->bounded(quint32(1) << 31);
        const QString path = outDir + QLatin1String("/.") + QString::number(number) + QLatin1String(".ttf");
        QFile file(path);
        // NewOnly: an existing file of that name is never opened or removed.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                continue;
            return {};
        }
        const bool complete = file.write(contents) == contents.size() && file.flush();
        file.close();
        if (complete && file.error() == QFileDevice::NoError)
            return path;
        file.remove();
        *writeFailed = true;
        return {};
    }
    return {};
}

} // namespace

bool isUsableFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
            && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool buildMemberFont(FontSource &collection, quint32 memberOffset, QByteArray *font)
{
    TableDirectory directory;
    if (!readTableDirectory(collection, memberOffset, &directory) || directory.sfntVersion != kTrueTypeVersion)
        return false;

    const quint64 headerSize = kOffsetTableSize + quint64(directory.records.size()) * kTableRecordSize;
    // A member's own tables do not overlap, so together they fit in the
    // collection; a directory that claims more is damaged, and is refused
    // before any memory is spent on it.
    quint64 tableBytes = 0, total = headerSize;
    for (const TableRecord &record : directory.records) {
        if (record.length > collection.size() || record.offset > collection.size() - record.length)
            return false;
        tableBytes += record.length;
        total += paddedLength(record.length);
    }
    if (tableBytes > collection.size() || total > 0xFFFFFFFFu)
        return false;

    font->clear();
    font->reserve(qsizetype(total));
    font->append(directory.offsetTable);
    font->append(QByteArray(qsizetype(headerSize - kOffsetTableSize), '\0'));
    quint32 running = quint32(headerSize);
    for (int k = 0; k < directory.records.size(); ++k) {
        const TableRecord &record = directory.records.at(k);
        const qsizetype at = qsizetype(kOffsetTableSize + quint64(k) * kTableRecordSize);
        writeU32(font, at, record.tag);
        writeU32(font, at + 4, record.checkSum);
        writeU32(font, at + 8, running);
        writeU32(font, at + 12, record.length);
        if (record.length == 0)
            continue;
        font->append(collection.read(record.offset, record.length));
        const quint64 padded = paddedLength(record.length);
        font->append(QByteArray(qsizetype(padded - record.length), '\0'));
        running += quint32(padded);
    }
    return true;
}

bool splitCollection(const QString &ttcPath, const QString &outDir, QStringList *writtenFiles)
{
    if (!hasSuffix(ttcPath, QLatin1String("ttc")) || !QFileInfo::exists(ttcPath))
        return false;
    QFile file(ttcPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    file.close();

    FontSource collection(bytes);
    QVector<quint32> memberOffsets;
    if (!readCollectionOffsets(collection, &memberOffsets))
        return false;

    for (quint32 memberOffset : memberOffsets) {
        QByteArray member;
        if (!buildMemberFont(collection, memberOffset, &member))
            return false;

        bool writeFailed = false;
        const QString temporaryPath = createTemporaryFile(outDir, member, &writeFailed);
        if (writeFailed)
            return false; // e.g. the disk filled up: stop rather than go on half-done
        if (temporaryPath.isEmpty())
            continue;

        FontSubsetter reader(FontSubsetter::Setup::FontOnly);
        const QString family = reader.loadTrueTypeFile(temporaryPath) ? reader.readFamilyName() : QString();
        const QString outputPath = outDir + QLatin1Char('/') + family + QLatin1String(".ttf");
        // A member whose name cannot be a file name here, or whose file
        // already exists, yields no file.
        if (isUsableFileName(family) && renameWithoutReplacing(temporaryPath, outputPath)) {
            if (writtenFiles)
                writtenFiles->append(outputPath);
        } else {
            QFile::remove(temporaryPath);
        }
    }
    return true;
}
