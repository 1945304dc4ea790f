#include "CmapCoverage.h"

#include "platform/UnicodeCmap.h"

#include <algorithm>
#include <vector>

namespace {

constexpr quint16 kWindowsPlatform = 3;
constexpr quint16 kUnicodeBmpEncoding = 1;
constexpr quint16 kSegmentMappingFormat = 4;
constexpr quint64 kEncodingRecordSize = 8;

// The glyph that a segment of a format 4 subtable maps a value of its range
// to: by idDelta, or through idRangeOffset into the glyph array. 0 (.notdef)
// for anything that lies outside the subtable.
quint16 segmentGlyph(ByteView subtable, quint64 segCount, quint64 segment, quint16 start, quint32 value)
{
    quint16 idDelta = 0, idRangeOffset = 0;
    const quint64 rangeOffsetAt = 16 + segCount * 6 + segment * 2;
    if (!subtable.readU16(16 + segCount * 4 + segment * 2, &idDelta) || !subtable.readU16(rangeOffsetAt, &idRangeOffset))
        return 0;
    if (idRangeOffset == 0)
        return quint16(value + idDelta);
    quint16 glyph = 0;
    if (!subtable.readU16(rangeOffsetAt + idRangeOffset + (value - start) * 2, &glyph) || glyph == 0)
        return 0;
    return quint16(glyph + idDelta);
}

// The segments are tested for each keep value in turn, in stored order, and a
// segment whose start code is above its end code ends the test with false. So
// only the first value matters when such a segment exists; otherwise any hit
// counts, and ranges sorted by start answer each value in logarithmic time.
// A value in a segment's range is a hit only when the segment maps it to a
// glyph other than .notdef.
bool segmentsCover(ByteView subtable, const KeepList &keepList)
{
    quint16 segCountX2 = 0;
    subtable.readU16(6, &segCountX2);
    const quint64 segCount = segCountX2 / 2;
    // endCode[segCount], reservedPad, startCode[segCount], idDelta[segCount], idRangeOffset[segCount]
    const ByteView endCodes = subtable.slice(14, segCount * 2);
    const ByteView startCodes = subtable.slice(16 + segCount * 2, segCount * 2);
    if (segCount == 0 || keepList.isEmpty() || endCodes.isNull() || startCodes.isNull())
        return false;

    struct Range
    {
        quint16 start;
        quint16 end;
        quint64 segment;
    };
    std::vector<Range> ranges; // usable segments before the first bad one
    bool badSegmentFound = false;
    for (quint64 segment = 0; segment < segCount; ++segment) {
        quint16 start = 0, end = 0;
        startCodes.readU16(segment * 2, &start);
        endCodes.readU16(segment * 2, &end);
        if (start > end) {
            badSegmentFound = true;
            break;
        }
        if (start != 0xFFFF && end != 0xFFFF)
            ranges.push_back({start, end, segment});
    }
    const auto hit = [&](const Range &range, quint32 value) {
        return range.start <= value && value <= range.end
                && segmentGlyph(subtable, segCount, range.segment, range.start, value) != 0;
    };
    if (badSegmentFound) {
        const quint32 first = keepList.first();
        return std::any_of(ranges.begin(), ranges.end(), [&](const Range &range) { return hit(range, first); });
    }

    // By start, with the furthest end reached so far, so that the walk back
    // from a value stops at the first range that cannot hold it.
    std::sort(ranges.begin(), ranges.end(), [](const Range &a, const Range &b) { return a.start < b.start; });
    std::vector<quint16> reach(ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i)
        reach[i] = std::max(ranges[i].end, i ? reach[i - 1] : quint16(0));
    return std::any_of(keepList.begin(), keepList.end(), [&](quint32 value) {
        if (value > 0xFFFF)
            return false;
        auto next = std::upper_bound(ranges.begin(), ranges.end(), value,
                                     [](quint32 v, const Range &range) { return v < range.start; });
        for (size_t i = size_t(next - ranges.begin()); i-- > 0 && reach[i] >= value;) {
            if (hit(ranges[i], value))
                return true;
        }
        return false;
    });
}

} // namespace

bool formatFourSegmentsCoverAny(ByteView cmap, const KeepList &keepList)
{
    quint16 numTables = 0;
    if (!cmap.readU16(2, &numTables))
        return false;

    for (quint64 i = 0; i < numTables; ++i) {
        const ByteView record = cmap.slice(4 + i * kEncodingRecordSize, kEncodingRecordSize);
        if (record.isNull())
            return false; // the records run past the end of the table
        quint16 platformID = 0, encodingID = 0;
        quint32 offset = 0;
        record.readU16(0, &platformID);
        record.readU16(2, &encodingID);
        record.readU32(4, &offset);
        if (platformID != kWindowsPlatform && encodingID != kUnicodeBmpEncoding)
            continue;

        // A subtable outside the table is a missing one: try the next record.
        const ByteView subtable = cmap.from(offset);
        quint16 format = 0;
        if (!subtable.readU16(0, &format) || format != kSegmentMappingFormat)
            continue;
        return segmentsCover(subtable, keepList);
    }
    return false;
}

bool cmapCoversAny(ByteView cmap, const KeepList &keepList)
{
    return formatFourSegmentsCoverAny(cmap, keepList) || cmapMapsAny(cmap, keepList);
}
