#pragma once

#include <QString>

// Renames `from` to `to` only when nothing exists at `to`, atomically: two
// processes racing for the same name cannot replace each other's file. False
// when `to` exists or the rename fails; `from` is then left in place.
bool renameWithoutReplacing(const QString &from, const QString &to);
