#pragma once

#include "engine/KeepList.h"

#include <QSet>
#include <QVector>

// What a kit's slices are planned from.
struct SlicePlanInput
{
    KeepList codePoints;                // ascending, each once: every code point the kit holds
    QSet<quint32> blank;                // those of them whose glyph draws nothing (spaces, joiners)
    QVector<KeepList> frequencySlices;  // the language's lists, most frequent first
};

// Code points past the lists, grouped by Unicode block, are cut into slices
// of about this many. Measured with this program: a slice of one character
// is 0.7 KB (DroidSansFallbackFull) to 1.4 KB (Noto Sans CJK SC), the tables
// every slice repeats; a glyph costs 25 (Hangul jamo) to 120 bytes (CJK
// ideographs) more. At 200 code points the repeated part stays under an
// eighth of a slice even for the smallest glyphs, and a page that needs one
// character of a block fetches at most about 25 KB for it. The lists' own
// slices hold about 188 characters, for the same reasons.
constexpr int kSliceTargetSize = 200;

// A slice smaller than this is merged into a neighbour: its file would be
// mostly the tables every slice repeats.
constexpr int kSliceMinimumSize = 24;

// Whether the code point goes into the first slice whatever the lists say:
// ASCII, Latin-1 punctuation, general punctuation, CJK symbols and
// punctuation (U+3000–303F), vertical and compatibility forms and the
// half- and full-width forms (U+FF00–FFEF). Kept together so that spacing
// features (halt, chws, vhal) and text-spacing-trim see them in one font.
bool isFirstSliceCodePoint(quint32 codePoint);

// Cuts the code points into slices, in the order a page is likely to need
// them: the first slice (the rule above, and the lists' first slice), then
// the lists' other slices, then what remains by Unicode block in code-point
// order. Every code point is in exactly one slice; no slice is empty or
// smaller than the minimum (unless it is the only one), and none holds only
// blank code points (its glyph table would be empty, which sanitizers
// refuse), unless every code point is blank. The same input gives the same
// slices.
QVector<KeepList> planSlices(const SlicePlanInput &input);
