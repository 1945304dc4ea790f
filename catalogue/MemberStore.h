#pragma once

#include <QString>

// Members of installed collections kept as standalone fonts in the per-user
// folder, so that a family inside a collection loads like any font file. Only
// the member a family needs is extracted, once: a file per member, named as
// a split of its collection names it (passing over names that hold another
// collection's font), .ttf or .otf by its outlines, and carrying
// the collection's modification time, by which a copy made before the
// collection was last replaced (a package upgrade) is told apart.

// The per-user copy of the collection's member at `memberIndex` (the face
// the catalogue resolved a family to). With `extract`, a copy that is
// missing, cut short, damaged or not of the collection as it is now is
// written anew.
struct StoredMember
{
    QString path;  // of the current copy; empty when there is none
    // Why no copy could be had, in the system's words, naming the folder or
    // file, but for the collection itself, which the caller names.
    QString error;
    int memberIndex = -1; // of the member; -1 when the collection has none there
};
StoredMember storedCollectionMember(const QString &collectionPath, int memberIndex, bool extract);

// Whether the path names a collection by its last three characters (".ttc", ".otc").
bool isCollectionPath(const QString &path);
