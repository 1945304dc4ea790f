#pragma once

#include "KeepList.h"
#include "base/ByteView.h"

// The first coverage test: whether any value of the keep list lies in a
// segment of the cmap's first format 4 subtable among the records for
// platform 3 or encoding 1. A value counts when it lies in a segment's range
// (a segment ending at 0xFFFF never counts) and the subtable maps it to a
// glyph other than .notdef.
bool formatFourSegmentsCoverAny(ByteView cmap, const KeepList &keepList);

// Whether the cmap covers any value of the keep list: by the first test, or
// else by the Unicode character map as HarfBuzz reads it (format 12 or 13,
// platform 0 subtables), which also reaches characters beyond U+FFFF.
bool cmapCoversAny(ByteView cmap, const KeepList &keepList);
