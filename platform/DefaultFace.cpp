#include "DefaultFace.h"

#include "FontconfigHandles.h"
#include "NameFolding.h"

namespace {

// The family of the font fontconfig would draw `family` with, after the
// configuration's substitutions (which follow the language, too).
QString matchedFamily(const char *family)
{
    if (!FcInit())
        return {};
    FcPatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8 *>(family)));
    if (!pattern)
        return {};
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    FcPatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *matched = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &matched) != FcResultMatch || !matched)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(matched));
}

} // namespace

QString desktopDefaultFace()
{
    return matchedFamily("sans-serif");
}

QString genericFamilyFace(const QString &family)
{
    // Qt's names for the generic families, then fontconfig's; fontconfig
    // knows only its own.
    static const struct
    {
        const char *name;
        const char *generic;
    } kGenericFamilies[] = {
        {"sans serif", "sans-serif"}, {"sans-serif", "sans-serif"},
        {"serif", "serif"},           {"monospace", "monospace"},
    };
    const QString folded = foldedName(family);
    for (const auto &generic : kGenericFamilies) {
        if (folded == QLatin1String(generic.name))
            return matchedFamily(generic.generic);
    }
    return {};
}
