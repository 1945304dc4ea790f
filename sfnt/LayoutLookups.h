#pragma once

#include "base/ByteView.h"

#include <QVector>

// The type of each lookup of a GSUB or GPOS table, by its index, an
// extension lookup's (GSUB 7, GPOS 9) taken from its first subtable; 0 when
// a lookup cannot be read.
QVector<quint16> layoutLookupTypes(ByteView table, bool isGpos);

// Whether a lookup of the type makes glyphs of several characters act on
// each other (pairs, contexts, attachments, ligatures), rather than each
// glyph on its own (single, multiple and alternate substitutions, single
// positioning): only then must the characters share a font to be shaped as
// the whole font shapes them.
bool lookupJoinsGlyphs(quint16 type, bool isGpos);
