#pragma once

#include <QString>

// Our stand-in for the desktop's icon-title font: the family of the font that
// fontconfig picks for the default "sans-serif". Empty when fontconfig finds
// no font at all.
QString desktopDefaultFace();
