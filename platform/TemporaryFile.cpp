#include "TemporaryFile.h"

#include "FileStatus.h"
#include "FileWrites.h"
#include "Rename.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

constexpr int kNameAttempts = 100;
constexpr int kRandomCharacters = 8;
// A leftover must be this old: a writer that has just made its file and not
// yet locked it is never taken for a dead one.
constexpr qint64 kLeftoverAgeSeconds = 60;

// ".tessaglyph-" and eight random characters, then ".part": a name no other
// program is likely to use, so that cleaning a folder touches nothing but ours.
const QLatin1String kPrefix(".tessaglyph-");
const QLatin1String kSuffix(".part");

QString randomName()
{
    static const char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = kPrefix;
    for (int i = 0; i < kRandomCharacters; ++i)
        name += QLatin1Char(kAlphabet[QRandomGenerator::global()->bounded(int(sizeof kAlphabet - 1))]);
    return name + kSuffix;
}

int closeDescriptor(int descriptor)
{
    // Linux closes the descriptor even when close() reports an error: never retry.
    return ::close(descriptor) == 0 ? 0 : errno;
}

} // namespace

TemporaryFile::TemporaryFile(const QString &folder)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        m_path = folder + QLatin1Char('/') + randomName();
        m_descriptor = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_descriptor >= 0) {
            // Nothing else holds a file this new: the lock cannot be refused.
            ::flock(m_descriptor, LOCK_EX);
            return;
        }
        if (errno != EEXIST) {
            m_error = errno;
            return;
        }
    }
    m_error = EEXIST;
}

TemporaryFile::~TemporaryFile()
{
    if (m_descriptor >= 0) {
        ::unlink(QFile::encodeName(m_path).constData());
        ::close(m_descriptor);
    }
}

int TemporaryFile::append(const char *data, quint64 size)
{
    return appendBytes(m_descriptor, data, size);
}

int TemporaryFile::appendCopy(QFile &from, quint64 offset, quint64 length)
{
    return appendFileRange(from.handle(), offset, length, m_descriptor);
}

int TemporaryFile::writeAt(quint64 offset, const char *data, quint64 size)
{
    return writeBytesAt(m_descriptor, offset, data, size);
}

int TemporaryFile::setModified(const QDateTime &time)
{
    // Access and modification time alike, to the millisecond Qt reports.
    const qint64 ms = time.toMSecsSinceEpoch();
    const struct timeval times[2] = {{time_t(ms / 1000), suseconds_t(ms % 1000) * 1000},
                                     {time_t(ms / 1000), suseconds_t(ms % 1000) * 1000}};
    return ::futimes(m_descriptor, times) == 0 ? 0 : errno;
}

int TemporaryFile::sync()
{
    if (m_descriptor < 0)
        return m_error ? m_error : EBADF;
    return ::fsync(m_descriptor) == 0 ? 0 : errno;
}

int TemporaryFile::place(const QString &path, Placing placing)
{
    if (m_descriptor < 0)
        return m_error ? m_error : EBADF;
    int error = ::fsync(m_descriptor) == 0 ? 0 : errno;
    // Renamed while still open and locked: a run cleaning the folder meanwhile
    // never takes the file for a leftover.
    if (error == 0)
        error = placing == Placing::NoReplace ? renameWithoutReplacing(m_path, path) : renameReplacing(m_path, path);
    const QByteArray left = QFile::encodeName(error == 0 ? path : m_path);
    const int closeError = closeDescriptor(m_descriptor);
    m_descriptor = -1;
    if (error == 0 && closeError != 0) {
        // Whatever close() found wrong, the placed file is not to be trusted.
        ::unlink(left.constData());
        return closeError;
    }
    if (error != 0)
        ::unlink(left.constData());
    return error;
}

int placeBytes(const QString &path, const QByteArray &bytes, TemporaryFile::Placing placing)
{
    TemporaryFile file(QFileInfo(path).path());
    int error = file.error();
    if (error == 0)
        error = file.append(bytes.constData(), quint64(bytes.size()));
    if (error == 0)
        error = file.place(path, placing);
    return error;
}

int removeLeftoverTemporaryFiles(const QString &folder)
{
    static const QRegularExpression pattern(QStringLiteral("^\\.tessaglyph-[a-z0-9]{%1}\\.part$").arg(kRandomCharacters));
    int removed = 0;
    for (const QString &name : regularFileNames(folder, kPrefix, kSuffix)) {
        if (!pattern.match(name).hasMatch())
            continue;
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        const int descriptor = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (descriptor < 0)
            continue;
        struct stat status;
        const bool dead = ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && ::fstat(descriptor, &status) == 0
                && S_ISREG(status.st_mode) && ::time(nullptr) - status.st_mtim.tv_sec > kLeftoverAgeSeconds;
        if (dead && ::unlink(path.constData()) == 0)
            ++removed;
        ::close(descriptor);
    }
    return removed;
}

bool folderSpace(const QString &folder, quint64 *freeBytes, quint64 *fragmentSize, bool *readOnly, int *error)
{
    struct statvfs status;
    if (::statvfs(QFile::encodeName(folder).constData(), &status) != 0) {
        *error = errno;
        return false;
    }
    *fragmentSize = status.f_frsize ? status.f_frsize : status.f_bsize;
    *freeBytes = quint64(status.f_bavail) * *fragmentSize;
    *readOnly = status.f_flag & ST_RDONLY;
    return true;
}

int syncFolder(const QString &folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    const int error = ::fsync(descriptor) == 0 ? 0 : errno;
    ::close(descriptor);
    return error;
}
