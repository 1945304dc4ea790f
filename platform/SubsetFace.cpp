#include "SubsetFace.h"

#include "sfnt/LegacyKern.h"

#include <hb-ot.h>
#include <hb-subset.h>

#include <QByteArray>

#include <algorithm>

namespace {

using PlanPtr = std::unique_ptr<hb_subset_plan_t, HbDeleter<hb_subset_plan_t, hb_subset_plan_destroy>>;
using SetPtr = std::unique_ptr<hb_set_t, HbDeleter<hb_set_t, hb_set_destroy>>;

constexpr hb_tag_t kKernTag = HB_TAG('k', 'e', 'r', 'n');

QVector<KernSubtable> legacyKernOf(hb_face_t *face)
{
    const HbBlobPtr kern(hb_face_reference_table(face, kKernTag));
    unsigned length = 0;
    const char *data = hb_blob_get_data(kern.get(), &length);
    return readLegacyKern(ByteView(data, length));
}

// Whether GPOS has kerning of its own, which a shaper then applies instead.
bool gposKerns(hb_face_t *face)
{
    constexpr hb_tag_t kernFeature[] = {kKernTag, HB_TAG_NONE};
    const SetPtr gposKerning(hb_set_create());
    hb_ot_layout_collect_features(face, HB_OT_TAG_GPOS, nullptr, nullptr, kernFeature, gposKerning.get());
    return !hb_set_is_empty(gposKerning.get());
}

// The subset's legacy kern table, empty when none of the pairs survive.
QByteArray subsetKernTable(hb_face_t *face, const QVector<KernSubtable> &subtables, const hb_subset_plan_t *plan)
{
    if (subtables.isEmpty())
        return QByteArray();
    QVector<int> newGlyph(int(std::min(hb_face_get_glyph_count(face), 0x10000u)), -1);
    const hb_map_t *newToOld = hb_subset_plan_new_to_old_glyph_mapping(plan);
    const unsigned kept = hb_map_get_population(newToOld);
    for (hb_codepoint_t glyph = 0; glyph < kept && glyph <= 0xFFFF; ++glyph) {
        const hb_codepoint_t oldGlyph = hb_map_get(newToOld, glyph);
        if (oldGlyph < hb_codepoint_t(newGlyph.size()))
            newGlyph[int(oldGlyph)] = int(glyph);
    }
    return subsetLegacyKern(subtables, newGlyph);
}

} // namespace

QVector<KernSubtable> shapedLegacyKern(hb_face_t *face)
{
    QVector<KernSubtable> subtables = legacyKernOf(face);
    if (!subtables.isEmpty() && gposKerns(face))
        subtables.clear();
    return subtables;
}

HbFacePtr subsetFace(hb_face_t *face, const hb_subset_input_t *input, LegacyKern kern)
{
    const PlanPtr plan(hb_subset_plan_create_or_fail(face, input));
    if (!plan)
        return HbFacePtr();
    HbFacePtr subset(hb_subset_plan_execute_or_fail(plan.get()));
    if (!subset)
        return subset;
    // A HarfBuzz that subsets the table itself keeps its own.
    const HbBlobPtr kept(hb_face_reference_table(subset.get(), kKernTag));
    if (hb_blob_get_length(kept.get()) > 0)
        return subset;
    const QByteArray table = subsetKernTable(
            face, kern == LegacyKern::KeptIfShaped ? shapedLegacyKern(face) : legacyKernOf(face), plan.get());
    if (!table.isEmpty()) {
        // The subset is a face builder, which takes tables until its bytes
        // are first asked for; the builder keeps its own reference.
        const HbBlobPtr blob(hb_blob_create(table.constData(), unsigned(table.size()), HB_MEMORY_MODE_DUPLICATE,
                                            nullptr, nullptr));
        hb_face_builder_add_table(subset.get(), kKernTag, blob.get());
    }
    return subset;
}
