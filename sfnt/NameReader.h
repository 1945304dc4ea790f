#pragma once

#include "base/ByteView.h"

#include <QString>
#include <QStringList>

#include <functional>

class FontSource;
struct TableDirectory;

constexpr quint16 kFamilyNameId = 1;
constexpr quint16 kSubfamilyNameId = 2;
constexpr quint16 kFullNameId = 4;
constexpr quint16 kTypographicFamilyNameId = 16;

// The longest name a reader returns, in UTF-16 code units; longer names are cut.
constexpr int kMaxNameUnits = 511;

// The record count of a `name` table. False when the table is too short for
// its header and records: such a table counts as missing.
bool readNameCount(ByteView nameTable, quint16 *count);

// Picks the Windows-platform name with this name ID: the first Chinese (PRC)
// record, or the first Symbol-encoded one, wins at once; otherwise the last
// English record. Empty when no record qualifies.
QString selectName(ByteView nameTable, quint16 wantedNameId);

// Every Windows-platform name with this name ID, in any language, in stored order.
QStringList windowsNames(ByteView nameTable, quint16 nameId);

// The font's first `name` table; empty when it has none or it runs past the end.
QByteArray readNameTable(FontSource &source, const TableDirectory &directory);

// Visits each `name` table of each member of a collection, in member order,
// with the member's index. False when the file is refused: not a
// collection, a member that is neither TrueType nor CFF or lies outside the
// file, or a `name` table with no records.
using NameTableVisitor = std::function<void(int memberIndex, const TableDirectory &member, ByteView nameTable)>;
bool walkCollectionNameTables(FontSource &source, const NameTableVisitor &visit);

// The full names (name ID 4) of a .ttc or .otc collection's members, one per
// `name` table met in member order; empty when the file is not a readable
// collection.
QStringList readCollectionFullNames(const QString &path);
