#pragma once

struct hb_subset_input_t;

// Keeps every GSUB and GPOS feature of the font in its subsets, with the
// glyphs they reach, where HarfBuzz keeps only the features a browser
// turns on by itself: a page may ask for any of them (font-feature-settings,
// font-variant-*, text-spacing-trim, a vertical writing-mode, lang), and a
// subset must then draw as the whole font draws.
void keepEveryLayoutFeature(hb_subset_input_t *input);
