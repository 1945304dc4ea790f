#pragma once

#include <QString>
#include <QStringList>

// Questions about files that only the file system can answer.

// Whether two paths reach one existing file: the same device and inode, so
// that a hard link, a bind mount or another spelling on a case-insensitive
// file system counts as the same file.
bool isSameFileOnDisk(const QString &a, const QString &b);

// Whether a font file may be mapped rather than read. A mapped file that is
// cut short while mapped kills the process (SIGBUS) on the next touch of the
// lost pages, and users and their tools rewrite fonts in place (cp truncates
// first). So only a file that nobody but root can write, in folders that
// nobody but root can write, all the way up, and on the file system of the
// system's fonts (not a stick that may be pulled out), is mapped.
bool isSafeToMap(const QString &path);

// The names of the regular files in the folder (no links, no folders) that
// start with `prefix` and end with `suffix`, sorted; empty when the folder
// cannot be read. Read straight from the directory, without a stat of each
// entry: a slice cache holds tens of thousands, which QDir took half a
// second and 66 MB to list.
QStringList regularFileNames(const QString &folder, const QString &prefix, const QString &suffix);
