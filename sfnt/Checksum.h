#pragma once

#include "base/ByteView.h"

class FontSource;

// The OpenType checksum: the sum, modulo 2^32, of the bytes read as
// big-endian 32-bit words, the last one padded with zeros.
quint32 sfntChecksum(ByteView bytes);

// The same over [offset, offset + length) of a source, read in pieces. False
// when the range cannot be read whole.
bool sfntChecksum(FontSource &source, quint64 offset, quint64 length, quint32 *sum);

// head.checkSumAdjustment of a font whose words (the field taken as zero) sum to `sum`.
constexpr quint32 checkSumAdjustment(quint32 sum)
{
    return 0xB1B0AFBAu - sum;
}
