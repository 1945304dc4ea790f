#pragma once

#include <hb.h>

#include <memory>

// HarfBuzz handles owned by std::unique_ptr with their destroy functions, so
// that no path forgets one.
template <typename T, void (*destroy)(T *)>
struct HbDeleter
{
    void operator()(T *handle) const { destroy(handle); }
};
using HbBlobPtr = std::unique_ptr<hb_blob_t, HbDeleter<hb_blob_t, hb_blob_destroy>>;
using HbFacePtr = std::unique_ptr<hb_face_t, HbDeleter<hb_face_t, hb_face_destroy>>;
using HbFontPtr = std::unique_ptr<hb_font_t, HbDeleter<hb_font_t, hb_font_destroy>>;
