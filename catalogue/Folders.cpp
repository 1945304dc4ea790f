#include "Folders.h"

#include "platform/FileStatus.h"
#include "platform/UserFolders.h"

#include <QDir>
#include <QFileInfo>

QString fontsFolder()
{
    return systemFontsFolder();
}

QString applicationDataFolder()
{
    return perUserDataFolder();
}

QString registeredFontPath(const QString &registeredFile)
{
    if (QDir::isAbsolutePath(registeredFile))
        return registeredFile;
    return fontsFolder() + QLatin1Char('/') + registeredFile;
}

bool isSameFile(const QString &a, const QString &b)
{
    return isSameFileOnDisk(a, b);
}

bool isSameFolder(const QString &a, const QString &b)
{
    return QFileInfo(a).isDir() && isSameFile(a, b);
}
