#pragma once

#include <QString>
#include <QVector>

// What became of one member in a split.
struct SplitMember
{
    enum Status {
        Written,   // a new file
        Kept,      // a file of that name was there before the run and was left as it was
        Duplicate, // the same offset table as an earlier member: one font, written once
        Skipped,   // no family name that can be a file name; name holds it, printable
        Failed,    // could not be written; error says why
    };
    Status status = Failed;
    int index = 0;        // in the collection
    int duplicateOf = -1; // for a duplicate, the member it repeats
    QString name;         // the file name; the family name when skipped
    QString path;         // where the file is, or would have been
    QString error;        // the system's reason
    quint64 size = 0;
};

struct SplitReport
{
    enum Refusal { None, Missing, NotACollection, DamagedMember, NoSpace };
    Refusal refusal = None;
    QVector<SplitMember> members; // every member visited, in collection order
    quint64 neededBytes = 0;      // for NoSpace: what the new files would take
    quint64 freeBytes = 0;        // and what the folder's file system has
};

// Writes every member of a .ttc or .otc collection into outDir as a
// standalone font, .ttf or .otf by its outlines, named by the one namer
// (FileNamer): its family, else its full name, "family subfamily", "family
// N"; a member whose family has no printable character is "<collection's base
// name> N". An existing file is never replaced: a file of the same font (its
// full name) is kept, and one of another font (another weight of the family,
// split from its own collection) passes the name on, so the member takes its
// full name. A leftover temporary file of a killed run is removed first.
// Nothing is written when the new files would not fit in the free space. True when the collection was read whole, some
// member is in the folder, and no member failed; the walk stops at a damaged
// member, and earlier members' files stay. The report, when given, tells
// member by member.
bool splitCollection(const QString &collectionPath, const QString &outDir, SplitReport *report = nullptr);
