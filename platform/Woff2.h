#pragma once

#include "base/ByteView.h"

#include <QByteArray>

// Brotli's highest quality, encodeWoff2's default.
constexpr int kHighestBrotliQuality = 11;

// WOFF2, the compressed font format of the web, through Debian's libwoff2
// (the reference encoder): Brotli at its highest quality unless asked for
// less, with the glyf and loca transforms. Empty when the font cannot be
// encoded.
QByteArray encodeWoff2(ByteView font, int brotliQuality = kHighestBrotliQuality);

// For fonts whose glyphs are PNG images (colour emoji): Brotli cannot
// shrink them, and its highest quality only spends time trying. Measured
// on a 144 kB slice of Noto Color Emoji: 0.56 s at 11, 0.006 s at 5, for
// 0.9% more bytes.
constexpr int kImageFontBrotliQuality = 5;

// Why WOFF2 bytes gave no font.
enum class Woff2Refusal {
    None,
    TooLarge, // the font would be larger than kMaxDecodedWoff2Bytes
    Damaged,  // the decoder refused the bytes
};

// The largest font decodeWoff2 makes: well above real fonts (the largest CJK
// collections are below 100 MB), and low enough that a file announcing
// gigabytes is refused before any memory is taken for it.
constexpr quint32 kMaxDecodedWoff2Bytes = 256 * 1024 * 1024;

// The sfnt font (TrueType or CFF outlines, or a collection) that WOFF2 bytes
// hold, as libwoff2 rebuilds it. Empty, with why in *refusal, when the
// header or the table directory announces more than kMaxDecodedWoff2Bytes
// (the header's total, or the tables' lengths added up: the decoder takes
// memory for all of them before it checks any), or the decoder refuses the
// bytes (among them, writes past that size).
QByteArray decodeWoff2(ByteView woff2, Woff2Refusal *refusal = nullptr);
