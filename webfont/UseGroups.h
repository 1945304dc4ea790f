#pragma once

#include "engine/KeepList.h"

#include <QVector>

// Characters of a known text that share a slice, and the files that use any
// of them. Grouped first by the files that use each, so that each of those
// files needs all of the group.
struct UseGroup
{
    QVector<int> files;   // ascending indexes of the files that use any of them
    KeepList codePoints;
};

// What a slice costs the page that fetches it besides its glyphs: the tables
// every slice repeats, as many code points' worth (0.7 to 1.9 KB against 60
// to 320 bytes a CJK glyph in WOFF2). Tried from 6 to 24 on
// DroidSansFallbackFull and Noto Sans CJK SC, what the eight benchmark pages
// fetch moved by at most 4%; 12 was the best or within 1% of it on both.
constexpr int kSliceOverheadCodePoints = 12;

// Above this many groups, neighbouring ones (in the order given) are joined
// two by two before weighing, which costs time as the square of the groups.
constexpr int kMostGroupsWeighed = 4096;

// Merges groups while merging two lowers what the files fetch all together:
// every file that uses any of a slice fetches all of it, so a group of few
// characters costs its files the tables of a slice, and a merge costs the
// files of each group the other's characters. Greedy, the most saving merge
// first; groups are never merged past `mostCodePoints`. The result keeps the
// groups' order, each merged group in the place of its earlier part.
QVector<UseGroup> mergedForFewerBytes(QVector<UseGroup> groups, int fileCount, int mostCodePoints);

// What the files fetch all together from the slices, by the weights merges
// are weighed by: each file that uses any of a slice fetches its tables and
// all of its code points.
qint64 fetchedWeight(const QVector<KeepList> &slices, const QVector<KeepList> &files);
