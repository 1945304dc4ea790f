#pragma once

#include <QByteArray>

// What tells this build of the program from every other: the GNU build IDs
// (the linker's hash of the code it wrote) of the running program and of the
// shared libraries whose code decides a font's bytes (HarfBuzz, libwoff2,
// Brotli), each after its file name. A rebuild with changed code, or a
// library updated by the system, gives another identity; the version number
// alone would not tell a developer's builds apart. Empty parts stay out
// (an object linked without a build ID adds only its name).
QByteArray buildIdentity();
