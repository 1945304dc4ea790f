// Fuzz target: a hostile font through a kit's face reading, the slice
// planner and the slice maker. Every code point is planned once, every
// sequence the font draws as one glyph is whole in some slice, and no slice
// maps a code point it was not cut for (its unicode-range would promise a
// glyph from another slice).

#include "platform/HarfBuzzHandles.h"
#include "webfont/SliceMaker.h"
#include "webfont/SlicePlanner.h"
#include "webfont/WebFace.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Slices made per input, and code points per slice: enough to reach every
// table the subsetter writes, few enough to keep the runs fast.
constexpr int kSlicesMade = 2;
constexpr int kCodePointsMade = 48;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const HbBlobPtr blob(hb_blob_create(reinterpret_cast<const char *>(data), unsigned(size), HB_MEMORY_MODE_READONLY,
                                        nullptr, nullptr));
    const HbFacePtr face(hb_face_create(blob.get(), 0));
    WebFace web;
    if (!readWebFace(face.get(), &web))
        return 0;

    SlicePlanInput input;
    input.codePoints = web.codePoints;
    input.blank = web.blank;
    input.frequencySlices = frequencySlices(web.language);
    input.targetSize = web.glyphsPerSlice;
    const QVector<KeepList> plan = planSlices(input);
    KeepList planned;
    for (const KeepList &slice : plan)
        planned += slice;
    std::sort(planned.begin(), planned.end());
    if (planned != web.codePoints)
        std::abort();
    // Every sequence whole in some slice, unless what the sequences and units
    // join may be cut (more code points than a unit takes).
    const int largestUnit = largestSequenceUnit(web.glyphsPerSlice);
    const QVector<PlannedSlice> whole = keepSequencesWhole(plan, web.sequences, web.layoutUnits, web.glyphsPerSlice,
                                                           largestUnit);
    KeepList joined;
    for (const QVector<KeepList> *lists : {&web.sequences, &web.layoutUnits}) {
        for (const KeepList &list : *lists)
            joined += list;
    }
    const bool mayBeCut = sortedKeepList(joined).size() > largestUnit;
    for (const KeepList &sequence : mayBeCut ? QVector<KeepList>() : web.sequences) {
        if (std::none_of(whole.cbegin(), whole.cend(), [&](const PlannedSlice &slice) {
                return std::all_of(sequence.cbegin(), sequence.cend(), [&](quint32 codePoint) {
                    return std::binary_search(slice.codePoints.cbegin(), slice.codePoints.cend(), codePoint);
                });
            }))
            std::abort();
    }

    QVector<SliceTask> tasks;
    for (const PlannedSlice &slice : whole.mid(0, kSlicesMade))
        tasks.append({face.get(), slice.codePoints.mid(0, kCodePointsMade), {}, &web.variationSelectors,
                      &web.measuredBy, 0});
    const QVector<MadeSlice> made = makeSlices(tasks, 1, {}, nullptr);
    for (int i = 0; i < made.size(); ++i) {
        const KeepList &asked = tasks.at(i).codePoints;
        for (quint32 codePoint : made.at(i).mapped) {
            if (!std::binary_search(asked.cbegin(), asked.cend(), codePoint))
                std::abort();
        }
    }
    return 0;
}
