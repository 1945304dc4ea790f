#pragma once

#include "FallbackMetrics.h"
#include "WebFace.h"
#include "engine/KeepList.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The text files of a kit, made from what was written: the CSS, the preview
// page and the report (named after the CSS: KitNames.h). Each carries kKitMarker
// near its start, so that a later run knows it for a kit's own.

struct KitSlice
{
    QString file; // the name in the kit's folder
    quint64 bytes = 0;
    KeepList mapped; // the code points its cmap maps
};

struct KitFace
{
    WebFace face;
    QString source;   // the font file it was read from (the report gives its name only)
    int index = 0;    // its index in a collection
    QString language; // the frequency slices it was cut by, as a tag; empty: by Unicode block alone
    bool byTextUse = false; // cut by a known text's use of its characters (the language then orders only)
    bool keptEarlierSlices = false; // in the slices of the earlier kit in the folder, where they still serve
    QVector<KitSlice> slices;
    QVector<FallbackFace> fallbacks; // the local fonts that stand in while it loads, in the CSS's order
};

// A page of a site whose text the kit was made from.
struct KitPage
{
    QString path;        // relative to the folder of the site's text
    KeepList characters; // in any order, repeats allowed
};

struct KitSettings
{
    QString cssFamily;
    QString cssFile; // the CSS's name in the kit's folder
    QString fontDisplay;
    bool localSources = false;   // local() before each slice's url(); never in the preview page
    int requestedCharacters = 0; // 0: every character the fonts map
    // The preview page's sample: the text the kit was made for, as it reads
    // (keepListFromText's order); empty: a sample from the kit's characters.
    KeepList sampleText;
    // The site's pages: the report and the preview say which slices each
    // fetches. Empty: the text was not a site's.
    QVector<KitPage> pages;
};

// "U+20-7E, U+A0, U+4E00-4E05": the code points, ascending, as compact ranges.
QString unicodeRange(const KeepList &codePoints);

// The runs of a unicode-range as unicodeRange writes them, in its order;
// empty when the text is not one (a damaged or foreign report).
QVector<CodePointSpan> unicodeRangeSpans(const QString &range);

// The slices of the face a browser fetches for the characters: for each,
// the last slice in the CSS's order whose unicode-range holds it (CSS Fonts
// tries overlapping ranges last rule first). Indexes into face.slices, ascending.
QVector<int> fetchedSlices(const KitFace &face, const KeepList &characters);

QByteArray kitCss(const QVector<KitFace> &faces, const KitSettings &settings);
// The preview page, in the language of the installed translation (the
// window's), else in English: its lang attribute, its texts and numbers.
QByteArray kitPreview(const QVector<KitFace> &faces, const KitSettings &settings);
QByteArray kitReport(const QVector<KitFace> &faces, const KitSettings &settings);
