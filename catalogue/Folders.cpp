#include "Folders.h"

#include "platform/UserFolders.h"

#include <QDir>
#include <QFileInfo>

QString fontsFolder()
{
    return systemFontsFolder();
}

QString applicationDataFolder()
{
    const QString folder = perUserDataFolder();
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

QString registeredFontPath(const QString &registeredFile)
{
    if (QDir::isAbsolutePath(registeredFile))
        return registeredFile;
    return fontsFolder() + QLatin1Char('/') + registeredFile;
}

bool isSameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a), second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

bool isSameFolder(const QString &a, const QString &b)
{
    return QFileInfo(a).isDir() && isSameFile(a, b);
}
