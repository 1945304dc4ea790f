#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a font or collection, read in pieces: from a buffer already in
// memory, or from a file on demand. Readers that need only the directory and
// one table then read a few kilobytes of a file instead of all of it.
class FontSource
{
public:
    explicit FontSource(const QByteArray &bytes);
    explicit FontSource(const QString &path);

    FontSource(const FontSource &) = delete;
    FontSource &operator=(const FontSource &) = delete;

    // False when the file could not be opened; such a source has size 0.
    bool isOpen() const { return m_isOpen; }
    // Why a file source could not be opened, in the system's words.
    QString errorString() const { return m_file.errorString(); }
    quint64 size() const { return m_size; }

    // The bytes [offset, offset + length); empty when the range is not wholly
    // inside the source or cannot be read. For a memory source the result
    // shares the buffer, which must outlive it.
    QByteArray read(quint64 offset, quint64 length);

    // The same into a buffer of the caller's, which must hold length bytes:
    // for reading big ranges piece by piece without fresh memory each time.
    bool readInto(quint64 offset, quint64 length, char *buffer);

    // The open file of a file source (unbuffered), for copying ranges of it;
    // null for a memory source.
    QFile *file() { return m_fromFile && m_isOpen ? &m_file : nullptr; }

    // Bytes read from files by every source of this process: for benchmarks.
    static quint64 totalFileBytesRead();

private:
    QByteArray m_bytes;
    QFile m_file;
    bool m_fromFile = false;
    bool m_isOpen = false;
    quint64 m_size = 0;
};
