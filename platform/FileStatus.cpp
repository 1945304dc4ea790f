#include "FileStatus.h"

#include "UserFolders.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
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

QStringList regularFileNames(const QString &folder, const QString &prefix, const QString &suffix)
{
    QStringList names;
    DIR *directory = ::opendir(QFile::encodeName(folder).constData());
    if (!directory)
        return names;
    const QByteArray start = QFile::encodeName(prefix), end = QFile::encodeName(suffix);
    while (const struct dirent *entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(start) || !name.endsWith(end) || name.size() < start.size() + end.size())
            continue;
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN) { // file systems that do not say
            struct stat status;
            regular = ::fstatat(::dirfd(directory), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0
                    && S_ISREG(status.st_mode);
        }
        if (regular)
            names.append(QFile::decodeName(name));
    }
    ::closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}
