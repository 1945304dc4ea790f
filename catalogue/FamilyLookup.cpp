#include "FamilyLookup.h"

#include "Folders.h"

#include "platform/DefaultFace.h"
#include "platform/NameFolding.h"

#include <algorithm>
#include <iterator>

namespace {

// "C059 [UKWN]" as the family and the foundry; false for a name without one.
// The foundry may end in a space ("URW "), as fontconfig reports it.
bool splitFoundry(const QString &name, QString *family, QString *foundry)
{
    const int open = name.lastIndexOf(QLatin1String(" ["));
    if (open <= 0 || !name.endsWith(QLatin1Char(']')))
        return false;
    *family = name.left(open);
    *foundry = name.mid(open + 2, name.size() - open - 3);
    return !foundry->contains(QLatin1Char('['));
}

} // namespace

QString foundryQualifiedName(const QString &family, const QString &foundry)
{
    return family + QLatin1String(" [") + foundry + QLatin1Char(']');
}

FamilyLookup lookUpFamily(const QMap<QString, QString> &familyFiles, const QString &family)
{
    if (family.isEmpty())
        return {};
    QString bareFamily, foundry;
    if (splitFoundry(family, &bareFamily, &foundry)) {
        const QString anyFoundry = familyFiles.value(foldedName(bareFamily));
        if (!anyFoundry.isEmpty())
            return {bareFamily, familyFiles.value(foldedName(family), anyFoundry)};
    }
    const QString file = familyFiles.value(foldedName(family));
    if (!file.isEmpty())
        return {family, file};
    const QString generic = genericFamilyFace(family);
    const QString genericFile = generic.isEmpty() ? QString() : familyFiles.value(foldedName(generic));
    if (!genericFile.isEmpty())
        return {generic, genericFile};
    return {};
}

QVector<InstalledFace> lookUpFamilyFaces(const QMap<QString, QString> &familyFiles, const QString &family)
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
