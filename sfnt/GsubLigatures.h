#pragma once

#include "base/ByteView.h"

#include <QVector>

// The ligatures of a GSUB table (lookup type 4, also behind extension
// lookups, type 7): for each, the glyphs it joins, first to last. A font
// draws such a sequence as one glyph only when one font holds all of its
// glyphs, so a kit keeps each whole in some slice.
//
// Anything that runs past the end of the table is left out; no more than
// `limit` ligatures are read.
QVector<QVector<quint16>> gsubLigatures(ByteView gsub, int limit);
