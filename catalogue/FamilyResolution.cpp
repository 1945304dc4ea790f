// Resolving an installed family to a loadable standalone font, extracting
// its member of an installed collection into the per-user folder on the way.

#include "FamilyLookup.h"
#include "Folders.h"
#include "MemberStore.h"
#include "engine/FontSubsetter.h"

bool FontSubsetter::isCataloguedFamily(const QString &family) const
{
    return !lookUpFamily(familyFiles, family).file.isEmpty();
}

QString FontSubsetter::catalogueFace(const QString &family) const
{
    const FamilyLookup found = lookUpFamily(familyFiles, family);
    return found.file.isEmpty() ? defaultFace : found.face;
}

QString FontSubsetter::fontFilePath(const QString &family) const
{
    const FamilyLookup found = lookUpFamily(familyFiles, family);
    return registeredFontPath(found.file.isEmpty() ? lookUpFamily(familyFiles, defaultFace).file : found.file);
}

QString FontSubsetter::findExtractedFont(const QString &family) const
{
    const QString path = fontFilePath(family);
    return isCollectionPath(path) ? storedCollectionMember(path, catalogueFace(family), false) : QString();
}

QString FontSubsetter::systemFontPath(const QString &family)
{
    const QString path = fontFilePath(family);
    if (!isCollectionPath(path))
        return path;
    const QString member = storedCollectionMember(path, catalogueFace(family), true);
    return member.isEmpty() ? path : member;
}

bool FontSubsetter::loadSystemFont(const QString &family)
{
    return loadFont(systemFontPath(family), Reading::Mapped);
}
