#include "SubsetFeatures.h"

#include <hb-subset.h>

void keepEveryLayoutFeature(hb_subset_input_t *input)
{
    hb_set_t *features = hb_subset_input_set(input, HB_SUBSET_SETS_LAYOUT_FEATURE_TAG);
    hb_set_clear(features);
    hb_set_invert(features);
    hb_set_del(features, kLeftOutFeatureTag);
}
