#pragma once

#include "KeepList.h"
#include "sfnt/ByteView.h"

// The first coverage test: whether any value of the keep list lies in a
// segment of the cmap's first format 4 subtable among the records for
// platform 3 or encoding 1. Only the segment ranges count, and a segment
// ending at 0xFFFF never does.
bool formatFourSegmentsCoverAny(ByteView cmap, const KeepList &keepList);

// Whether the cmap covers any value of the keep list: by the first test, or
// else by the Unicode character map as HarfBuzz reads it (format 12 or 13,
// platform 0 subtables), which also reaches characters beyond U+FFFF.
bool cmapCoversAny(ByteView cmap, const KeepList &keepList);

// The same test on the font file at path, reading only its directory and
// cmap, with the keep list sorted and de-duplicated as the engine keeps it.
// False when the file cannot be read.
bool fontFileCoversAny(const QString &path, const KeepList &keepList);
