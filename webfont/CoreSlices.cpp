#include "CoreSlices.h"

#include "ScriptRules.h"

#include <algorithm>

QVector<PlannedSlice> withCoreSlices(const QVector<PlannedSlice> &slices)
{
    QVector<PlannedSlice> out;
    for (const PlannedSlice &slice : slices) {
        out.append(slice);
        const qsizetype seldom = std::count_if(slice.codePoints.cbegin(), slice.codePoints.cend(), inSeldomUsedBlock);
        if (seldom < kLeastSeldomUsed || seldom * 8 < slice.codePoints.size()
            || slice.codePoints.size() - seldom < kSliceMinimumSize)
            continue;
        PlannedSlice core;
        for (const KeepList &unit : slice.units) {
            if (std::none_of(unit.cbegin(), unit.cend(), inSeldomUsedBlock))
                core.units.append(unit);
        }
        for (quint32 codePoint : slice.codePoints) {
            if (!inSeldomUsedBlock(codePoint))
                core.codePoints.append(codePoint);
        }
        // A character of the core that only a unit with a seldom-used one
        // held (a ligature of a letter and a Vedic sign) is a unit of its own.
        KeepList covered;
        for (const KeepList &unit : core.units)
            covered += unit;
        covered = sortedKeepList(covered);
        for (quint32 codePoint : core.codePoints) {
            if (!std::binary_search(covered.cbegin(), covered.cend(), codePoint))
                core.units.append(KeepList{codePoint});
        }
        out.append(core);
    }
    return out;
}
