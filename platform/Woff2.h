#pragma once

#include "base/ByteView.h"

#include <QByteArray>

// WOFF2, the compressed font format of the web, through Debian's libwoff2
// (the reference encoder): Brotli at its highest quality, with the glyf and
// loca transforms. Empty when the font cannot be encoded.
QByteArray encodeWoff2(ByteView font);
