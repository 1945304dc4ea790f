#include "MemberStore.h"

#include "CatalogueFaces.h"
#include "Folders.h"
#include "platform/NameFolding.h"
#include "platform/Rename.h"
#include "platform/UserFolders.h"
#include "sfnt/CollectionSplit.h"
#include "sfnt/FileSuffix.h"
#include "sfnt/FontSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The member a face name resolves to: the one catalogued under that name,
// else the most regular one that has it among its other names.
int memberFace(const QVector<CatalogueFace> &faces, const QString &foldedFace)
{
    int best = -1;
    for (int i = 0; i < faces.size(); ++i) {
        if (foldedName(faces.at(i).name) == foldedFace)
            return i;
        if (faces.at(i).answersTo(foldedFace) && (best < 0 || faces.at(i).styleDistance < faces.at(best).styleDistance))
            best = i;
    }
    return best;
}

// The member's full name, unless it cannot be a file name or another member
// of the collection shares it: then the collection's name and the member's index.
QString storedFileBaseName(const QVector<CatalogueFace> &faces, int at, const QString &collectionPath)
{
    const CatalogueFace &face = faces.at(at);
    const bool shared = std::any_of(faces.cbegin(), faces.cend(), [&](const CatalogueFace &other) {
        return other.memberIndex != face.memberIndex && foldedName(other.name) == foldedName(face.name);
    });
    if (!shared && isUsableFileName(face.name))
        return face.name;
    const QString indexed = QFileInfo(collectionPath).completeBaseName() + QLatin1Char(' ')
            + QString::number(face.memberIndex);
    return isUsableFileName(indexed) ? indexed : QString();
}

bool isCurrentCopy(const QString &path, const MemberFont &member, const QDateTime &collectionModified)
{
    const QFileInfo info(path);
    if (!info.isFile() || quint64(info.size()) != member.size || info.lastModified() != collectionModified)
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(member.header.size()) == member.header;
}

} // namespace

bool isCollectionPath(const QString &path)
{
    const QString ending = path.right(3).toLower();
    return ending == QLatin1String("ttc") || ending == QLatin1String("otc");
}

StoredMember storedCollectionMember(const QString &collectionPath, const QString &face, bool extract)
{
    StoredMember stored;
    FontSource collection(collectionPath);
    if (!collection.isOpen()) {
        stored.error = collection.errorString(); // the caller names the collection
        return stored;
    }
    const QVector<CatalogueFace> faces = readCollectionFaces(collection);
    const int at = memberFace(faces, foldedName(face));
    if (at < 0)
        return stored;
    stored.memberIndex = faces.at(at).memberIndex;
    const QString baseName = storedFileBaseName(faces, at, collectionPath);

    QVector<quint32> memberOffsets;
    MemberFont member;
    if (baseName.isEmpty() || !readCollectionOffsets(collection, &memberOffsets)
        || !planMemberFont(collection, memberOffsets.value(faces.at(at).memberIndex), &member))
        return stored;

    const QString folder = applicationDataFolder();
    if (folder.isEmpty()) {
        stored.error = QStringLiteral("no per-user data folder");
        return stored;
    }
    const QString path = folder + QLatin1Char('/') + baseName + fontSuffixFor(member.cff);
    const QDateTime collectionModified = QFileInfo(collectionPath).lastModified();
    if (isCurrentCopy(path, member, collectionModified)) {
        stored.path = path;
        return stored;
    }
    if (!extract)
        return stored;
    stored.error = makeFolder(folder);
    if (!stored.error.isEmpty())
        return stored;

    // Another process may extract the same member at once: each writes a
    // file of its own and renames it over the other's, which is identical.
    TableChecksums checksums;
    const QString temporaryPath =
            writeMemberToTemporaryFile(collection, member, folder, &checksums, &stored.error, collectionModified);
    if (temporaryPath.isEmpty()) {
        stored.error = QDir::toNativeSeparators(folder) + QStringLiteral(": ") + stored.error;
        return stored;
    }
    const int renameError = renameReplacing(temporaryPath, path);
    if (renameError != 0) {
        QFile::remove(temporaryPath);
        stored.error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + qt_error_string(renameError);
        return stored;
    }
    stored.path = path;
    return stored;
}
