#pragma once

#include <QFile>

// Writes to a file open unbuffered, straight through its descriptor, each
// returning 0 or the errno of the failure, so that a caller can tell the
// user the system's reason ("No space left on device").

// Appends the bytes at the file's current position.
int appendBytes(QFile &to, const char *data, quint64 size);

// Writes the bytes at `offset`, leaving the current position alone.
int writeBytesAt(QFile &to, quint64 offset, const char *data, quint64 size);

// Appends `length` bytes of `from`, starting at `offset`. The kernel copies
// the bytes itself where it can, so they never pass through this process.
// ENODATA when the source ended before `length` bytes.
int appendFileRange(QFile &from, quint64 offset, quint64 length, QFile &to);
