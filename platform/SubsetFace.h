#pragma once

#include "HarfBuzzHandles.h"

struct hb_subset_input_t;

// Whether a shaper applies the face's legacy kern table: it has one, and
// GPOS has no kerning of its own. (HarfBuzz applies it to a script that
// GPOS has no kern feature for; a font with both is taken to kern by GPOS.)
bool shapingReadsLegacyKern(hb_face_t *face);

enum class LegacyKern {
    Kept,         // for a font file: every program that reads the table reads it in the subset
    KeptIfShaped, // for a browser's font: only where shapingReadsLegacyKern
};

// The face's subset as hb_subset_or_fail makes it, with the font's legacy
// kern table carried into it, its glyphs renumbered: HarfBuzz 6.0's
// subsetter drops the table, and a font whose kerning is only there
// (NanumGothic Eco and other TrueType fonts older than GPOS) lost it in
// every subset and slice. Null when HarfBuzz cannot make the subset.
HbFacePtr subsetFace(hb_face_t *face, const hb_subset_input_t *input, LegacyKern kern);
