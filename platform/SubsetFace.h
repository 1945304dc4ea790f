#pragma once

#include "HarfBuzzHandles.h"
#include "sfnt/LegacyKern.h"

struct hb_subset_input_t;

// The face's legacy kern subtables that a shaper applies: those of a font
// whose GPOS has no kerning of its own; empty otherwise. (HarfBuzz applies
// them to a script that GPOS has no kern feature for; a font with both is
// taken to kern by GPOS.)
QVector<KernSubtable> shapedLegacyKern(hb_face_t *face);

enum class LegacyKern {
    Kept,         // for a font file: every program that reads the table reads it in the subset
    KeptIfShaped, // for a browser's font: only shapedLegacyKern
};

// The face's subset as hb_subset_or_fail makes it, with the font's legacy
// kern table carried into it, its glyphs renumbered: HarfBuzz 6.0's
// subsetter drops the table, and a font whose kerning is only there
// (NanumGothic Eco and other TrueType fonts older than GPOS) lost it in
// every subset and slice. Null when HarfBuzz cannot make the subset.
HbFacePtr subsetFace(hb_face_t *face, const hb_subset_input_t *input, LegacyKern kern);
