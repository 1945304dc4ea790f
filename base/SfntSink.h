#pragma once

#include <QFile>

// Where a serialiser puts the bytes of a font: a file, a buffer. Each call
// returns 0 or the errno of the failure, so that a caller can tell the user
// the system's reason ("No space left on device"). In base/, beside ByteView,
// so that sfnt/ serialises to it and platform/'s file sink implements it
// without either layer including the other.
class SfntSink
{
public:
    virtual ~SfntSink() = default;

    // Appends the bytes.
    virtual int append(const char *data, quint64 size) = 0;

    // Appends `length` bytes of an open file from `offset`: a file sink has
    // the kernel copy them, so they never pass through this process.
    // ENODATA when the file ends before.
    virtual int appendCopy(QFile &from, quint64 offset, quint64 length) = 0;

    // Writes the bytes at `offset`, over bytes already appended.
    virtual int writeAt(quint64 offset, const char *data, quint64 size) = 0;
};
