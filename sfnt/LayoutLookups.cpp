#include "LayoutLookups.h"

namespace {

constexpr quint16 kGsubExtension = 7;
constexpr quint16 kGposExtension = 9;

} // namespace

QVector<quint16> layoutLookupTypes(ByteView table, bool isGpos)
{
    QVector<quint16> types;
    quint16 majorVersion = 0, lookupListOffset = 0, lookupCount = 0;
    if (!table.readU16(0, &majorVersion) || majorVersion != 1 || !table.readU16(8, &lookupListOffset))
        return types;
    const ByteView lookupList = table.from(lookupListOffset);
    if (!lookupList.readU16(0, &lookupCount) || !lookupList.contains(2, 2 * quint64(lookupCount)))
        return types;
    for (quint16 i = 0; i < lookupCount; ++i) {
        quint16 lookupOffset = 0, type = 0, subtableCount = 0, subtableOffset = 0;
        lookupList.readU16(2 + 2 * quint64(i), &lookupOffset);
        const ByteView lookup = lookupList.from(lookupOffset);
        if (!lookup.readU16(0, &type))
            type = 0;
        if (type == (isGpos ? kGposExtension : kGsubExtension)) {
            quint16 extensionType = 0;
            if (!lookup.readU16(4, &subtableCount) || subtableCount == 0 || !lookup.readU16(6, &subtableOffset)
                || !lookup.from(subtableOffset).readU16(2, &extensionType))
                extensionType = 0;
            type = extensionType;
        }
        types.append(type);
    }
    return types;
}

bool lookupJoinsGlyphs(quint16 type, bool isGpos)
{
    // GSUB: 4 ligature, 5 context, 6 chaining context, 8 reverse chaining.
    // GPOS: 2 pair, 3 cursive, 4 mark to base, 5 mark to ligature, 6 mark to
    // mark, 7 context, 8 chaining context.
    if (isGpos)
        return type >= 2 && type <= 8;
    return type == 4 || type == 5 || type == 6 || type == 8;
}
