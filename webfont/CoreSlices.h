#pragma once

#include "SlicePlanner.h"

// A slice whose characters are a good part in blocks its script's text
// seldom uses (inSeldomUsedBlock: the Vedic signs of a Devanagari font) is
// followed by its core slice: the same slice without them, its characters
// repeated. A browser draws a character from the last-declared slice that
// holds it, and re-draws a syllable that slice cannot draw whole with the
// slice before it that holds a character of it, fetching it only then: so a
// Hindi page fetches the core slice alone, and a Vedic one also the whole
// slice, which draws its Vedic syllables as the whole font does.
// A slice gets one when at least kLeastSeldomUsed of its characters, and an
// eighth of them, are seldom used; the units the core slice is cut by are
// the slice's less those holding one of them.
QVector<PlannedSlice> withCoreSlices(const QVector<PlannedSlice> &slices);

constexpr int kLeastSeldomUsed = 16;
