#include "DefaultFace.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace {
struct PatternDeleter
{
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
} // namespace

QString desktopDefaultFace()
{
    if (!FcInit())
        return {};
    PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8 *>("sans-serif")));
    if (!pattern)
        return {};
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *family = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch || !family)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(family));
}
