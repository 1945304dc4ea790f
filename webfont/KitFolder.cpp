#include "KitFolder.h"

#include "KitFiles.h"
#include "KitNames.h"
#include "platform/FileNamer.h"
#include "platform/TemporaryFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A run holds the lock only while it puts its files in place, which takes
// seconds; a holder that keeps it for longer is stopped or hung.
constexpr int kLockWaitMilliseconds = 60 * 1000;
constexpr int kLockPollMilliseconds = 50;
// A report larger than this is no kit's: the largest kits list about a
// thousand slices in a few hundred kilobytes.
constexpr qint64 kLargestReport = 16 * 1024 * 1024;

bool cancelled(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load();
}

// 0 when nothing is at the path; ENOENT is not a failure here.
int statusAt(const QString &path, struct stat *status)
{
    if (::lstat(QFile::encodeName(path).constData(), status) == 0)
        return 0;
    return errno;
}

// The bytes of a regular file (never through a link), up to `limit`; false
// when it cannot be read or is larger.
bool readRegularFile(const QString &path, qint64 limit, QByteArray *bytes)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return false;
    QFile file;
    struct stat status;
    const bool read = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= limit
            && file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (!read) {
        ::close(descriptor);
        return false;
    }
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

KitFolderProblem problem(KitFolderProblem::Kind kind, const QString &name = {}, int error = 0)
{
    return {kind, name, error};
}

} // namespace

KitFolder::KitFolder(const QString &path) : m_path(path) {}

KitFolder::~KitFolder()
{
    if (!m_named)
        removeCreatedSlices();
    if (m_lock >= 0)
        ::close(m_lock); // releases the flock
}

QString KitFolder::filePath(const QString &name) const
{
    return m_path + QLatin1Char('/') + name;
}

KitFolderProblem KitFolder::lock(const std::atomic<bool> *cancel)
{
    m_lock = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_lock < 0)
        return problem(KitFolderProblem::Unlockable, {}, errno);
    for (int waited = 0;; waited += kLockPollMilliseconds) {
        if (::flock(m_lock, LOCK_EX | LOCK_NB) == 0)
            break;
        // A file system without flock on folders (some network mounts) cannot
        // keep two runs apart; a run on its own is still whole there.
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        if (cancelled(cancel))
            return problem(KitFolderProblem::Cancelled);
        if (waited >= kLockWaitMilliseconds)
            return problem(KitFolderProblem::Busy);
        QThread::msleep(kLockPollMilliseconds);
    }
    removeLeftoverTemporaryFiles(m_path);
    return {};
}

EarlierKit KitFolder::earlierKit(const QString &cssFile) const
{
    const auto plainName = [](const QString &name) {
        return isUsableFileName(name) && !name.contains(QLatin1Char('/'));
    };
    for (const QString &reportFile : {kitReportFileName(cssFile), QString(kSharedReportFile)}) {
        QByteArray bytes;
        if (!readRegularFile(filePath(reportFile), kLargestReport, &bytes) || !isKitText(bytes))
            continue;
        const QJsonObject report = QJsonDocument::fromJson(bytes).object();
        if (report.value(QStringLiteral("css")).toString() != cssFile)
            continue;
        EarlierKit earlier;
        earlier.sharedTexts = reportFile == kSharedReportFile;
        for (const QJsonValue &faceValue : report.value(QStringLiteral("faces")).toArray()) {
            const QJsonObject face = faceValue.toObject();
            EarlierKit::Face earlierFace{face.value(QStringLiteral("postScriptName")).toString(),
                                         face.value(QStringLiteral("index")).toInt(),
                                         face.value(QStringLiteral("slicedBy")).toString() == QLatin1String("text"),
                                         {}};
            for (const QJsonValue &sliceValue : face.value(QStringLiteral("slices")).toArray()) {
                const QJsonObject slice = sliceValue.toObject();
                const QString file = slice.value(QStringLiteral("file")).toString();
                if (plainName(file) && file.endsWith(QLatin1String(".woff2")))
                    earlier.sliceFiles.append(file);
                earlierFace.slices.append(unicodeRangeSpans(slice.value(QStringLiteral("unicodeRange")).toString()));
            }
            earlier.faces.append(earlierFace);
        }
        return earlier;
    }
    return {};
}

QSet<QString> KitFolder::slicesKitsName() const
{
    QSet<QString> named;
    static const QRegularExpression url(QStringLiteral("url\\(\"([^\"]+)\"\\)"));
    const QStringList cssFiles = QDir(m_path).entryList({QStringLiteral("*.css")}, QDir::Files | QDir::Hidden);
    for (const QString &cssFile : cssFiles) {
        QByteArray bytes;
        if (!readRegularFile(filePath(cssFile), kLargestReport, &bytes) || !isKitText(bytes))
            continue;
        for (const QRegularExpressionMatch &match : url.globalMatch(QString::fromUtf8(bytes)))
            named.insert(match.captured(1));
    }
    return named;
}

KitFolderProblem KitFolder::check(const QVector<KitFileBytes> &slices, const QVector<KitFileBytes> &texts) const
{
    for (const QVector<KitFileBytes> *files : {&slices, &texts}) {
        for (const KitFileBytes &file : *files) {
            if (!isUsableFileName(file.name))
                return problem(KitFolderProblem::UnusableName, file.name);
            struct stat status;
            const int error = statusAt(filePath(file.name), &status);
            if (error == ENOENT)
                continue;
            if (error != 0)
                return problem(KitFolderProblem::WriteFailed, file.name, error);
            QByteArray head;
            const bool ours = files == &slices
                    ? S_ISREG(status.st_mode)
                    : readRegularFile(filePath(file.name), kLargestReport, &head) && isKitText(head);
            if (!ours)
                return problem(KitFolderProblem::InTheWay, file.name);
        }
    }
    return {};
}

KitFolderProblem KitFolder::placeSlices(const QVector<KitFileBytes> &slices, const std::atomic<bool> *cancel)
{
    QSet<QString> done; // two faces may give one slice the same bytes, and so the same name
    for (const KitFileBytes &slice : slices) {
        if (cancelled(cancel))
            return problem(KitFolderProblem::Cancelled);
        if (done.contains(slice.name))
            continue;
        done.insert(slice.name);
        const QString path = filePath(slice.name);
        QByteArray there;
        struct stat status;
        const bool present = statusAt(path, &status) == 0;
        if (present && status.st_size == slice.bytes.size() && readRegularFile(path, status.st_size, &there)
            && there == slice.bytes) {
            ++m_slices.kept;
            continue;
        }
        const int error = placeBytes(path, slice.bytes,
                                     present ? TemporaryFile::Placing::Replace : TemporaryFile::Placing::NoReplace);
        if (error == EEXIST) // made meanwhile by something that is no kit run
            return problem(KitFolderProblem::InTheWay, slice.name);
        if (error != 0)
            return problem(KitFolderProblem::WriteFailed, slice.name, error);
        (present ? m_slices.replaced : m_slices.created).append(slice.name);
    }
    return {};
}

KitFolderProblem KitFolder::placeTexts(const QVector<KitFileBytes> &texts)
{
    std::vector<std::unique_ptr<TemporaryFile>> files;
    for (const KitFileBytes &text : texts) {
        files.push_back(std::make_unique<TemporaryFile>(m_path));
        TemporaryFile &file = *files.back();
        int error = file.error();
        if (error == 0)
            error = file.append(text.bytes.constData(), quint64(text.bytes.size()));
        if (error == 0)
            error = file.sync();
        if (error != 0)
            return problem(KitFolderProblem::WriteFailed, text.name, error);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int error = files[i]->place(filePath(texts.at(int(i)).name), TemporaryFile::Placing::Replace);
        if (error != 0)
            return problem(KitFolderProblem::WriteFailed, texts.at(int(i)).name, error);
        m_named = true;
    }
    if (const int error = syncFolder(m_path))
        return problem(KitFolderProblem::WriteFailed, {}, error);
    return {};
}

QStringList KitFolder::staleSlices(const EarlierKit &earlier, quint64 *bytes) const
{
    *bytes = 0;
    const QSet<QString> named = slicesKitsName();
    QStringList stale;
    for (const QString &file : earlier.sliceFiles) {
        struct stat status;
        if (named.contains(file) || stale.contains(file) || statusAt(filePath(file), &status) != 0
            || !S_ISREG(status.st_mode))
            continue;
        stale.append(file);
        *bytes += quint64(status.st_size);
    }
    return stale;
}

QStringList KitFolder::prune(const QStringList &stale)
{
    QStringList removed;
    for (const QString &file : stale) {
        QByteArray bytes;
        if (readRegularFile(filePath(file), kLargestReport, &bytes) && sliceNameMatches(file, bytes)
            && ::unlink(QFile::encodeName(filePath(file)).constData()) == 0)
            removed.append(file);
    }
    return removed;
}

void KitFolder::removeSharedTexts(const EarlierKit &earlier)
{
    if (!earlier.sharedTexts)
        return;
    for (const QString &name : {QString(kSharedReportFile), QString(kSharedPreviewFile)}) {
        QByteArray head;
        if (readRegularFile(filePath(name), kLargestReport, &head) && isKitText(head))
            ::unlink(QFile::encodeName(filePath(name)).constData());
    }
}

void KitFolder::removeCreatedSlices()
{
    for (const QString &name : m_slices.created)
        ::unlink(QFile::encodeName(filePath(name)).constData());
    m_slices.created.clear();
}
