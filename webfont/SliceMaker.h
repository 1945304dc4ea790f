#pragma once

#include "engine/KeepList.h"

#include <QByteArray>
#include <QVector>

#include <atomic>
#include <functional>

struct hb_face_t;

// One slice as made: its WOFF2 bytes and the code points its cmap maps, read
// back from the subset itself (the unicode-range must promise no more).
struct MadeSlice
{
    QByteArray woff2; // empty when the slice could not be made
    KeepList mapped;
};

// One slice to make: the face it is cut from (prepared with
// hb_subset_preprocess when the face has several slices; safe to share
// between threads either way), and its code points.
struct SliceTask
{
    hb_face_t *face = nullptr;
    KeepList codePoints;
    // None of them draws anything (a kit of spaces): .notdef keeps its
    // outline, so that the glyph table is not empty, which sanitizers refuse.
    bool blank = false;
};

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
// empty, when *cancel turns true.
QVector<MadeSlice> makeSlices(const QVector<SliceTask> &tasks, int threads, const std::function<void(int)> &done,
                              const std::atomic<bool> *cancel);
