#include "GsubLigatures.h"

#include "ReadingBudget.h"

#include <QSet>

namespace {

constexpr quint16 kLigatureSubst = 4;
constexpr quint16 kExtensionSubst = 7;

// Where a structure starts in the table, to know it when it is reached again.
quint64 placeIn(ByteView table, ByteView part)
{
    return quint64(part.data() - table.data());
}

// The first `wanted` glyphs of a coverage table, in coverage order (a
// ligature subtable needs one for each of its ligature sets, and no more:
// a range may name 65,536 glyphs in six bytes). Fewer when it cannot be
// read or the budget runs out.
QVector<quint16> coverageGlyphs(ByteView coverage, quint16 wanted, ReadingBudget *budget)
{
    quint16 format = 0, count = 0;
    QVector<quint16> glyphs;
    if (!coverage.readU16(0, &format) || !coverage.readU16(2, &count))
        return glyphs;
    if (format == 1 && coverage.contains(4, 2 * quint64(count))) {
        for (quint16 i = 0; i < count && glyphs.size() < wanted && budget->spend(1); ++i) {
            quint16 glyph = 0;
            coverage.readU16(4 + 2 * quint64(i), &glyph);
            glyphs.append(glyph);
        }
    } else if (format == 2 && coverage.contains(4, 6 * quint64(count))) {
        for (quint16 i = 0; i < count && glyphs.size() < wanted && budget->spend(1); ++i) {
            quint16 start = 0, end = 0;
            coverage.readU16(4 + 6 * quint64(i), &start);
            coverage.readU16(4 + 6 * quint64(i) + 2, &end);
            for (quint32 glyph = start; glyph <= end && glyphs.size() < wanted && budget->spend(1); ++glyph)
                glyphs.append(quint16(glyph));
        }
    }
    return glyphs;
}

struct Reading
{
    int limit;
    ReadingBudget budget;
    QSet<quint64> subtablesRead;
    GsubLigatures result;

    bool full() const { return result.ligatures.size() >= limit || budget.exhausted(); }
};

void readLigatureSubst(ByteView subtable, Reading *reading)
{
    quint16 format = 0, coverageOffset = 0, setCount = 0;
    if (!subtable.readU16(0, &format) || format != 1 || !subtable.readU16(2, &coverageOffset)
        || !subtable.readU16(4, &setCount) || !subtable.contains(6, 2 * quint64(setCount)))
        return;
    const QVector<quint16> firsts = coverageGlyphs(subtable.from(coverageOffset), setCount, &reading->budget);
    for (quint16 s = 0; s < firsts.size() && !reading->full(); ++s) {
        quint16 setOffset = 0, ligatureCount = 0;
        subtable.readU16(6 + 2 * quint64(s), &setOffset);
        const ByteView set = subtable.from(setOffset);
        if (!reading->budget.spend(1) || !set.readU16(0, &ligatureCount)
            || !set.contains(2, 2 * quint64(ligatureCount)))
            continue;
        for (quint16 l = 0; l < ligatureCount && !reading->full(); ++l) {
            quint16 ligatureOffset = 0, componentCount = 0;
            set.readU16(2 + 2 * quint64(l), &ligatureOffset);
            const ByteView ligature = set.from(ligatureOffset);
            if (!reading->budget.spend(1) || !ligature.readU16(2, &componentCount) || componentCount == 0
                || componentCount > kMostLigatureComponents
                || !ligature.contains(4, 2 * (quint64(componentCount) - 1))
                || !reading->budget.spend(componentCount))
                continue;
            QVector<quint16> glyphs{firsts.at(s)};
            for (quint16 c = 1; c < componentCount; ++c) {
                quint16 glyph = 0;
                ligature.readU16(4 + 2 * (quint64(c) - 1), &glyph);
                glyphs.append(glyph);
            }
            reading->result.ligatures.append(glyphs);
        }
    }
}

} // namespace

GsubLigatures gsubLigatures(ByteView gsub, int limit)
{
    Reading reading{limit, ReadingBudget(gsub.size()), {}, {}};
    quint16 majorVersion = 0, lookupListOffset = 0, lookupCount = 0;
    if (!gsub.readU16(0, &majorVersion) || majorVersion != 1 || !gsub.readU16(8, &lookupListOffset))
        return reading.result;
    const ByteView lookupList = gsub.from(lookupListOffset);
    if (!lookupList.readU16(0, &lookupCount) || !lookupList.contains(2, 2 * quint64(lookupCount)))
        return reading.result;
    QSet<quint64> lookupsRead;
    for (quint16 i = 0; i < lookupCount && !reading.full(); ++i) {
        quint16 lookupOffset = 0, type = 0, subtableCount = 0;
        lookupList.readU16(2 + 2 * quint64(i), &lookupOffset);
        const ByteView lookup = lookupList.from(lookupOffset);
        if (!reading.budget.spend(1) || lookup.isNull() || lookupsRead.contains(placeIn(gsub, lookup)))
            continue;
        lookupsRead.insert(placeIn(gsub, lookup));
        if (!lookup.readU16(0, &type) || !lookup.readU16(4, &subtableCount)
            || !lookup.contains(6, 2 * quint64(subtableCount)))
            continue;
        for (quint16 s = 0; s < subtableCount && !reading.full() && reading.budget.spend(1); ++s) {
            quint16 subtableOffset = 0;
            lookup.readU16(6 + 2 * quint64(s), &subtableOffset);
            ByteView subtable = lookup.from(subtableOffset);
            quint16 subtableType = type;
            if (type == kExtensionSubst) {
                quint32 extensionOffset = 0;
                if (!subtable.readU16(2, &subtableType) || !subtable.readU32(4, &extensionOffset))
                    continue;
                subtable = subtable.from(extensionOffset);
            }
            if (subtableType != kLigatureSubst || subtable.isNull() || reading.subtablesRead.contains(placeIn(gsub, subtable)))
                continue;
            reading.subtablesRead.insert(placeIn(gsub, subtable));
            readLigatureSubst(subtable, &reading);
        }
    }
    reading.result.complete = !reading.full();
    return reading.result;
}
