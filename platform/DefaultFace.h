#pragma once

#include <QString>

// Our stand-in for the desktop's icon-title font: the family of the font that
// fontconfig picks for the default "sans-serif". Empty when fontconfig finds
// no font at all.
QString desktopDefaultFace();

// The family of the font fontconfig draws a generic family with, for the
// generic names a family list shows ("Sans Serif", "Serif", "Monospace")
// and fontconfig's own ("sans-serif", "serif", "monospace"), in any case.
// Empty for any other name, and when fontconfig finds no font.
QString genericFamilyFace(const QString &family);
