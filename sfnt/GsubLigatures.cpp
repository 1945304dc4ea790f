#include "GsubLigatures.h"

namespace {

constexpr quint16 kLigatureSubst = 4;
constexpr quint16 kExtensionSubst = 7;

// The glyphs of a coverage table, in coverage order; empty when it cannot be
// read. Ranges are bounded by the glyph IDs they name, at most 65,536.
QVector<quint16> coverageGlyphs(ByteView coverage)
{
    quint16 format = 0, count = 0;
    QVector<quint16> glyphs;
    if (!coverage.readU16(0, &format) || !coverage.readU16(2, &count))
        return glyphs;
    if (format == 1 && coverage.contains(4, 2 * quint64(count))) {
        for (quint16 i = 0; i < count; ++i) {
            quint16 glyph = 0;
            coverage.readU16(4 + 2 * quint64(i), &glyph);
            glyphs.append(glyph);
        }
    } else if (format == 2 && coverage.contains(4, 6 * quint64(count))) {
        for (quint16 i = 0; i < count; ++i) {
            quint16 start = 0, end = 0;
            coverage.readU16(4 + 6 * quint64(i), &start);
            coverage.readU16(4 + 6 * quint64(i) + 2, &end);
            for (quint32 glyph = start; glyph <= end && glyphs.size() < 0x10000; ++glyph)
                glyphs.append(quint16(glyph));
        }
    }
    return glyphs;
}

void readLigatureSubst(ByteView subtable, int limit, QVector<QVector<quint16>> *ligatures)
{
    quint16 format = 0, coverageOffset = 0, setCount = 0;
    if (!subtable.readU16(0, &format) || format != 1 || !subtable.readU16(2, &coverageOffset)
        || !subtable.readU16(4, &setCount) || !subtable.contains(6, 2 * quint64(setCount)))
        return;
    const QVector<quint16> firsts = coverageGlyphs(subtable.from(coverageOffset));
    for (quint16 s = 0; s < setCount && s < firsts.size(); ++s) {
        quint16 setOffset = 0, ligatureCount = 0;
        subtable.readU16(6 + 2 * quint64(s), &setOffset);
        const ByteView set = subtable.from(setOffset);
        if (!set.readU16(0, &ligatureCount) || !set.contains(2, 2 * quint64(ligatureCount)))
            continue;
        for (quint16 l = 0; l < ligatureCount && ligatures->size() < limit; ++l) {
            quint16 ligatureOffset = 0, componentCount = 0;
            set.readU16(2 + 2 * quint64(l), &ligatureOffset);
            const ByteView ligature = set.from(ligatureOffset);
            if (!ligature.readU16(2, &componentCount) || componentCount == 0
                || !ligature.contains(4, 2 * (quint64(componentCount) - 1)))
                continue;
            QVector<quint16> glyphs{firsts.at(s)};
            for (quint16 c = 1; c < componentCount; ++c) {
                quint16 glyph = 0;
                ligature.readU16(4 + 2 * (quint64(c) - 1), &glyph);
                glyphs.append(glyph);
            }
            ligatures->append(glyphs);
        }
    }
}

} // namespace

QVector<QVector<quint16>> gsubLigatures(ByteView gsub, int limit)
{
    QVector<QVector<quint16>> ligatures;
    quint16 majorVersion = 0, lookupListOffset = 0, lookupCount = 0;
    if (!gsub.readU16(0, &majorVersion) || majorVersion != 1 || !gsub.readU16(8, &lookupListOffset))
        return ligatures;
    const ByteView lookupList = gsub.from(lookupListOffset);
    if (!lookupList.readU16(0, &lookupCount) || !lookupList.contains(2, 2 * quint64(lookupCount)))
        return ligatures;
    for (quint16 i = 0; i < lookupCount && ligatures.size() < limit; ++i) {
        quint16 lookupOffset = 0, type = 0, subtableCount = 0;
        lookupList.readU16(2 + 2 * quint64(i), &lookupOffset);
        const ByteView lookup = lookupList.from(lookupOffset);
        if (!lookup.readU16(0, &type) || !lookup.readU16(4, &subtableCount)
            || !lookup.contains(6, 2 * quint64(subtableCount)))
            continue;
        for (quint16 s = 0; s < subtableCount; ++s) {
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
            if (subtableType == kLigatureSubst)
                readLigatureSubst(subtable, limit, &ligatures);
        }
    }
    return ligatures;
}
