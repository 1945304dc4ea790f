#pragma once

#include <QChar>

// How a script's characters are sliced: one rule per script, in one table
// (ScriptRules.cpp), which the README sets out.
enum class ScriptSlicing {
    // Each character on its own: blocks, frequency lists and the font's own
    // layout units place them (Common and Inherited, Latin past the first
    // slice, Bopomofo, Yi…).
    Apart,
    // The frequency lists place them, and nothing joins them into units
    // (Han, Hangul): a page fetches only the characters it shows.
    ByFrequency,
    // All of the script's characters the font maps in one unit, with the
    // Common and Inherited characters its text uses (dandas, Vedic signs,
    // Arabic punctuation and harakat, the baht sign; LayoutUnits.h): shaped
    // together, they must be drawn from one font (Arabic, Indic, Thai,
    // Greek, Cyrillic…).
    Whole,
};

ScriptSlicing scriptSlicing(QChar::Script script);

// Whether the font's layout may join the script's characters to the first
// slice, which every page fetches: Latin, kana, and the Common and Inherited
// characters. Where a unit holds the first slice's characters and another
// script's, it is cut between them (kerning between Latin and Greek, say,
// is lost), so that the first slice stays small.
bool joinsFirstSlice(QChar::Script script);

// Whether the code point is in a block that a script's own text seldom uses,
// though the script's shaping joins it to its letters (the Vedic signs, the
// Common Indic number forms, Devanagari Extended; ScriptRules.cpp): a kit
// also holds the script's slice without them, which pages without them
// fetch instead (CoreSlices.h).
bool inSeldomUsedBlock(quint32 codePoint);
