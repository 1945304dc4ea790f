#pragma once

#include <fontconfig/fontconfig.h>

#include <memory>

// fontconfig handles owned by std::unique_ptr with their destroy functions,
// so that no path forgets one.
template <typename T, void (*destroy)(T *)>
struct FcDeleter
{
    void operator()(T *handle) const { destroy(handle); }
};
using FcPatternPtr = std::unique_ptr<FcPattern, FcDeleter<FcPattern, FcPatternDestroy>>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, FcDeleter<FcObjectSet, FcObjectSetDestroy>>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, FcDeleter<FcFontSet, FcFontSetDestroy>>;
using FcConfigPtr = std::unique_ptr<FcConfig, FcDeleter<FcConfig, FcConfigDestroy>>;
