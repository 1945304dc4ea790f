#include "Checksum.h"

#include "FontSource.h"

namespace {
constexpr quint64 kChunkSize = 1 << 20; // a multiple of 4, so words never straddle pieces
}

quint32 sfntChecksum(ByteView bytes)
{
    quint32 sum = 0;
    const quint64 whole = bytes.size() & ~quint64(3);
    for (quint64 at = 0; at < whole; at += 4) {
        quint32 word = 0;
        bytes.readU32(at, &word);
        sum += word;
    }
    quint32 last = 0;
    for (quint64 at = whole; at < bytes.size(); ++at)
        last |= quint32(bytes.data()[at]) << (24 - 8 * (at - whole));
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
