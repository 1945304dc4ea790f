#include "SliceCache.h"

#include "platform/FileStatus.h"
#include "platform/TemporaryFile.h"
#include "platform/UserFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kDigits = 32; // of each hash in an entry's name: 128 bits

const QRegularExpression &entryPattern()
{
    static const QRegularExpression pattern(
            QStringLiteral("^([0-9a-f]{%1})\\.([0-9a-f]{%1})\\.woff2$").arg(kDigits));
    return pattern;
}

QByteArray digits(const QByteArray &hash)
{
    return hash.toHex().left(kDigits);
}

QByteArray contentDigits(const QByteArray &bytes)
{
    return digits(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
}

QString entryName(const QByteArray &keyDigits, const QByteArray &bytes)
{
    return QString::fromLatin1(keyDigits + '.' + contentDigits(bytes) + ".woff2");
}

// The entry's bytes, read through a descriptor that follows no link: the
// cache reads only its own regular files.
QByteArray readEntry(const QString &path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    QFile file;
    QByteArray bytes;
    struct stat status;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)
        && file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        bytes = file.readAll();
    else
        ::close(descriptor);
    return bytes;
}

} // namespace

SliceCache::SliceCache(const QString &folder, quint64 mostBytes) : m_folder(folder), m_mostBytes(mostBytes)
{
    m_problem = makeFolder(folder);
    if (!m_problem.isEmpty())
        return;
    removeLeftoverTemporaryFiles(folder);
    QDir dir(folder);
    if (!dir.isReadable()) {
        m_problem = QDir::toNativeSeparators(folder) + QStringLiteral(": ") + qt_error_string(EACCES);
        return;
    }
    for (const QString &name : regularFileNames(folder, QString(), QStringLiteral(".woff2"))) {
        const QRegularExpressionMatch match = entryPattern().match(name);
        if (match.hasMatch())
            m_entries.insert(match.captured(1).toLatin1(), name);
    }
}

QString SliceCache::entryPath(const QString &name) const
{
    return m_folder + QLatin1Char('/') + name;
}

void SliceCache::forget(const QByteArray &key, const QString &name)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_entries.value(key) == name)
        m_entries.remove(key);
}

QByteArray SliceCache::find(const QByteArray &key)
{
    if (!m_problem.isEmpty())
        return {};
    const QByteArray keyDigits = digits(key);
    QString name;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        name = m_entries.value(keyDigits);
    }
    if (name.isEmpty())
        return {};
    const QString path = entryPath(name);
    const QByteArray bytes = readEntry(path);
    if (bytes.isEmpty() || name != entryName(keyDigits, bytes)) {
        // Damaged, cut short, or removed by another run's trim meanwhile.
        QFile::remove(path);
        forget(keyDigits, name);
        return {};
    }
    // Its last use, for trim(): now, to the nanosecond.
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
    return bytes;
}

void SliceCache::keep(const QByteArray &key, const QByteArray &bytes)
{
    if (!m_problem.isEmpty() || bytes.isEmpty())
        return;
    const QByteArray keyDigits = digits(key);
    const QString name = entryName(keyDigits, bytes);
    const int error = placeBytes(entryPath(name), bytes, TemporaryFile::Placing::Replace);
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (error != 0) {
        ++m_keepFailures;
        return;
    }
    const QString earlier = m_entries.value(keyDigits);
    if (!earlier.isEmpty() && earlier != name)
        QFile::remove(entryPath(earlier));
    m_entries.insert(keyDigits, name);
    ++m_kept;
}

int SliceCache::keepFailures() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_keepFailures;
}

int SliceCache::kept() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_kept;
}

int SliceCache::trim()
{
    if (!m_problem.isEmpty())
        return 0;
    struct Entry
    {
        QString name;
        quint64 bytes;
        struct timespec used;
    };
    std::vector<Entry> entries;
    quint64 total = 0;
    // Listed afresh: other runs may have kept entries meanwhile.
    for (const QString &name : regularFileNames(m_folder, QString(), QStringLiteral(".woff2"))) {
        struct stat status;
        if (!entryPattern().match(name).hasMatch()
            || ::lstat(QFile::encodeName(entryPath(name)).constData(), &status) != 0 || !S_ISREG(status.st_mode))
            continue;
        entries.push_back({name, quint64(status.st_size), status.st_mtim});
        total += quint64(status.st_size);
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return std::make_pair(a.used.tv_sec, a.used.tv_nsec) < std::make_pair(b.used.tv_sec, b.used.tv_nsec);
    });
    int removed = 0;
    for (const Entry &entry : entries) {
        if (total <= m_mostBytes)
            break;
        if (QFile::remove(entryPath(entry.name))) {
            ++removed;
            forget(entryPattern().match(entry.name).captured(1).toLatin1(), entry.name);
        }
        total -= entry.bytes;
    }
    return removed;
}
