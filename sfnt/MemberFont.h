#pragma once

#include "TableDirectory.h"

#include <QHash>
#include <QString>
#include <QVector>

class FontSource;
class SfntSink;

// How one member of a collection becomes a standalone font: its own offset
// table and records with recomputed offsets, then its tables copied byte for
// byte from the collection, each starting on a 4-byte boundary and padded
// with zeros. Only head.checkSumAdjustment is computed anew, for the whole
// standalone file. Where the font goes is the caller's business.
struct MemberFont
{
    QByteArray header;                // offset table and records, offsets recomputed
    QVector<TableRecord> tables;      // where each table's bytes lie in the collection
    quint64 size = 0;                 // of the standalone font
    bool cff = false;                 // CFF outlines: written as .otf
    qint64 checkSumAdjustmentAt = -1; // in the standalone font; -1 without a usable head table
    quint32 storedCheckSumAdjustment = 0; // the collection's value, part of the head table's checksum
    QString familyName;               // from the member's `name` table, as stored
    QString fullName;
    QString subfamilyName;
};

// Plans the member whose offset table is at memberOffset. False when the
// member is neither TrueType nor CFF, or any of its structures lies outside
// the collection.
bool planMemberFont(FontSource &collection, quint32 memberOffset, MemberFont *member);

// Checksums of the collection's tables, by (offset, length): members share tables.
using TableChecksums = QHash<QPair<quint32, quint32>, quint32>;

// Writes the planned member to the sink. Each table is read once for its
// checksum (and remembered in *checksums), then copied from the collection's
// file by the sink. 0, or the errno of the first failure; EIO when the
// collection no longer holds the bytes it was planned from.
int writeMemberFont(FontSource &collection, const MemberFont &member, TableChecksums *checksums, SfntSink &sink);
