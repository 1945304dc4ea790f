#pragma once

#include <QtGlobal>

// A bounds-checked, read-only window on big-endian font bytes.
//
// Every sfnt structure is read through this type. Reads past the end fail
// instead of touching memory outside the window, and a child window that
// would run past the end comes back null, so callers treat it like a
// missing structure.
class ByteView
{
public:
    ByteView() = default;
    ByteView(const uchar *data, quint64 size) : m_data(size ? data : nullptr), m_size(data ? size : 0) {}
    ByteView(const char *data, quint64 size) : ByteView(reinterpret_cast<const uchar *>(data), size) {}

    bool isNull() const { return m_data == nullptr; }
    const uchar *data() const { return m_data; }
    quint64 size() const { return m_size; }

    bool contains(quint64 offset, quint64 length) const
    {
        return !(offset > m_size || length > m_size - offset);
    }

    // [offset, offset + length) as a view of its own; null when it does not fit.
    ByteView slice(quint64 offset, quint64 length) const
    {
        if (isNull() || !contains(offset, length))
            return {};
        return ByteView(m_data + offset, length);
    }

    // From offset to the end; null when offset is past the end.
    ByteView from(quint64 offset) const
    {
        return offset <= m_size ? slice(offset, m_size - offset) : ByteView();
    }

    bool readU16(quint64 offset, quint16 *value) const
    {
        if (isNull() || !contains(offset, 2))
            return false;
        *value = quint16(m_data[offset] << 8 | m_data[offset + 1]);
        return true;
    }

    bool readU32(quint64 offset, quint32 *value) const
    {
        if (isNull() || !contains(offset, 4))
            return false;
        *value = quint32(m_data[offset]) << 24 | quint32(m_data[offset + 1]) << 16
                | quint32(m_data[offset + 2]) << 8 | quint32(m_data[offset + 3]);
        return true;
    }

private:
    const uchar *m_data = nullptr;
    quint64 m_size = 0;
};
