#pragma once

#include "FontSource.h"

#include <QString>
#include <QStringList>

// Builds the standalone font of the collection member whose offset table is
// at memberOffset: the member's own offset table and records, offsets
// recomputed, its tables copied byte for byte, each starting on a 4-byte
// boundary and padded with zeros. False when the member is not TrueType or
// any of its structures lies outside the collection.
bool buildMemberFont(FontSource &collection, quint32 memberOffset, QByteArray *font);

// Writes every TrueType member of a version 1.0 collection into outDir as
// "<family name>.ttf", never replacing an existing file. False when the file
// is refused, or the walk stopped at a member that is not TrueType, is
// damaged or could not be written whole; earlier members' files stay.
// writtenFiles, when given, receives the path of every file written.
bool splitCollection(const QString &ttcPath, const QString &outDir, QStringList *writtenFiles = nullptr);

// Whether a family name can name a file inside a folder: not empty, no path
// separator, and not "." or "..".
bool isUsableFileName(const QString &name);
