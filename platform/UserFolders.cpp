#include "UserFolders.h"

#include <QDir>
#include <QStandardPaths>

QString systemFontsFolder()
{
    return QStringLiteral("/usr/share/fonts");
}

QString perUserDataFolder()
{
    // Named here rather than taken from the application name, so that the
    // window, the command-line program and the tests share one store.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    const QString folder = base + QStringLiteral("/tessaglyph");
    return QDir().mkpath(folder) ? folder : QString();
}
