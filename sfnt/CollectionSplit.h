#pragma once

#include "TableDirectory.h"

#include <QString>
#include <QStringList>

class FontSource;

// How one member of a collection becomes a standalone font: its own offset
// table and records with recomputed offsets, then its tables copied byte for
// byte from the collection, each starting on a 4-byte boundary and padded
// with zeros.
struct MemberFont
{
    QByteArray header;             // offset table and records, offsets recomputed
    QVector<TableRecord> tables;   // where each table's bytes lie in the collection
    quint64 size = 0;              // of the standalone font
    QString familyName;            // from the member's `name` table
};

// Plans the member whose offset table is at memberOffset. False when the
// member is not TrueType or any of its structures lies outside the collection.
bool planMemberFont(FontSource &collection, quint32 memberOffset, MemberFont *member);

// Writes every TrueType member of a version 1.0 collection into outDir as
// "<family name>.ttf", never replacing an existing file. False when the file
// is refused, or the walk stopped at a member that is not TrueType, is
// damaged or could not be written whole; earlier members' files stay.
// writtenFiles, when given, receives the path of every file written.
bool splitCollection(const QString &ttcPath, const QString &outDir, QStringList *writtenFiles = nullptr);

// Whether a family name can name a visible file inside a folder: not empty,
// no leading dot, no path separator, and the same once encoded for the file
// system.
bool isUsableFileName(const QString &name);
