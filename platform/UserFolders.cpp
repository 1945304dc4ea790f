#include "UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

QString systemFontsFolder()
{
    return QStringLiteral("/usr/share/fonts");
}

QString perUserDataFolder()
{
    // Named here rather than taken from the application name, so that the
    // window, the command-line program and the tests share one store.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/tessaglyph");
}

QString perUserCacheFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/tessaglyph");
}

QString makeFolder(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return {};
    const QString parent = QFileInfo(absolute).path();
    if (parent != absolute) {
        const QString problem = makeFolder(parent);
        if (!problem.isEmpty())
            return problem;
    }
    if (::mkdir(QFile::encodeName(absolute).constData(), 0777) == 0)
        return {};
    // Kept before the test below, whose stat would overwrite it.
    const int mkdirError = errno;
    if (QFileInfo(absolute).isDir())
        return {};
    // A file where the folder should be is told as such, not as "File exists".
    const int error = mkdirError == EEXIST ? ENOTDIR : mkdirError;
    return QDir::toNativeSeparators(absolute) + QStringLiteral(": ") + qt_error_string(error);
}
