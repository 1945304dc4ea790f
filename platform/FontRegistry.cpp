#include "FontRegistry.h"

#include "FontconfigHandles.h"
#include "NameFolding.h"

#include <algorithm>

namespace {

QString patternString(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

} // namespace

FontRegistry::FontRegistry()
{
    // Picks up fonts and configuration changed since the last look.
    if (!FcInit() || !FcInitBringUptoDate())
        return;

    FcPatternPtr all(FcPatternCreate());
    FcObjectSetPtr objects(
            FcObjectSetBuild(FC_FILE, FC_FAMILY, FC_STYLE, FC_INDEX, FC_FOUNDRY, nullptr));
    FcFontSetPtr fonts(FcFontList(nullptr, all.get(), objects.get()));
    if (!fonts)
        return;

    // One entry per file: the faces of a collection share one name.
    QMap<QString, QStringList> facesByFile;
    QMap<QString, QString> foundryByFile;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern *font = fonts->fonts[i];
        const QString file = patternString(font, FC_FILE);
        if (file.isEmpty())
            continue;
        int index = 0;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        const QString face = (patternString(font, FC_FAMILY) + QLatin1Char(' ') + patternString(font, FC_STYLE)).trimmed();
        QStringList &faces = facesByFile[file];
        if (index >= 0 && !faces.contains(face))
            faces.append(face);
        if (!foundryByFile.contains(file))
            foundryByFile.insert(file, patternString(font, FC_FOUNDRY));
    }

    // Sorted by name, then by file, so the order never depends on fontconfig's.
    QVector<QPair<QString, QString>> entries; // (name, file)
    for (auto it = facesByFile.cbegin(); it != facesByFile.cend(); ++it) {
        QStringList faces = it.value();
        faces.sort();
        entries.append({faces.join(QLatin1String(" & ")), it.key()});
    }
    std::sort(entries.begin(), entries.end());
    for (const auto &entry : entries) {
        QString name = entry.first;
        // Names are found case folded, so they must differ when folded.
        for (int n = 2; m_entryByFoldedName.contains(foldedName(name)); ++n)
            name = entry.first + QLatin1String(" #") + QString::number(n);
        m_names.append(name);
        m_entryByFoldedName.insert(foldedName(name), {entry.second, foundryByFile.value(entry.second)});
    }
}

QVariant FontRegistry::value(const QString &name) const
{
    const auto it = m_entryByFoldedName.constFind(foldedName(name));
    return it == m_entryByFoldedName.cend() ? QVariant() : QVariant(it->file);
}

QString FontRegistry::foundry(const QString &name) const
{
    return m_entryByFoldedName.value(foldedName(name)).foundry;
}
