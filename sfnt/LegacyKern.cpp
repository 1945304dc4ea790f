#include "LegacyKern.h"

#include <algorithm>

namespace {

constexpr quint64 kTableHeaderSize = 4;    // version, nTables
constexpr quint64 kSubtableHeaderSize = 14; // version, length, coverage, nPairs and the search fields
constexpr quint64 kPairSize = 6;
// The most pairs a subtable's 16-bit length counts.
constexpr int kMostPairsInSubtable = int((0xFFFF - kSubtableHeaderSize) / kPairSize);
constexpr quint16 kFormatMask = 0xFF00;
constexpr quint16 kMostSubtables = 0xFFFF;

void appendU16(QByteArray *bytes, quint16 value)
{
    bytes->append(char(value >> 8));
    bytes->append(char(value));
}

quint32 pairKey(const KernPair &pair)
{
    return quint32(pair.left) << 16 | pair.right;
}

void appendSubtable(QByteArray *table, quint16 coverage, const KernPair *pairs, int count)
{
    int power = 1, selector = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++selector;
    }
    appendU16(table, 0); // version
    appendU16(table, quint16(kSubtableHeaderSize + kPairSize * quint64(count)));
    appendU16(table, coverage);
    appendU16(table, quint16(count));
    appendU16(table, quint16(power * kPairSize));
    appendU16(table, quint16(selector));
    appendU16(table, quint16((count - power) * kPairSize));
    for (int i = 0; i < count; ++i) {
        appendU16(table, pairs[i].left);
        appendU16(table, pairs[i].right);
        appendU16(table, quint16(pairs[i].value));
    }
}

} // namespace

QVector<KernSubtable> readLegacyKern(ByteView kern)
{
    QVector<KernSubtable> subtables;
    quint16 version = 0, count = 0;
    if (!kern.readU16(0, &version) || version != 0 || !kern.readU16(2, &count))
        return subtables;
    quint64 offset = kTableHeaderSize;
    for (quint16 i = 0; i < count; ++i) {
        quint16 subtableVersion = 0, length = 0, coverage = 0, pairCount = 0;
        if (!kern.readU16(offset, &subtableVersion) || !kern.readU16(offset + 2, &length)
            || !kern.readU16(offset + 4, &coverage))
            break;
        const bool formatZero = subtableVersion == 0 && (coverage & kFormatMask) == 0;
        if (formatZero && kern.readU16(offset + 6, &pairCount)) {
            KernSubtable subtable;
            subtable.coverage = coverage;
            const quint64 first = offset + kSubtableHeaderSize;
            const quint64 whole = std::min<quint64>(pairCount, kern.from(first).size() / kPairSize);
            subtable.pairs.reserve(qsizetype(whole));
            for (quint64 p = 0; p < whole; ++p) {
                quint16 left = 0, right = 0, value = 0;
                kern.readU16(first + kPairSize * p, &left);
                kern.readU16(first + kPairSize * p + 2, &right);
                kern.readU16(first + kPairSize * p + 4, &value);
                subtable.pairs.append(KernPair{left, right, qint16(value)});
            }
            subtables.append(subtable);
            // A subtable too long for its length runs to where its pairs end.
            offset += std::max<quint64>(length, kSubtableHeaderSize + kPairSize * whole);
        } else {
            if (length == 0)
                break;
            offset += length;
        }
    }
    return subtables;
}

QByteArray subsetLegacyKern(const QVector<KernSubtable> &subtables, const QVector<int> &newGlyph)
{
    const auto renumbered = [&](quint16 glyph) { return glyph < newGlyph.size() ? newGlyph.at(glyph) : -1; };
    QByteArray body;
    int written = 0;
    for (const KernSubtable &subtable : subtables) {
        QVector<KernPair> pairs;
        for (const KernPair &pair : subtable.pairs) {
            const int left = renumbered(pair.left), right = renumbered(pair.right);
            if (left >= 0 && right >= 0)
                pairs.append(KernPair{quint16(left), quint16(right), pair.value});
        }
        // Sorted as the shaper's binary search reads them; of a pair stored
        // twice, the first.
        std::stable_sort(pairs.begin(), pairs.end(),
                         [](const KernPair &a, const KernPair &b) { return pairKey(a) < pairKey(b); });
        pairs.erase(std::unique(pairs.begin(), pairs.end(),
                                [](const KernPair &a, const KernPair &b) { return pairKey(a) == pairKey(b); }),
                    pairs.end());
        for (int start = 0; start < pairs.size() && written < kMostSubtables; start += kMostPairsInSubtable) {
            appendSubtable(&body, subtable.coverage, pairs.constData() + start,
                           std::min<int>(kMostPairsInSubtable, int(pairs.size()) - start));
            ++written;
        }
    }
    if (written == 0)
        return QByteArray();
    QByteArray table;
    appendU16(&table, 0);
    appendU16(&table, quint16(written));
    return table + body;
}
