#pragma once

#include <QString>

// The folder that registered font file names are relative to.
QString fontsFolder();

// The per-user folder that keeps split members of installed collections for
// later runs, whether it exists yet or not; empty when there is none. Never
// the current folder: a job writes nowhere it was not told to.
QString applicationDataFolder();

// The full path of a registered font file: an absolute path as it stands,
// anything else relative to the fonts folder.
QString registeredFontPath(const QString &registeredFile);

// Whether two paths name one existing file: through links and "..", and by
// another path to the same file (a hard link, a bind mount).
bool isSameFile(const QString &a, const QString &b);

// Whether two paths name one existing folder.
bool isSameFolder(const QString &a, const QString &b);
