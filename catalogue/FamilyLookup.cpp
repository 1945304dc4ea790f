#include "FamilyLookup.h"

#include "Folders.h"

#include "platform/DefaultFace.h"
#include "platform/NameFolding.h"

#include <algorithm>
#include <iterator>

bool splitFoundry(const QString &name, QString *family, QString *foundry)
{
    // The foundry may end in a space ("URW "), as fontconfig reports it.
    const int open = name.lastIndexOf(QLatin1String(" ["));
    if (open <= 0 || !name.endsWith(QLatin1Char(']')))
        return false;
    *family = name.left(open);
    *foundry = name.mid(open + 2, name.size() - open - 3);
    return !foundry->contains(QLatin1Char('['));
}

QString foundryQualifiedName(const QString &family, const QString &foundry)
{
    return family + QLatin1String(" [") + foundry + QLatin1Char(']');
}

FamilyLookup lookUpFamily(const FontCatalogue &familyFiles, const QString &family)
{
    if (family.isEmpty())
        return {};
    const auto found = [&](const QString &face, const CataloguedFace &meant) {
        return FamilyLookup{face, meant.file, meant.index};
    };
    QString bareFamily, foundry;
    if (splitFoundry(family, &bareFamily, &foundry) && !familyFiles.value(foldedName(bareFamily)).isEmpty()) {
        const CataloguedFace fromFoundry = familyFiles.face(foldedName(family));
        return found(bareFamily, fromFoundry.file.isEmpty() ? familyFiles.face(foldedName(bareFamily)) : fromFoundry);
    }
    const CataloguedFace meant = familyFiles.face(foldedName(family));
    if (!meant.file.isEmpty())
        return found(family, meant);
    const QString generic = genericFamilyFace(family);
    const CataloguedFace drawnWith = generic.isEmpty() ? CataloguedFace() : familyFiles.face(foldedName(generic));
    if (!drawnWith.file.isEmpty())
        return found(generic, drawnWith);
    const CataloguedFace nearly = familyFiles.faceIgnoringBlanks(foldedName(family));
    if (!nearly.file.isEmpty())
        return found(family, nearly);
    return {};
}

QVector<InstalledFace> lookUpFamilyFaces(const FontCatalogue &familyFiles, const QString &family)
{
    const FamilyLookup found = lookUpFamily(familyFiles, family);
    if (found.file.isEmpty())
        return {};
    const QVector<InstalledFace> faces = installedFamilyFaces(found.face);
    const QString chosen = registeredFontPath(found.file);
    const auto chosenFace = std::find_if(faces.cbegin(), faces.cend(),
                                         [&](const InstalledFace &face) { return isSameFile(face.file, chosen); });
    if (chosenFace == faces.cend())
        return faces;
    QVector<InstalledFace> sameFoundry;
    std::copy_if(faces.cbegin(), faces.cend(), std::back_inserter(sameFoundry),
                 [&](const InstalledFace &face) { return face.foundry == chosenFace->foundry; });
    return sameFoundry;
}
