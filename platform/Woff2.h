#pragma once

#include "base/ByteView.h"

#include <QByteArray>

// WOFF2, the compressed font format of the web, through Debian's libwoff2
// (the reference encoder): Brotli at its highest quality, with the glyf and
// loca transforms. Empty when the font cannot be encoded.
QByteArray encodeWoff2(ByteView font);

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
// header announces a font larger than kMaxDecodedWoff2Bytes, or the decoder
// refuses the bytes (among them, writes past that size).
QByteArray decodeWoff2(ByteView woff2, Woff2Refusal *refusal = nullptr);
