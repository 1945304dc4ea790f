#pragma once

// What the logo and the link under each page open: the program's manual,
// which the package installs (man page tessaglyph(1)), in the desktop's help
// viewer. The program has no web page of its own.
inline constexpr const char kWebAddress[] = "man:tessaglyph(1)";
