#pragma once

#include "engine/KeepList.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct hb_face_t;

// A local font that draws a kit's text while its slices load, scaled and
// given the face's own line metrics (size-adjust and the ascent, descent and
// line-gap overrides of CSS Fonts 5), so that nothing moves when the slices
// arrive. The local fonts, with their metrics, are one table, by script
// (FallbackMetrics.cpp).

// A font's line metrics in its own units, as browsers lay lines out with
// them (lineMetrics).
struct LineMetrics
{
    int unitsPerEm = 0;
    int ascent = 0;  // above the baseline
    int descent = 0; // below it, as a positive distance
    int lineGap = 0;
};

struct FallbackFace
{
    QString localFamily;    // "Noto Sans CJK SC": the fallback family is named after it
    QStringList localNames; // its full and PostScript names, for local()
    // Percentages, as the descriptors take them.
    double sizeAdjust = 100;
    double ascentOverride = 0;
    double descentOverride = 0;
    double lineGapOverride = 0;
    // Line heights in ems: the face's own, and the local font's without
    // the overrides (the shift the overrides take away), 0 where it is not
    // known.
    double lineHeight = 0;
    double localLineHeight = 0;
};

// hhea's ascender, descender and line gap; when its ascender and descender
// are both 0, OS/2's typographic ones; when those are 0 too, its Windows
// ascent and descent, with no gap. This is FreeType's choice, which Chromium
// makes on Linux, Android and ChromeOS (browsers on Apple's systems read hhea
// too; on Windows, Windows metrics are the rule). Checked against chromium's
// line boxes by tests/e2e/test_fallback_metrics.py. Zeros when the font has
// no usable head.
LineMetrics lineMetrics(hb_face_t *face);

// The mean advance, in font units, of the characters of `text`; 0 unless the
// font maps every one of them.
double averageAdvance(hb_face_t *face, const QString &text);

// The fallback faces for a face that maps `codePoints`: one for each local
// font of the table's script that most of them are in. None when no
// script of the table holds any of them, or the face lacks a character of
// that script's sample text (its width would not be known).
QVector<FallbackFace> fallbackFaces(hb_face_t *face, const KeepList &codePoints);

// "Site Sans Fallback Noto Sans CJK SC": the family of a fallback face.
QString fallbackFamily(const QString &cssFamily, const FallbackFace &fallback);
