#include "FontSource.h"

#include <atomic>
#include <cstring>

namespace {
std::atomic<quint64> fileBytesRead{0};
}

quint64 FontSource::totalFileBytesRead()
{
    return fileBytesRead.load();
}

FontSource::FontSource(const QByteArray &bytes)
    : m_bytes(bytes), m_isOpen(true), m_size(quint64(bytes.size()))
{
}

FontSource::FontSource(const QString &path) : m_file(path), m_fromFile(true)
{
    // Unbuffered: the readers jump between a few small ranges, and a buffered
    // device would read far more than they ask for.
    m_isOpen = m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    m_size = m_isOpen ? quint64(qMax<qint64>(m_file.size(), 0)) : 0;
}

QByteArray FontSource::read(quint64 offset, quint64 length)
{
    if (!m_isOpen || offset > m_size || length > m_size - offset || length == 0)
        return {};
    if (!m_fromFile)
        return QByteArray::fromRawData(m_bytes.constData() + offset, qsizetype(length));

    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    return readInto(offset, length, bytes.data()) ? bytes : QByteArray();
}

bool FontSource::readInto(quint64 offset, quint64 length, char *buffer)
{
    if (!m_isOpen || offset > m_size || length > m_size - offset)
        return false;
    if (!m_fromFile) {
        std::memcpy(buffer, m_bytes.constData() + offset, size_t(length));
        return true;
    }
    if (!m_file.seek(qint64(offset)))
        return false;
    const qint64 got = m_file.read(buffer, qint64(length));
    fileBytesRead += quint64(qMax<qint64>(got, 0));
    // A file that shrank since it was opened reads short: the range is missing.
    return got == qint64(length);
}
