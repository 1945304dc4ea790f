#pragma once

#include <QFile>

// Appends `length` bytes of `from`, starting at `offset`, to `to` at its
// current position. Both files must be open unbuffered. The kernel copies
// the bytes itself where it can, so they never pass through this process.
// False when fewer bytes could be copied (a read or write error, or a
// source that shrank).
bool appendFileRange(QFile &from, quint64 offset, quint64 length, QFile &to);
