#pragma once

#include <QString>

// Our stand-ins for the desktop's special folders.

// Where the system keeps its fonts.
QString systemFontsFolder();

// This program's per-user data folder (~/.local/share/tessaglyph, following
// XDG_DATA_HOME), whether it exists or not. Empty when the desktop names no
// data folder at all.
QString perUserDataFolder();

// This program's per-user cache folder (~/.cache/tessaglyph, following
// XDG_CACHE_HOME), whether it exists or not. Empty when the desktop names no
// cache folder at all.
QString perUserCacheFolder();

// Makes the folder and the parents it lacks. Empty when the folder is there;
// otherwise the system's reason, after the folder that could not be made
// ("/home/me/.local: Permission denied").
QString makeFolder(const QString &path);
