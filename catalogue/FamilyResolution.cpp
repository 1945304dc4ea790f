// Resolving an installed family to a loadable standalone font, extracting
// its member of an installed collection into the per-user folder on the way.

#include "Folders.h"
#include "MemberStore.h"
#include "engine/FontSubsetter.h"

QString FontSubsetter::catalogueFace(const QString &family) const
{
    const bool catalogued = !family.isEmpty() && !familyFiles.value(family.toLower()).isEmpty();
    return catalogued ? family : defaultFace;
}

QString FontSubsetter::fontFilePath(const QString &family) const
{
    return registeredFontPath(familyFiles.value(catalogueFace(family).toLower()));
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
