#pragma once

#include <QtGlobal>

// The first code point of the Unicode block that holds the code point: two
// code points are in one block when they give the same start.
quint32 unicodeBlockStart(quint32 codePoint);
