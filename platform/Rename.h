#pragma once

#include <QString>

// Renames that report the system's error code (0 on success), unlike
// QFile::rename, which falls back to copying when a rename fails.

// Renames `from` to `to` only when nothing exists at `to`, atomically: two
// processes racing for the same name cannot replace each other's file. EEXIST
// when `to` exists; `from` is then left in place.
int renameWithoutReplacing(const QString &from, const QString &to);

// Renames `from` to `to`, atomically replacing whatever is at `to`.
int renameReplacing(const QString &from, const QString &to);
