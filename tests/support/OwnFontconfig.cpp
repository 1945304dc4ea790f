#include "OwnFontconfig.h"

#include <QDir>
#include <QFile>

#include <fontconfig/fontconfig.h>

OwnFontconfig::OwnFontconfig(const QString &folder, const QStringList &fontFolders, const QString &generic,
                             const QString &family)
    : m_formerFile(qgetenv("FONTCONFIG_FILE")), m_hadFormerFile(qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
{
    QString dirs;
    for (const QString &fonts : fontFolders)
        dirs += QStringLiteral("  <dir>%1</dir>\n").arg(fonts.toHtmlEscaped());
    const QString config = QStringLiteral(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
%1  <cachedir>%2</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
  <alias binding="strong"><family>%3</family><prefer><family>%4</family></prefer></alias>
</fontconfig>
)").arg(dirs, QDir(folder).filePath(QStringLiteral("cache")).toHtmlEscaped(), generic.toHtmlEscaped(), family.toHtmlEscaped());
    const QString path = QDir(folder).filePath(QStringLiteral("fonts.conf"));
    QFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(config.toUtf8()) != config.toUtf8().size() || !file.flush())
        return;
    file.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(path));
    m_valid = FcInitReinitialize();
}

OwnFontconfig::~OwnFontconfig()
{
    if (m_hadFormerFile)
        qputenv("FONTCONFIG_FILE", m_formerFile);
    else
        qunsetenv("FONTCONFIG_FILE");
    FcInitReinitialize();
}
