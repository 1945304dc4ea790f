#include "MemberStore.h"

#include "Folders.h"
#include "platform/FileNamer.h"
#include "platform/TemporaryFile.h"
#include "platform/UserFolders.h"
#include "sfnt/FileSuffix.h"
#include "sfnt/FontSource.h"
#include "sfnt/MemberFont.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The full name (name ID 4) of the font in a file; empty when it has none
// or is no readable font.
QString fileFullName(const QString &path)
{
    FontSource font(path);
    TableDirectory directory;
    if (!readTableDirectory(font, 0, &directory) || !isFontVersion(directory.sfntVersion))
        return {};
    const QByteArray nameTable = readNameTable(font, directory);
    return selectName(ByteView(nameTable.constData(), quint64(nameTable.size())), kFullNameId);
}

// The name of the member's copy: what a split of the collection gives it,
// every member before it named first by the one namer, except that a name
// whose file holds another font (a member of another collection: the
// regular and the bold collection of a family share family names) is
// passed over. The same on every run, so that a copy made earlier is found
// again, and an outdated one replaced. Empty when the member cannot be
// planned or named.
QString storedFileName(FontSource &collection, const QVector<quint32> &memberOffsets, int memberIndex,
                       const QString &folder, MemberFont *member)
{
    FileNamer namer([&folder](const QString &fileName, const FontNames &names) {
        const QString path = folder + QLatin1Char('/') + fileName;
        if (!QFileInfo::exists(path))
            return FileNamer::Presence::Absent;
        // A copy cut short or damaged is this folder's own junk, replaced like an outdated copy.
        const QString fullName = fileFullName(path);
        return fullName.isEmpty() || fullName == names.fullName ? FileNamer::Presence::Own : FileNamer::Presence::Other;
    });
    QString name;
    for (int index = 0; index <= memberIndex && index < memberOffsets.size(); ++index) {
        // A member at the offset of an earlier one is that member again.
        if (index < memberIndex && memberOffsets.indexOf(memberOffsets.at(index)) < index)
            continue;
        MemberFont planned;
        if (!planMemberFont(collection, memberOffsets.at(index), &planned))
            return {};
        name = namer.choose({planned.familyName, planned.fullName, planned.subfamilyName, index},
                            fontSuffixFor(planned.cff)).fileName;
        if (index == memberIndex)
            *member = planned;
    }
    return name;
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

StoredMember storedCollectionMember(const QString &collectionPath, int memberIndex, bool extract)
{
    StoredMember stored;
    FontSource collection(collectionPath);
    if (!collection.isOpen()) {
        stored.error = collection.errorString(); // the caller names the collection
        return stored;
    }
    QVector<quint32> memberOffsets;
    if (memberIndex < 0 || !readCollectionOffsets(collection, &memberOffsets) || memberIndex >= memberOffsets.size())
        return stored;
    stored.memberIndex = memberIndex;
    const QString folder = applicationDataFolder();
    if (folder.isEmpty()) {
        stored.error = QStringLiteral("no per-user data folder");
        return stored;
    }
    MemberFont member;
    const QString fileName = storedFileName(collection, memberOffsets, stored.memberIndex, folder, &member);
    if (fileName.isEmpty())
        return stored;

    const QString path = folder + QLatin1Char('/') + fileName;
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
    removeLeftoverTemporaryFiles(folder);
    TableChecksums checksums;
    TemporaryFile file(folder);
    int error = file.error();
    if (error == 0)
        error = writeMemberFont(collection, member, &checksums, file);
    if (error == 0)
        error = file.setModified(collectionModified);
    if (error == 0)
        error = file.place(path, TemporaryFile::Placing::Replace);
    if (error != 0) {
        stored.error = QDir::toNativeSeparators(path) + QStringLiteral(": ") + qt_error_string(error);
        return stored;
    }
    stored.path = path;
    return stored;
}
