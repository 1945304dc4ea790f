#include "Checksum.h"

#include "FontSource.h"

#include <QtEndian>

namespace {

constexpr quint64 kChunkSize = 1 << 20; // a multiple of 4, so words never straddle pieces
constexpr int kLanes = 8;               // words summed side by side: one vector add each

} // namespace

quint32 sfntChecksum(ByteView bytes)
{
    // Every word lies inside the view by the loop bounds, so the words are
    // read straight, in blocks of kLanes whose fixed inner loop the compiler
    // turns into vector loads, byte swaps and adds: this is the split's
    // hottest loop, summing every byte of a collection.
    const uchar *data = bytes.data();
    const quint64 whole = bytes.size() & ~quint64(3);
    const quint64 blocks = whole / (4 * kLanes);
    quint32 lanes[kLanes] = {};
    for (quint64 block = 0; block < blocks; ++block) {
        const uchar *words = data + block * 4 * kLanes;
        for (int lane = 0; lane < kLanes; ++lane)
            lanes[lane] += qFromBigEndian<quint32>(words + 4 * lane);
    }
    quint32 sum = 0;
    for (quint32 lane : lanes)
        sum += lane;
    for (quint64 at = blocks * 4 * kLanes; at < whole; at += 4)
        sum += qFromBigEndian<quint32>(data + at);
    quint32 last = 0;
    for (quint64 at = whole; at < bytes.size(); ++at)
        last |= quint32(data[at]) << (24 - 8 * (at - whole));
    return sum + last;
}

bool sfntChecksum(FontSource &source, quint64 offset, quint64 length, quint32 *sum)
{
    *sum = 0;
    QByteArray buffer(qsizetype(qMin(kChunkSize, length)), Qt::Uninitialized);
    for (quint64 done = 0; done < length;) {
        const quint64 piece = qMin(kChunkSize, length - done);
        if (!source.readInto(offset + done, piece, buffer.data()))
            return false;
        *sum += sfntChecksum(ByteView(buffer.constData(), piece));
        done += piece;
    }
    return true;
}
