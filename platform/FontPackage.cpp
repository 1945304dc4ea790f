#include "FontPackage.h"

#include "SubsetFace.h"
#include "SubsetFeatures.h"

#include "HarfBuzzHandles.h"

#include <hb-subset.h>

#include <cstring>

namespace {

using InputPtr = std::unique_ptr<hb_subset_input_t, HbDeleter<hb_subset_input_t, hb_subset_input_destroy>>;

void keepEverything(hb_set_t *set)
{
    hb_set_clear(set);
    hb_set_invert(set);
}

} // namespace

quint32 createFontPackage(const uchar *sourceFont, quint32 sourceSize,
                          uchar **fontPackageBuffer, quint32 *fontPackageBufferSize,
                          quint32 *bytesWritten, quint16 flags, quint16 ttcIndex,
                          quint16 subsetFormat, quint16 subsetLanguage, quint16 platformId,
                          quint16 encodingId, const quint32 *keepList, quint32 keepListCount,
                          FontPackageAlloc allocate, FontPackageRealloc reallocate,
                          FontPackageFree release, void *reserved)
{
    using namespace FontPackage;
    Q_UNUSED(reallocate);
    Q_UNUSED(release);
    Q_UNUSED(reserved);

    if (!sourceFont || sourceSize == 0 || !fontPackageBuffer || !fontPackageBufferSize
        || !bytesWritten || !allocate || (keepListCount > 0 && !keepList))
        return ErrorBadArguments;
    *fontPackageBuffer = nullptr;
    *fontPackageBufferSize = 0;
    *bytesWritten = 0;

    if (!(flags & FlagSubset) || (flags & (FlagCompress | FlagGlyphList))
        || subsetFormat != StandaloneSubset || platformId != PlatformMicrosoft
        || encodingId != EncodingUcs4)
        return ErrorUnsupported;

    HbBlobPtr source(hb_blob_create(reinterpret_cast<const char *>(sourceFont), sourceSize,
                                  HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    HbFacePtr face(hb_face_create(source.get(), (flags & FlagCollection) ? ttcIndex : 0));
    if (hb_face_get_glyph_count(face.get()) == 0)
        return ErrorNotAFont;

    InputPtr input(hb_subset_input_create_or_fail());
    if (!input)
        return ErrorOutOfMemory;

    hb_set_t *unicodes = hb_subset_input_unicode_set(input.get());
    for (quint32 i = 0; i < keepListCount; ++i)
        hb_set_add(unicodes, keepList[i]);

    // Keep .notdef with its outline, hinting, and every name record: every
    // name ID, every platform, and every language unless one was asked for.
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_NOTDEF_OUTLINE | HB_SUBSET_FLAGS_NAME_LEGACY);
    keepEverything(hb_subset_input_set(input.get(), HB_SUBSET_SETS_NAME_ID));
    hb_set_t *languages = hb_subset_input_set(input.get(), HB_SUBSET_SETS_NAME_LANG_ID);
    if (subsetLanguage == AllLanguages) {
        keepEverything(languages);
    } else {
        hb_set_clear(languages);
        hb_set_add(languages, subsetLanguage);
    }

    keepEveryLayoutFeature(input.get());

    HbFacePtr subset(subsetFace(face.get(), input.get(), LegacyKern::Kept));
    if (!subset)
        return ErrorSubsetFailed;
    HbBlobPtr result(hb_face_reference_blob(subset.get()));
    unsigned int length = 0;
    const char *data = hb_blob_get_data(result.get(), &length);
    if (!data || length == 0)
        return ErrorSubsetFailed;

    auto *buffer = static_cast<uchar *>(allocate(length));
    if (!buffer)
        return ErrorOutOfMemory;
    std::memcpy(buffer, data, length);
    *fontPackageBuffer = buffer;
    *fontPackageBufferSize = length;
    *bytesWritten = length;
    return Ok;
}
