#pragma once

#include "base/ByteView.h"

#include <QVector>

// A font's Unicode character map as HarfBuzz reads it, the same reading the
// subsetting service uses: the best subtable among format 12 or 13, the
// platform 0 (Unicode) ones and format 4.

// Whether the `cmap` table maps any of the code points to a glyph other than
// .notdef. False for a table HarfBuzz cannot read.
bool cmapMapsAny(ByteView cmap, const QVector<quint32> &codePoints);

// What a finished font holds: its number of glyphs, and the code points it
// does not map.
struct FontContents
{
    unsigned glyphCount = 0;
    QVector<quint32> unmapped;
};
FontContents fontContents(ByteView font, const QVector<quint32> &codePoints);
