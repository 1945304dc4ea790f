#include "FamilyLookup.h"

#include "platform/DefaultFace.h"
#include "platform/NameFolding.h"

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
