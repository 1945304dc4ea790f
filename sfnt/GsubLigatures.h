#pragma once

#include "base/ByteView.h"

#include <QVector>

// The ligatures of a GSUB table (lookup type 4, also behind extension
// lookups, type 7): for each, the glyphs it joins, first to last. A font
// draws such a sequence as one glyph only when one font holds all of its
// glyphs, so a kit keeps each whole in some slice.
struct GsubLigatures
{
    QVector<QVector<quint16>> ligatures;
    // False when the reading stopped early: the table asked for more work
    // than its size pays for (see ReadingBudget), or held more ligatures
    // than the limit. What was read is kept.
    bool complete = true;
};

// A ligature of more components than this is never formed: the shaper
// matches at most 64 glyphs of context (HarfBuzz's HB_MAX_CONTEXT_LENGTH).
constexpr quint16 kMostLigatureComponents = 64;

// Anything that runs past the end of the table is left out; each lookup and
// subtable is read once however many times it is reached, and no more than
// `limit` ligatures are read.
GsubLigatures gsubLigatures(ByteView gsub, int limit);
