#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// Our stand-in for the system's font registration list, built on fontconfig:
// one entry per installed font file, named after its faces ("DejaVu Sans
// Bold") with the file's path as its data. Follows FONTCONFIG_FILE.
class FontRegistry
{
public:
    FontRegistry();

    // Every entry name, in a stable sorted order.
    QStringList allKeys() const { return m_names; }

    // The file of the entry with this name in lower case; invalid when none.
    QVariant value(const QString &lowerCaseName) const;

private:
    QStringList m_names;
    QMap<QString, QString> m_fileByLowerName;
};
