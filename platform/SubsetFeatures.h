#pragma once

struct hb_subset_input_t;

// Keeps every GSUB and GPOS feature of the font in its subsets, with the
// glyphs they reach, where HarfBuzz keeps only the features a browser
// turns on by itself: a page may ask for any of them (font-feature-settings,
// font-variant-*, text-spacing-trim, a vertical writing-mode, lang), and a
// subset must then draw as the whole font draws.
// All but kLeftOutFeatureTag: a feature renamed to it (another language's
// forms in a one-language kit) is left out, with the glyphs only it reaches.
void keepEveryLayoutFeature(hb_subset_input_t *input);

// A tag no registered feature has, so no browser applies it: 'zzzz'.
constexpr unsigned kLeftOutFeatureTag = 0x7A7A7A7A;
