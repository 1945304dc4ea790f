#pragma once

#include <QtGlobal>

// Writes straight through a descriptor, each returning 0 or the errno of the
// failure, so that a caller can tell the user the system's reason ("No
// space left on device").

// Appends the bytes at the descriptor's current position.
int appendBytes(int to, const char *data, quint64 size);

// Writes the bytes at `offset`, leaving the current position alone.
int writeBytesAt(int to, quint64 offset, const char *data, quint64 size);

// Appends `length` bytes of `from`, starting at `offset`. The kernel copies
// the bytes itself where it can, so they never pass through this process.
// ENODATA when the source ended before `length` bytes.
int appendFileRange(int from, quint64 offset, quint64 length, int to);
