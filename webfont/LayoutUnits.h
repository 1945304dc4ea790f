#pragma once

#include "engine/KeepList.h"

#include <QHash>
#include <QVector>

struct hb_face_t;

// The units a face's own layout makes: characters that must be drawn from one
// font for a page to be shaped as the whole font shapes it. A browser shapes
// a run with one slice's font at a time, and re-shapes with the next only
// the clusters that one cannot draw, so kerning, contexts, attachments and
// compositions work only between characters of one slice. Each unit is
// ascending; units may overlap (the planner joins those that do).
// - The characters of a script that goes whole (ScriptRules.h), with the
//   Common and Inherited characters of its blocks; U+25CC, the base the
//   shaper gives a lone mark, with the first of them.
// (Canonical compositions need no units of their own: Latin's precomposed
// letters are all in the first slice, with their bases and the combining
// marks, and every other script's in its script's unit.)
// - The characters whose glyphs one GSUB or GPOS lookup joins (pairs,
//   contexts, attachments; HarfBuzz collects each lookup's glyphs, those it
//   makes left out; ligatures are kept whole as sequences), unless
//   they would be more than half the font's characters, or more than
//   `largestUnit` (a slice's worth: a unit is never cut by its bytes): a
//   kerning class that touches everything falls back to the scripts' own
//   units. A legacy kern table's subtable counts as such a lookup when the
//   shaper applies it (GPOS has no kerning).
// `characters` maps each glyph to the code points the cmap maps to it.
QVector<KeepList> layoutUnits(hb_face_t *face, const KeepList &codePoints, const QHash<quint32, KeepList> &characters,
                              int largestUnit);
