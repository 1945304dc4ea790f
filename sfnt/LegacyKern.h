#pragma once

#include "base/ByteView.h"

#include <QByteArray>
#include <QVector>

// The legacy 'kern' table: the kerning of TrueType fonts older than GPOS,
// which a shaper applies when the font's GPOS has no kerning of its own.
// Read: a version 0 table's format 0 subtables (pairs of glyphs), the kind
// Windows reads and the fonts that have one carry; other formats, and
// Apple's version 1 table, are left out.
struct KernPair
{
    quint16 left;
    quint16 right;
    qint16 value;
};

struct KernSubtable
{
    quint16 coverage = 0; // the format (0) in the high byte, the flags in the low
    QVector<KernPair> pairs;
};

// The format 0 subtables, their pairs as stored. A subtable's pairs are
// counted by its nPairs, not its 16-bit length, which one of more than
// 10,920 pairs overflows; what runs past the table's end is left out.
QVector<KernSubtable> readLegacyKern(ByteView kern);

// A version 0 table of the subtables' pairs whose two glyphs a subset keeps,
// renumbered: `newGlyph[old]` is a glyph's number in the subset, or -1. Each
// subtable's pairs are sorted and once each, as readers search them; one left
// with no pair is left out, and one of more pairs than its length can count
// is written as several of the same coverage, their pairs apart, so that
// every pair adds what it added. Empty when no pair is left.
QByteArray subsetLegacyKern(const QVector<KernSubtable> &subtables, const QVector<int> &newGlyph);
