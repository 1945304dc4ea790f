// Resolving an installed family to a loadable standalone font: its member
// of an installed collection as the per-user folder holds it, or, until
// the copy is made there, when it cannot be, or for a subset of a collection
// that can be mapped, the member read from the collection.

#include "FamilyLookup.h"
#include "Folders.h"
#include "MemberStore.h"
#include "engine/FontSubsetter.h"
#include "platform/FileStatus.h"

bool FontSubsetter::isCataloguedFamily(const QString &family)
{
    loadInstalledFonts();
    return !lookUpFamily(familyFiles, family).file.isEmpty();
}

QString FontSubsetter::catalogueFace(const QString &family)
{
    loadInstalledFonts();
    const FamilyLookup found = lookUpFamily(familyFiles, family);
    return found.file.isEmpty() ? defaultFaceName() : found.face;
}

FamilyLookup FontSubsetter::lookUpFamilyOrDefault(const QString &family)
{
    loadInstalledFonts();
    const FamilyLookup found = lookUpFamily(familyFiles, family);
    return found.file.isEmpty() ? lookUpFamily(familyFiles, defaultFaceName()) : found;
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

FontSubsetter::SystemFont FontSubsetter::resolveSystemFont(const QString &family, MemberCopy copy)
{
    SystemFont font;
    font.path = fontFilePath(family);
    if (!isCollectionPath(font.path))
        return font;
    finishMemberCopy(); // of a font the job no longer reads
    const int memberIndex = catalogueFaceIndex(family);
    const StoredMember member = storedCollectionMember(font.path, memberIndex, copy == MemberCopy::Made);
    // A subset reads the member from a collection only root can write, which
    // is mapped, even when the copy is made: the copy, the user's own file,
    // would be read whole, 16 MB for a CJK member.
    if (!member.path.isEmpty() && !(copy == MemberCopy::MadeBeside && isSafeToMap(font.path))) {
        font.path = member.path;
        return font;
    }
    font.faceIndex = member.memberIndex;
    font.storeError = member.error;
    if (copy == MemberCopy::MadeBeside && member.path.isEmpty() && member.memberIndex >= 0 && member.error.isEmpty()) {
        const QString collectionPath = font.path;
        memberCopy = std::async(std::launch::async, [collectionPath, memberIndex] {
            return storedCollectionMember(collectionPath, memberIndex, true).error;
        });
    }
    return font;
}

QString FontSubsetter::finishMemberCopy()
{
    return memberCopy.valid() ? memberCopy.get() : QString();
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
