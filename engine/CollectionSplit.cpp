#include "CollectionSplit.h"

#include "platform/FileNamer.h"
#include "platform/TemporaryFile.h"
#include "sfnt/FileSuffix.h"
#include "sfnt/FontSource.h"
#include "sfnt/MemberFont.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableDirectory.h"

#include <QFileInfo>

#include <cerrno>

namespace {

// Writes the member under a temporary name and renames it to outcome->path,
// unless a file appeared there meanwhile (another process splitting the same
// collection, say).
void placeMember(FontSource &collection, const MemberFont &member, const QString &outDir,
                 TableChecksums *checksums, SplitMember *outcome)
{
    TemporaryFile file(outDir);
    int error = file.error();
    if (error == 0)
        error = writeMemberFont(collection, member, checksums, file);
    if (error == 0)
        error = file.place(outcome->path, TemporaryFile::Placing::NoReplace);
    if (error == 0) {
        outcome->status = SplitMember::Written;
        outcome->size = member.size;
    } else if (error == EEXIST && file.error() == 0) {
        outcome->status = SplitMember::Kept;
    } else {
        outcome->status = SplitMember::Failed;
        outcome->error = qt_error_string(error);
    }
}

// The full name (name ID 4) of the standalone font in a file; empty when it
// is no font that can be read, or has no full name.
QString fileFullName(const QString &path)
{
    FontSource font(path);
    TableDirectory directory;
    if (!font.isOpen() || !readTableDirectory(font, 0, &directory) || !isFontVersion(directory.sfntVersion))
        return {};
    const QByteArray nameTable = readNameTable(font, directory);
    return selectName(ByteView(nameTable.constData(), quint64(nameTable.size())), kFullNameId);
}

// What is at a member's file name: a file that holds another font (another
// weight or style of the family, split earlier from its own collection)
// makes the namer go on to the member's full name; any other file, the
// same font or one that cannot be told, is kept as it is.
FileNamer::Presence memberFilePresence(const QString &path, const FontNames &names)
{
    if (!QFileInfo::exists(path))
        return FileNamer::Presence::Absent;
    const QString fullName = fileFullName(path);
    return fullName.isEmpty() || fullName == names.fullName ? FileNamer::Presence::Own : FileNamer::Presence::Other;
}

quint64 roundedUp(quint64 size, quint64 unit)
{
    return unit ? (size + unit - 1) / unit * unit : size;
}

} // namespace

bool splitCollection(const QString &collectionPath, const QString &outDir, SplitReport *report)
{
    SplitReport ownReport;
    SplitReport &result = report ? *report : ownReport;
    result = SplitReport();
    if (!QFileInfo::exists(collectionPath)) {
        result.refusal = SplitReport::Missing;
        return false;
    }
    // The directories and `name` tables are read here, and each table once,
    // for the members' checksums; the tables themselves go from file to file.
    FontSource collection(collectionPath);
    QVector<quint32> memberOffsets;
    if (!hasCollectionSuffix(collectionPath) || !collection.isOpen()
        || !readCollectionOffsets(collection, &memberOffsets)) {
        result.refusal = SplitReport::NotACollection;
        return false;
    }
    removeLeftoverTemporaryFiles(outDir);

    // First every member's plan and name, so that the space they need is
    // known before the first byte is written.
    const QString folder = outDir + QLatin1Char('/');
    // A file already there is never replaced.
    FileNamer namer(
            [&folder](const QString &fileName, const FontNames &names) {
                return memberFilePresence(folder + fileName, names);
            },
            QFileInfo(collectionPath).completeBaseName());
    QHash<quint32, int> firstAtOffset;
    QHash<int, MemberFont> plans;
    quint64 fragment = 0, freeBytes = 0;
    bool readOnly = false;
    int spaceError = 0;
    const bool spaceKnown = folderSpace(outDir, &freeBytes, &fragment, &readOnly, &spaceError);
    for (int index = 0; index < memberOffsets.size(); ++index) {
        SplitMember outcome;
        outcome.index = index;
        const quint32 offset = memberOffsets.at(index);
        if (firstAtOffset.contains(offset)) {
            outcome.status = SplitMember::Duplicate;
            outcome.duplicateOf = firstAtOffset.value(offset);
            outcome.path = result.members.at(outcome.duplicateOf).path;
            result.members.append(outcome);
            continue;
        }
        firstAtOffset.insert(offset, index);
        MemberFont member;
        if (!planMemberFont(collection, offset, &member)) {
            result.refusal = SplitReport::DamagedMember;
            break;
        }
        const FileNamer::Choice choice =
                namer.choose({member.familyName, member.fullName, member.subfamilyName, index}, fontSuffixFor(member.cff));
        if (choice.fileName.isEmpty()) {
            outcome.status = SplitMember::Skipped;
            outcome.name = printableName(member.familyName);
        } else {
            outcome.name = choice.fileName;
            outcome.path = folder + choice.fileName;
            outcome.status = choice.existed ? SplitMember::Kept : SplitMember::Written;
            if (!choice.existed) {
                result.neededBytes += roundedUp(member.size, fragment);
                plans.insert(index, member);
            }
        }
        result.members.append(outcome);
    }
    // A read-only folder fails at its first file, with that reason.
    if (spaceKnown && !readOnly && result.neededBytes > freeBytes) {
        result.refusal = SplitReport::NoSpace;
        result.freeBytes = freeBytes;
        for (SplitMember &outcome : result.members) {
            if (outcome.status == SplitMember::Written) {
                outcome.status = SplitMember::Failed;
                outcome.error = qt_error_string(ENOSPC);
            }
        }
        return false;
    }

    TableChecksums checksums;
    bool anyInFolder = false, allPlaced = true;
    for (SplitMember &outcome : result.members) {
        if (outcome.status == SplitMember::Written)
            placeMember(collection, plans.value(outcome.index), outDir, &checksums, &outcome);
        anyInFolder = anyInFolder || outcome.status == SplitMember::Written || outcome.status == SplitMember::Kept;
        allPlaced = allPlaced && outcome.status != SplitMember::Failed;
    }
    // The renames themselves last through a power cut once the folder is
    // synced; a folder that cannot be (some network file systems) keeps the
    // files all the same.
    if (!plans.isEmpty())
        syncFolder(outDir);
    return result.refusal == SplitReport::None && anyInFolder && allPlaced;
}
