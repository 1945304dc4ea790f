// The installed-font catalogue: font names, case folded, mapped to the file
// each was registered with.

#include "RegistryFonts.h"

#include "CatalogueFaces.h"
#include "FamilyLookup.h"
#include "Folders.h"
#include "engine/FontSubsetter.h"
#include "platform/FontRegistry.h"
#include "platform/NameFolding.h"

#include <QSet>

namespace {

// A key goes to a new file when that file's face is at least as regular as
// the one holding it, so a family resolves to its upright, normal-weight face
// and, among equals, to the file registered last.
void enterName(QMap<QString, QString> *files, QMap<QString, int> *distances, const QString &key,
               const QString &file, int styleDistance)
{
    const auto held = distances->constFind(key);
    if (held != distances->cend() && held.value() < styleDistance)
        return;
    files->insert(key, file);
    distances->insert(key, styleDistance);
}

} // namespace

void FontSubsetter::loadRegistryFonts()
{
    catalogueRegisteredFonts(FontRegistry(), &familyFiles);
}

void catalogueRegisteredFonts(const FontRegistry &registry, QMap<QString, QString> *familyFiles)
{
    QMap<QString, int> distances;

    struct OtherName
    {
        QString key;
        QString file;
        int styleDistance;
    };
    QVector<OtherName> otherNames;

    for (const QString &entry : registry.allKeys()) {
        const QString file = registry.value(entry).toString();
        // Only the last three characters decide; no dot is needed.
        const QString ending = file.mid(file.size() - 3, 3).toLower();
        const bool isSingleFont = ending == QLatin1String("ttf") || ending == QLatin1String("otf");
        if (!isSingleFont && ending != QLatin1String("ttc") && ending != QLatin1String("otc"))
            continue;

        const QString path = registeredFontPath(file);
        const QVector<CatalogueFace> faces = isSingleFont ? QVector<CatalogueFace>{readFontFileFace(path)}
                                                        : readCollectionFaces(path);
        const QString foundry = registry.foundry(entry);
        for (const CatalogueFace &face : faces) {
            enterName(familyFiles, &distances, foldedName(face.name), file, face.styleDistance);
            for (const QString &name : face.otherNames)
                otherNames.append({foldedName(name), file, face.styleDistance});
            // Where two foundries make a family, the family list names each
            // ("C059 [UKWN]"): those names find that foundry's file.
            if (!foundry.isEmpty()) {
                for (const QString &name : QStringList(face.name) + face.otherNames)
                    otherNames.append({foldedName(foundryQualifiedName(name, foundry)), file, face.styleDistance});
            }
        }
    }

    // The family list shows the names fontconfig reports (the English or
    // typographic family name, mostly), so every Windows family, full and
    // typographic family name of a file is a key too, but never in place of a
    // name entered above.
    const QSet<QString> selectedKeys(familyFiles->keyBegin(), familyFiles->keyEnd());
    for (const OtherName &other : otherNames) {
        if (!selectedKeys.contains(other.key))
            enterName(familyFiles, &distances, other.key, other.file, other.styleDistance);
    }
}
