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

    // The file of the entry with this name, in any case; invalid when none.
    QVariant value(const QString &name) const;

    // The foundry fontconfig gives the entry's file (from its OS/2 vendor
    // or its Type 1 notice, say "UKWN" or "urw"); the family list shows it
    // as "C059 [UKWN]" when two foundries make one family.
    QString foundry(const QString &name) const;

private:
    struct Entry
    {
        QString file;
        QString foundry;
    };
    QStringList m_names;
    QMap<QString, Entry> m_entryByFoldedName;
};
