// Resolving an installed family to a loadable standalone font, extracting
// its member of an installed collection into the per-user folder on the way,
// or, when no copy can be had there, loading the member from the collection.

#include "FamilyLookup.h"
#include "Folders.h"
#include "MemberStore.h"
#include "engine/FontSubsetter.h"

bool FontSubsetter::isCataloguedFamily(const QString &family)
{
    loadInstalledFonts();
    return !lookUpFamily(familyFiles, family).file.isEmpty();
}

QString FontSubsetter::catalogueFace(const QString &family)
{
    loadInstalledFonts();
    const FamilyLookup found = lookUpFamily(familyFiles, family);
    return found.file.isEmpty() ? defaultFace : found.face;
}

FamilyLookup FontSubsetter::lookUpFamilyOrDefault(const QString &family)
{
    loadInstalledFonts();
    const FamilyLookup found = lookUpFamily(familyFiles, family);
    return found.file.isEmpty() ? lookUpFamily(familyFiles, defaultFace) : found;
}

QString FontSubsetter::fontFilePath(const QString &family)
{
    return registeredFontPath(lookUpFamilyOrDefault(family).file);
}

int FontSubsetter::catalogueFaceIndex(const QString &family)
{
    return lookUpFamilyOrDefault(family).index;
}

QString FontSubsetter::findExtractedFont(const QString &family)
{
    const QString path = fontFilePath(family);
    return isCollectionPath(path) ? storedCollectionMember(path, catalogueFaceIndex(family), false).path : QString();
}

FontSubsetter::SystemFont FontSubsetter::resolveSystemFont(const QString &family)
{
    SystemFont font;
    font.path = fontFilePath(family);
    if (!isCollectionPath(font.path))
        return font;
    const StoredMember member = storedCollectionMember(font.path, catalogueFaceIndex(family), true);
    if (!member.path.isEmpty()) {
        font.path = member.path;
    } else {
        font.faceIndex = member.memberIndex;
        font.storeError = member.error;
    }
    return font;
}

QString FontSubsetter::systemFontPath(const QString &family)
{
    return resolveSystemFont(family).path;
}

bool FontSubsetter::loadSystemFont(const QString &family)
{
    return loadResolvedFont(resolveSystemFont(family));
}

bool FontSubsetter::loadResolvedFont(const SystemFont &font)
{
    // A collection without a member that answers to the family stays
    // unloaded, as a collection path is no font file.
    return loadFont(font.path, font.faceIndex);
}
