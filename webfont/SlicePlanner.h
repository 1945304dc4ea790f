#pragma once

#include "engine/KeepList.h"

#include <QSet>
#include <QVector>

// What a kit's slices are planned from.
struct SlicePlanInput
{
    KeepList codePoints;                // ascending, each once: every code point the kit holds
    QSet<quint32> blank;                // those of them whose glyph draws nothing (spaces, joiners)
    QVector<KeepList> frequencySlices;  // the language's lists, most frequent first, each ascending
    // A known text, file by file (a typed text is one file), each ascending:
    // when given, the slices follow the text's own use in place of the lists.
    QVector<KeepList> texts;
    // The earlier kit of the same known text and face, slice by slice, as
    // its report gives them: kept where they still serve (kEarlierSlicesDrift).
    QVector<QVector<CodePointSpan>> earlierSlices;
    // The most code points a slice by block takes (kSliceTargetSize, or
    // fewer for a font of large glyphs: see slicesOfGlyphs).
    int targetSize = 200;
};

// Code points past the lists, grouped by Unicode block, are cut into slices
// of about this many. Measured with this program: a slice of one character
// is 0.7 KB (DroidSansFallbackFull) to 1.4 KB (Noto Sans CJK SC), the tables
// every slice repeats; a glyph costs 25 (Hangul jamo) to 120 bytes (CJK
// ideographs) more. At 200 code points the repeated part stays under an
// eighth of a slice even for the smallest glyphs, and a page that needs one
// character of a block fetches at most about 25 KB for it. The lists' own
// slices hold about 188 characters, for the same reasons; the less frequent
// of them are cut finer (below).
constexpr int kSliceTargetSize = 200;

// How many glyphs a slice can hold and stay under its byte limit, from the
// font's bytes per glyph: a colour or bitmap font (emoji) runs to a few
// kilobytes a glyph, where a CJK font's outlines take a few hundred bytes.
// Slices planned that small are made once, not cut again and again.
int slicesOfGlyphs(quint64 fontBytes, unsigned glyphCount, qsizetype sliceBytes);

// The lists' slices past the first few are cut into parts: code-point order
// inside a list says nothing of frequency, so a page that needs two rare
// characters of a list fetches the whole list's slice for them. Measured with
// this program on eight real pages (a Tang poem, ten Song ci, the Chinese
// messages of coreutils and appstream, man(1), the Debian FAQ, Code of
// Conduct and Reference in Chinese: bench/webfont_pages.py), each fetching
// for every character the last rule that holds it, the gzipped CSS counted;
// bytes against cn-font-split 5.2.2's, all eight together:
// - Lists 2 to 6 (the ~940 most frequent characters) stay whole: a long page
//   uses 55 to 97% of each, so parts would only add the repeated tables.
// - Lists 7 to 20 are used sparsely (the FAQ: 1 to 36%, the poem: 0 to 5
//   characters of each): a page fetches a part for nearly every character
//   of them it uses, so the smaller the part the less it fetches besides.
//   Parts of 26, 16, 12 and 9 code points: 0.68, 0.64, 0.61, 0.60 (Noto
//   Sans CJK SC; DroidSansFallbackFull 0.60, 0.57, 0.56, 0.55), for 485,
//   547, 601 and 673 slices. At 9 the FAQ fetches 140 slices (74 at 26), a
//   few kilobytes each; over HTTP/2 they share one connection.
// - Lists 21 to 120, in code-point order, are cut in thirds (~46): halves to
//   thirds took the eight from 0.70 to 0.68 (Noto) and 0.61 to 0.60 (Droid),
//   the Song ci most, for about 70 more slices.
// Characters a page does not use still make most of what it fetches past the
// first slice: the tables every slice repeats (0.7 to 1.9 KB) stop parts
// from getting smaller, and Brotli has less to work with.
constexpr int kWholeListSlices = 6;        // lists 1 to 6 as they are
constexpr int kFrequentListSlices = 20;    // lists 7 to 20 in parts of:
constexpr int kFrequentPartSize = 9;
constexpr int kRarePartSize = 46;          // the lists past them in parts of this

// A slice smaller than this is merged into a neighbour: its file would be
// mostly the tables every slice repeats. Below the lists' parts (above).
constexpr int kSliceMinimumSize = 6;

// Whether the code point goes into the first slice whatever the lists say:
// ASCII and the Latin letters, general punctuation, currency signs, CJK
// symbols and punctuation, kana, variation selectors, vertical and
// compatibility forms and the half- and full-width forms. Kept together,
// and never cut apart, so that kerning, ligatures and spacing features
// (halt, chws, vhal, text-spacing-trim) between them work as in the whole
// font. The first slice also holds U+0020: the browser takes the family's
// line metrics from the font whose unicode-range holds it.
bool isFirstSliceCodePoint(quint32 codePoint);

// Whether the lists place any CJK character (ideographs, kana, hangul) of the
// input that the first slice's rule does not: when none do, the lists shaped
// nothing a reader would call CJK (they also hold accented Latin and emoji),
// and the kit is told as cut by Unicode block.
bool listsPlaceCjk(const SlicePlanInput &input);

// A known text's characters are grouped by the files that use them (see
// UseGroups.h); a group is cut at this many code points (CJK: about 100 kB
// of WOFF2), and cut again when its bytes are too many.
constexpr int kTextPartSize = 1000;

// A known text's kit made again into the folder of its earlier kit keeps
// the earlier slices, less the characters the text no longer uses, and
// groups only the characters new to it into slices of their own after them:
// so a site's rebuild after an edit makes again only the slices the edit
// touched, and a visitor's browser keeps the rest. The earlier slices are
// kept while the files fetch at most this many percent more from them
// (by fetchedWeight) than from a plan made afresh; past that, the kit is
// planned afresh and the drift starts again from nothing. On the site of
// twenty pages of bench/cache.sh, a paragraph added to one page cost its
// pages 3.0% more bytes kept, for one slice made again against 27 afresh;
// a sentence 1.2%, for none against 14.
constexpr int kEarlierSlicesDrift = 5;

// Cuts the code points into slices, in the order a page is likely to need
// them. For a known text: the first slice (the rule below), then the
// characters by how many files use them, most first, grouped as costs the
// files least. Otherwise: the first slice (the rule above, and the lists' first slice), then
// the lists' other slices (cut into parts as above), then what remains by Unicode block in code-point
// order. Every code point is in exactly one slice; no slice is empty or
// smaller than the minimum (unless it is the only one, or a known text's
// past the first), and none holds only
// blank code points (its glyph table would be empty, which sanitizers
// refuse), unless every code point is blank. The same input gives the same
// slices. With earlier slices, a known text's characters past the first
// slice stay in them, and only those new to the text are grouped by use,
// after them.
QVector<KeepList> planSlices(const SlicePlanInput &input);

// A slice as it is made: the code points it is cut for, and the units it
// may be cut in two by when its bytes are too many.
struct PlannedSlice
{
    KeepList codePoints;     // ascending
    QVector<KeepList> units; // each planned code point on its own, each sequence it keeps whole
};

// What joins emoji into sequences: the zero-width joiner, the skin tone
// modifiers, the regional indicators (flags) and the tag characters.
bool isEmojiJoiner(quint32 codePoint);
// Whether a sequence joins emoji: it holds a joiner, and no character of a
// script that is shaped whole (ScriptRules.h).
bool isEmojiSequence(const KeepList &sequence);
bool isEmojiTag(quint32 codePoint);

// Makes every sequence (the code points a font draws as one glyph: a
// ligature, an emoji ZWJ, modifier, flag, keycap or tag sequence) whole in
// one slice. A browser shapes a run with one slice's font at a time, so a
// sequence split across slices falls apart into its pieces; it tries the
// slices whose unicode-range holds a character of a sequence in the reverse
// order of their rules, fetching each, until one draws it whole.
// - The characters of sequences without emoji joiners (ligatures, keycaps)
//   move together, as one unit, into the earliest slice past the first that
//   any of them was planned in (into the first slice's unit when one of them
//   is there and none is of another script than the first slice's, into the
//   first slice when all of them are), or, when they are more than a
//   quarter of `sequencesPerSlice`, into a slice of their own after that one.
// - The emoji sequences with joiners, which run to megabytes in a colour
//   font, go into slices of their own after the others, rarest first (see
//   the .cpp), each whole, their characters repeated there: the
//   unicode-ranges overlap.
// Sequences with a code point the kit does not hold are left out.
// - The characters of each of `units` (what the font's layout shapes
//   together: LayoutUnits.h) that the kit holds move together in the same
//   way, joined with the sequences and units they share a character with.
// - A slice the moves leave with fewer than kSliceMinimumSize code points
//   joins the one planned before it.
// The emoji sequences' slices take `sequencesPerSlice` sequences each.
// Characters that sequences chain together into more than `largestUnit`
// code points (outside the first slice's unit) are cut, in code-point order,
// into units of at most that many: a unit is never cut by its bytes, so one
// that large could make a slice of any size. A sequence whose characters
// fall into two of those units may then be drawn apart.
QVector<PlannedSlice> keepSequencesWhole(const QVector<KeepList> &slices, const QVector<KeepList> &sequences,
                                         const QVector<KeepList> &units, int sequencesPerSlice, int largestUnit);

// A face's slices, planned and kept whole (planSlices, keepSequencesWhole):
// in the earlier kit's slices while they serve (kEarlierSlicesDrift, the two
// plans weighed with their units moved), else planned afresh. *keptEarlier
// says which.
QVector<PlannedSlice> planFaceSlices(const SlicePlanInput &input, const QVector<KeepList> &sequences,
                                     const QVector<KeepList> &units, int sequencesPerSlice, int largestUnit,
                                     bool *keptEarlier);

// The largest unit keepSequencesWhole makes for a face that takes
// `glyphsPerSlice` code points a slice: four slices' worth, about 100 kB of
// CJK outlines, under the byte limit a slice is cut at.
constexpr int largestSequenceUnit(int glyphsPerSlice)
{
    return 4 * glyphsPerSlice;
}
