#pragma once

#include "engine/KeepList.h"
#include "platform/Woff2.h"

#include <QByteArray>
#include <QPair>
#include <QSet>
#include <QVector>

#include <atomic>
#include <functional>

struct hb_face_t;
class SliceCache;

// One slice as made: its WOFF2 bytes and the code points its cmap maps, read
// back from the subset itself (the unicode-range must promise no more).
struct MadeSlice
{
    QByteArray woff2; // empty when the slice could not be made
    KeepList mapped;
    bool fromCache = false; // copied from the slice cache, not made
};

// One slice to make: the face it is cut from (safe to share between
// threads: HarfBuzz loads each table's accelerator once, under its own
// lock), and its code points.
struct SliceTask
{
    hb_face_t *face = nullptr;
    KeepList codePoints; // ascending
    // What the slice may be cut in two by: each whole (a code point, or a
    // sequence the font draws as one glyph). Empty: each code point.
    QVector<KeepList> units;
    // The face's variation selectors with their bases: a slice keeps the
    // variation sequences of its bases. The selectors are not mapped
    // characters, and no unicode-range promises them: a browser looks a
    // selector up with its base, in the base's font.
    const QVector<QPair<quint32, KeepList>> *variationSelectors = nullptr;
    // Characters every slice's cmap keeps without its unicode-range
    // promising them (WebFace::measuredBy).
    const KeepList *measuredBy = nullptr;
    int source = 0; // which of the kit's faces it is cut from
    int brotliQuality = kHighestBrotliQuality; // lower for fonts of images (kImageFontBrotliQuality)
    // What the face's bytes are for the slice cache: the hash of the bytes it
    // was read from, its index in them, and any table the job changed in it
    // (sliceFaceKey). Empty: the slice is neither looked up nor kept.
    QByteArray faceKey = {};
    // Whether a unit of it was cut by code points, because HarfBuzz could
    // not make its slice whole (makeSlicesWithin): the unit's sequences may
    // then be drawn apart.
    bool unitCut = false;
};

// The faceKey of a face read at `index` from bytes of that SHA-256 (a
// file's, or those of the font a WOFF2 decodes to), with its GSUB table
// changed for `oneLanguage` when that is not empty.
QByteArray sliceFaceKey(const QByteArray &fontBytesHash, int index, const QString &oneLanguage);

// The names every slice keeps: copyright (0), family (1), subfamily (2),
// unique ID (3), full name (4), version (5), PostScript name (6), licence
// (13) and its URL (14), typographic family and subfamily (16, 17). The
// licence asks for the first and the last two; CSS local() and browsers use
// the others. The rest (trademark, designer, vendor, descriptions, sample
// text…) would be repeated in every slice for no reader.
extern const quint16 kSliceNameIds[11];

// Subsets and compresses (WOFF2, Brotli quality 11) every task on `threads`
// threads; results come back in task order, so that output does not depend on
// which thread made what. `done` is called on the calling thread, with the
// number finished, each time one finishes. Stops early, leaving the rest
// empty, when *cancel turns true. With a cache, a task with a faceKey is
// copied from it when its key was made before (its code points read back
// from the entry's own cmap), and kept in it otherwise.
QVector<MadeSlice> makeSlices(const QVector<SliceTask> &tasks, int threads, const std::function<void(int)> &done,
                              const std::atomic<bool> *cancel, SliceCache *cache = nullptr);

// A slice is cut in two when its WOFF2 is larger than this: a page that
// needs one of its characters fetches all of it. Colour and bitmap fonts
// (emoji) run to several kilobytes a character, where CJK outlines take
// about a hundred bytes; the lists' slices of about 200 characters stay
// far below it.
constexpr qsizetype kLargestSliceBytes = 150 * 1000;

// Makes every task as makeSlices does, then cuts each slice larger than
// `largestBytes` into as many parts of its units as its bytes call for, and
// makes them, until none is larger, unless it is a single unit. The parts
// take the place of the slice in `tasks`, in order. `done` is told the slices
// finished and the slices in all, which grows as slices are cut.
QVector<MadeSlice> makeSlicesWithin(QVector<SliceTask> *tasks, qsizetype largestBytes, int threads,
                                    const std::function<void(int done, int total)> &done,
                                    const std::atomic<bool> *cancel, SliceCache *cache = nullptr);
