#pragma once

#include <QString>
#include <QStringList>

// A fontconfig of a test's own for as long as it lives: a configuration
// written into `folder` whose only fonts are those of `fontFolders` (and of
// the user's font folders, the test's own), with the system's rules, and
// which draws the generic family (say "sans-serif") with `family`, whatever
// fonts the machine has. The configuration in force before comes back with
// its end.
class OwnFontconfig
{
public:
    OwnFontconfig(const QString &folder, const QStringList &fontFolders, const QString &generic, const QString &family);
    ~OwnFontconfig();

    OwnFontconfig(const OwnFontconfig &) = delete;
    OwnFontconfig &operator=(const OwnFontconfig &) = delete;

    // Whether the configuration was written and fontconfig took it.
    bool isValid() const { return m_valid; }

private:
    QByteArray m_formerFile;
    bool m_hadFormerFile = false;
    bool m_valid = false;
};
