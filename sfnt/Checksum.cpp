#include "Checksum.h"

#include "FontSource.h"

#include <QtEndian>

#include <cstring>

namespace {

// A multiple of 4, so words never straddle pieces, and small enough that a
// piece read into the buffer is still in the cache when it is summed.
constexpr quint64 kChunkSize = 1 << 18;
// Words per block: 256 bytes of at most 255 sum to less than 2^16, so two
// byte columns share one 32-bit lane without carrying into each other.
constexpr int kBlockWords = 256;

} // namespace

quint32 sfntChecksum(ByteView bytes)
{
    // The sum of big-endian words is the sum of each byte column, shifted to
    // its place: sum(b0) << 24 + sum(b1) << 16 + sum(b2) << 8 + sum(b3). The
    // columns are summed from words loaded in the machine's order, with masks
    // and adds the compiler turns into vector code without byte swaps: this is
    // the split's hottest loop, over every byte of a collection. Every word
    // lies inside the view by the loop bounds, so they are loaded straight.
    const uchar *data = bytes.data();
    const quint64 whole = bytes.size() & ~quint64(3);
    const quint64 blocks = whole / (4 * kBlockWords);
    quint64 columns[4] = {}; // bytes 0 to 3 of each word, in file order
    for (quint64 block = 0; block < blocks; ++block) {
        const uchar *words = data + block * 4 * kBlockWords;
        quint32 evenColumns = 0, oddColumns = 0;
        for (int i = 0; i < kBlockWords; ++i) {
            quint32 word;
            std::memcpy(&word, words + 4 * i, 4);
            word = qFromLittleEndian(word); // byte 0 of the file in the low bits
            evenColumns += word & 0x00FF00FFu;
            oddColumns += (word >> 8) & 0x00FF00FFu;
        }
        columns[0] += evenColumns & 0xFFFF;
        columns[2] += evenColumns >> 16;
        columns[1] += oddColumns & 0xFFFF;
        columns[3] += oddColumns >> 16;
    }
    quint32 sum = quint32(columns[0] << 24) + quint32(columns[1] << 16) + quint32(columns[2] << 8) + quint32(columns[3]);
    for (quint64 at = blocks * 4 * kBlockWords; at < whole; at += 4)
        sum += qFromBigEndian<quint32>(data + at);
    quint32 last = 0;
    for (quint64 at = whole; at < bytes.size(); ++at)
        last |= quint32(data[at]) << (24 - 8 * (at - whole));
    return sum + last;
}

bool sfntChecksum(FontSource &source, quint64 offset, quint64 length, quint32 *sum)
{
    *sum = 0;
    // One buffer for every range a thread sums: a fresh one for each table
    // would cost its pages' faults every time.
    thread_local QByteArray buffer(qsizetype(kChunkSize), Qt::Uninitialized);
    for (quint64 done = 0; done < length;) {
        const quint64 piece = qMin(kChunkSize, length - done);
        if (!source.readInto(offset + done, piece, buffer.data()))
            return false;
        *sum += sfntChecksum(ByteView(buffer.constData(), piece));
        done += piece;
    }
    return true;
}
