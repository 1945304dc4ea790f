#include "TextOptions.h"

#include "engine/Jobs.h"
#include "engine/TextDecoding.h"

#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace {

bool readFile(QFile &file, const QString &path, QByteArray *bytes, QTextStream &err)
{
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        err << "tessaglyph-cli: cannot read " << QDir::toNativeSeparators(path) << ": " << file.errorString() << '\n';
        return false;
    }
    return true;
}

// The text of one --text-file; false, with the reason printed, when it cannot be read.
bool readTextFile(const QString &path, QString *text, QTextStream &err)
{
    QFile file;
    if (path == QLatin1String("-")) {
        file.open(stdin, QIODevice::ReadOnly);
    } else if (!QFileInfo::exists(path)) {
        err << "tessaglyph-cli: " << missingFileText(path) << '\n';
        return false;
    } else {
        file.setFileName(path);
        file.open(QIODevice::ReadOnly);
    }
    QByteArray bytes;
    if (!readFile(file, path, &bytes, err))
        return false;
    const DecodedText decoded = decodeTextFile(bytes);
    *text += decoded.text;
    if (decoded.encoding == TextEncoding::Gb2312)
        err << (path == QLatin1String("-") ? QStringLiteral("Standard input") : QDir::toNativeSeparators(path))
            << " was read as GB2312.\n";
    return true;
}

// A file that no text encoding we read would hold: a NUL byte in a file
// without a UTF-16 byte-order mark.
bool isBinary(const QByteArray &bytes)
{
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    return !utf16 && bytes.contains('\0');
}

// How much of a file is looked at before it is read whole.
constexpr qint64 kBinaryTestBytes = 8 * 1024;

// How many of a folder's files read as GB2312 are named.
constexpr int kListedFiles = 3;

bool readTextFolder(const QString &folder, QString *text, QTextStream &err, QStringList *fileTexts,
                    QStringList *fileNames)
{
    if (!QFileInfo(folder).isDir()) {
        err << "tessaglyph-cli: the folder " << QDir::toNativeSeparators(folder) << " does not exist\n";
        return false;
    }
    int binaries = 0;
    QStringList readAsGb2312;
    // In the order of their paths, not the order the file system lists them:
    // a kit of a site's pages depends on their names and bytes alone, so its
    // slices, and their hashes, are the same on every machine.
    QStringList paths;
    QDirIterator files(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (files.hasNext())
        paths.append(files.next());
    std::sort(paths.begin(), paths.end());
    for (const QString &path : paths) {
        QFile file(path);
        QByteArray bytes;
        if (!file.open(QIODevice::ReadOnly)) {
            err << "tessaglyph-cli: cannot read " << QDir::toNativeSeparators(path) << ": " << file.errorString() << '\n';
            return false;
        }
        // A binary file shows itself in its first bytes: a large archive in
        // the folder is not read whole only to be skipped.
        if (isBinary(file.peek(kBinaryTestBytes))) {
            ++binaries;
            continue;
        }
        if (!readFile(file, path, &bytes, err))
            return false;
        if (isBinary(bytes)) {
            ++binaries;
            continue;
        }
        const DecodedText decoded = decodeTextFile(bytes);
        *text += decoded.text;
        if (fileTexts)
            fileTexts->append(decoded.text);
        if (fileNames)
            fileNames->append(QDir(folder).relativeFilePath(QFileInfo(path).absoluteFilePath()));
        if (decoded.encoding == TextEncoding::Gb2312)
            readAsGb2312.append(QDir::toNativeSeparators(QDir(folder).relativeFilePath(path)));
    }
    if (binaries > 0)
        err << binaries << " binary files under " << QDir::toNativeSeparators(folder) << " were skipped.\n";
    if (!readAsGb2312.isEmpty()) {
        readAsGb2312.sort();
        err << readAsGb2312.size() << " files under " << QDir::toNativeSeparators(folder) << " were read as GB2312: "
            << QStringList(readAsGb2312.mid(0, kListedFiles)).join(QStringLiteral(", "))
            << (readAsGb2312.size() > kListedFiles ? ", …\n" : ".\n");
    }
    return true;
}

} // namespace

bool readTextOptions(const QCommandLineParser &parser, QString *text, QTextStream &err, QStringList *files,
                     QStringList *fileNames)
{
    QString given = parser.values(QStringLiteral("text")).join(QString());
    for (const QString &path : parser.values(QStringLiteral("text-file"))) {
        if (!readTextFile(path, &given, err))
            return false;
    }
    *text += given;
    if (files && !given.isEmpty()) {
        files->append(given);
        if (fileNames)
            fileNames->append(QString());
    }
    for (const QString &folder : parser.values(QStringLiteral("text-dir"))) {
        if (!readTextFolder(folder, text, err, files, files ? fileNames : nullptr))
            return false;
    }
    return true;
}
