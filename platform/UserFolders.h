#pragma once

#include <QString>

// Our stand-ins for the desktop's special folders.

// Where the system keeps its fonts.
QString systemFontsFolder();

// This program's per-user data folder (~/.local/share/tessaglyph, following
// XDG_DATA_HOME), created when missing. Empty when it cannot be had.
QString perUserDataFolder();
