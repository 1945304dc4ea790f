#pragma once

#include "TableDirectory.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class FontSource;

// How one member of a collection becomes a standalone font: its own offset
// table and records with recomputed offsets, then its tables copied byte for
// byte from the collection, each starting on a 4-byte boundary and padded
// with zeros. Only head.checkSumAdjustment is computed anew, for the whole
// standalone file.
struct MemberFont
{
    QByteArray header;                // offset table and records, offsets recomputed
    QVector<TableRecord> tables;      // where each table's bytes lie in the collection
    quint64 size = 0;                 // of the standalone font
    bool cff = false;                 // CFF outlines: written as .otf
    qint64 checkSumAdjustmentAt = -1; // in the standalone font; -1 without a usable head table
    quint32 storedCheckSumAdjustment = 0; // the collection's value, part of the head table's checksum
    QString familyName;               // from the member's `name` table
    QString fullName;
};

// Plans the member whose offset table is at memberOffset. False when the
// member is neither TrueType nor CFF, or any of its structures lies outside
// the collection.
bool planMemberFont(FontSource &collection, quint32 memberOffset, MemberFont *member);

// Checksums of the collection's tables, by (offset, length): members share tables.
using TableChecksums = QHash<QPair<quint32, quint32>, quint32>;

// Writes the member whole into a new hidden file in folder, for the caller to
// rename into place, and gives it the modification time `modified` when that
// is valid. Returns the file's path; on failure an empty path, with the
// system's reason in *error, and no file left behind.
QString writeMemberToTemporaryFile(FontSource &collection, const MemberFont &member, const QString &folder,
                                   TableChecksums *checksums, QString *error,
                                   const QDateTime &modified = QDateTime());

// What became of one member in a split.
struct SplitMember
{
    enum Status {
        Written, // a new file
        Kept,    // a file of that name existed and was left as it was
        Skipped, // its family name cannot be a file name here
        Failed,  // could not be written; error says why
    };
    Status status = Failed;
    int index = 0;   // in the collection
    QString name;    // the file name; the family name when skipped
    QString path;    // where the file is, or would have been
    QString error;   // the system's reason
    quint64 size = 0;
};

struct SplitReport
{
    enum Refusal { None, Missing, NotACollection, DamagedMember };
    Refusal refusal = None;
    QVector<SplitMember> members; // every member visited, in collection order
};

// Writes every member of a .ttc or .otc collection into outDir as a
// standalone font named after its family name, .ttf or .otf by its outlines.
// A member whose family name an earlier member already used is named after
// its full name, and when that is taken too, "<family name> <index>". An
// existing file is never replaced. True when the collection was read whole
// and no member failed; the walk stops at a damaged member, and earlier
// members' files stay. The report, when given, tells member by member.
bool splitCollection(const QString &collectionPath, const QString &outDir, SplitReport *report = nullptr);

// Whether a family name can name a visible file inside a folder: not empty,
// no leading dot, no path separator, and the same once encoded for the file
// system.
bool isUsableFileName(const QString &name);
