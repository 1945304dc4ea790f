#include "FileStatus.h"

#include "UserFolders.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

bool statPath(const QString &path, struct stat *status)
{
    return ::stat(QFile::encodeName(path).constData(), status) == 0;
}

bool onlyRootWrites(const struct stat &status)
{
    return status.st_uid == 0 && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

bool isSameFileOnDisk(const QString &a, const QString &b)
{
    struct stat first, second;
    return statPath(a, &first) && statPath(b, &second) && first.st_dev == second.st_dev
            && first.st_ino == second.st_ino;
}

bool isSafeToMap(const QString &path)
{
    // The real file and its real folders: a link in a system folder may lead
    // to a file anyone can write.
    const QString real = QFileInfo(path).canonicalFilePath();
    struct stat file, fontsFolder;
    if (real.isEmpty() || !statPath(real, &file) || !S_ISREG(file.st_mode) || !onlyRootWrites(file)
        || !statPath(systemFontsFolder(), &fontsFolder) || file.st_dev != fontsFolder.st_dev)
        return false;
    for (QString folder = QFileInfo(real).path();; folder = QFileInfo(folder).path()) {
        struct stat status;
        if (!statPath(folder, &status) || !onlyRootWrites(status))
            return false;
        if (folder == QLatin1String("/"))
            return true;
    }
}
