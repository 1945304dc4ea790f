#pragma once

#include "FrequencySlices.h"
#include "engine/KeepList.h"

#include <QPair>
#include <QSet>
#include <QVector>
#include <QString>

struct hb_face_t;

// What a kit needs to know of one face: its names and style for the CSS,
// the code points it maps and which of them draw nothing, and the language
// its frequency slices are taken from.
struct WebFace
{
    QString family;         // typographic family (name ID 16), else family (ID 1)
    QString fullName;       // ID 4
    QString postScriptName; // ID 6
    int weightMin = 400;    // OS/2 usWeightClass, or a variable font's wght range
    int weightMax = 400;
    bool italic = false;    // OS/2 fsSelection bit 0
    // A variable font's slnt axis, in its own degrees (negative leans right);
    // 0 and 0 when it has none.
    double slantMin = 0;
    double slantMax = 0;
    // OS/2 usWidthClass as a percentage, or a variable font's wdth range:
    // faces of one family that differ only in width (Condensed) need it.
    double stretchMin = 100;
    double stretchMax = 100;
    KeepList codePoints;    // ascending; control characters left out
    QSet<quint32> blank;    // code points whose glyph has no outline
    // What the font draws as one glyph from several characters: the code
    // points of each GSUB ligature whose glyphs the cmap maps, first to last.
    QVector<KeepList> sequences;
    // False when the GSUB table asked for more reading than its size pays
    // for (a damaged or hostile font): the sequences read are kept, the rest
    // may be drawn apart.
    bool sequencesComplete = true;
    // What the face's layout shapes together, and so one slice must hold
    // (LayoutUnits.h); they may overlap.
    QVector<KeepList> layoutUnits;
    // The variation selectors of the font's variation sequences (cmap format
    // 14), each with the base code points it has sequences for, ascending.
    QVector<QPair<quint32, KeepList>> variationSelectors;
    // A character the browser measures the font by: 'x', else the first the
    // font maps of 'H', 'A', '0' and '—'; none when it maps none of them.
    // Every slice's cmap keeps it, unpromised by its unicode-range: drawn
    // from a slice without one, upright glyphs in vertical text sit a pixel
    // off along the line (seen in chromium, against the whole font).
    KeepList measuredBy;
    SliceLanguage language = SliceLanguage::SimplifiedChinese;
    int glyphsPerSlice = 200; // slicesOfGlyphs of the face's bytes and glyphs
    bool imageGlyphs = false; // most of its glyph bytes are bitmaps or PNGs (CBDT, sbix, EBDT)
};

// Reads the face. False when it has no glyphs or maps no character: not a
// font, or a damaged one.
bool readWebFace(hb_face_t *face, WebFace *webFace);
