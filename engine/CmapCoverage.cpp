#include "CmapCoverage.h"

#include "platform/UnicodeCmap.h"
#include "sfnt/FontSource.h"
#include "sfnt/TableDirectory.h"
#include "sfnt/TableTags.h"

#include <algorithm>
#include <vector>

namespace {

constexpr quint16 kWindowsPlatform = 3;
constexpr quint16 kUnicodeBmpEncoding = 1;
constexpr quint16 kSegmentMappingFormat = 4;
constexpr quint64 kEncodingRecordSize = 8;

// The segments are tested for each keep value in turn, in stored order, and a
// segment whose start code is above its end code ends the test with false. So
// only the first value matters when such a segment exists; otherwise any hit
// counts, and sorted ranges answer each value in logarithmic time.
bool segmentsCover(ByteView subtable, const KeepList &keepList)
{
    quint16 segCountX2 = 0;
    subtable.readU16(6, &segCountX2);
    const quint64 segCount = segCountX2 / 2;
    // endCode[segCount], reservedPad, startCode[segCount]
    const ByteView endCodes = subtable.slice(14, segCount * 2);
    const ByteView startCodes = subtable.slice(16 + segCount * 2, segCount * 2);
    if (segCount == 0 || keepList.isEmpty() || endCodes.isNull() || startCodes.isNull())
        return false;

    std::vector<std::pair<quint16, quint16>> ranges; // usable segments before the first bad one
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
            ranges.emplace_back(start, end);
    }

    const auto hits = [&](quint32 value) {
        return std::any_of(ranges.begin(), ranges.end(), [value](const auto &range) {
            return range.first <= value && value <= range.second;
        });
    };
    if (badSegmentFound)
        return hits(keepList.first());

    // Merge the ranges so that each value needs one binary search.
    std::sort(ranges.begin(), ranges.end());
    std::vector<std::pair<quint16, quint16>> merged;
    for (const auto &range : ranges) {
        if (!merged.empty() && range.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    return std::any_of(keepList.begin(), keepList.end(), [&](quint32 value) {
        if (value > 0xFFFF)
            return false;
        auto next = std::upper_bound(merged.begin(), merged.end(), std::make_pair(quint16(value), quint16(0xFFFF)));
        return next != merged.begin() && value <= std::prev(next)->second;
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

bool fontFileCoversAny(const QString &path, const KeepList &keepList)
{
    FontSource source(path);
    TableDirectory directory;
    if (!readTableDirectory(source, 0, &directory))
        return false;
    const TableRecord *record = findTableRecord(directory, tableTags.at(TagCmap));
    if (!record)
        return false;
    const QByteArray cmap = readTable(source, *record);
    return cmapCoversAny(ByteView(cmap.constData(), quint64(cmap.size())), sortedKeepList(keepList));
}
