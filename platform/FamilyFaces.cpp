#include "FamilyFaces.h"

#include "FontconfigHandles.h"

#include <algorithm>

QVector<InstalledFace> installedFamilyFaces(const QString &family)
{
    QVector<InstalledFace> faces;
    if (family.isEmpty() || !FcInit() || !FcInitBringUptoDate())
        return faces;
    const QByteArray name = family.toUtf8();
    FcPatternPtr pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcObjectSetPtr objects(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FOUNDRY, nullptr));
    FcFontSetPtr fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!fonts)
        return faces;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8 *file = nullptr;
        int index = 0;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) != FcResultMatch || !file)
            continue;
        FcPatternGetInteger(fonts->fonts[i], FC_INDEX, 0, &index);
        // fontconfig numbers a variable font's named instances (index >> 16).
        if (index < 0 || index > 0xFFFF)
            continue;
        FcChar8 *foundry = nullptr;
        FcPatternGetString(fonts->fonts[i], FC_FOUNDRY, 0, &foundry);
        faces.append({QString::fromUtf8(reinterpret_cast<const char *>(file)), index,
                      foundry ? QString::fromUtf8(reinterpret_cast<const char *>(foundry)) : QString()});
    }
    std::sort(faces.begin(), faces.end(), [](const InstalledFace &a, const InstalledFace &b) {
        return a.file != b.file ? a.file < b.file : a.index < b.index;
    });
    faces.erase(std::unique(faces.begin(), faces.end(),
                            [](const InstalledFace &a, const InstalledFace &b) { return a.file == b.file && a.index == b.index; }),
                faces.end());
    return faces;
}
