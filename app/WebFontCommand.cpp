#include "WebFontCommand.h"

#include "TextOptions.h"
#include "platform/UserFolders.h"
#include "webfont/WebFontJob.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kBarWidth = 40;

// A bar of slices done, redrawn in place on a terminal. It writes to its own
// copy of standard error: the WOFF2 encoder silences the standard one while
// it runs, on other threads.
class ProgressBar
{
public:
    ProgressBar() : m_terminal(::isatty(STDERR_FILENO) ? ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0) : -1) {}
    ~ProgressBar()
    {
        if (m_terminal >= 0) {
            if (m_drawn)
                put("\n");
            ::close(m_terminal);
        }
    }
    ProgressBar(const ProgressBar &) = delete;
    ProgressBar &operator=(const ProgressBar &) = delete;

    void show(const WebFontProgress &progress)
    {
        if (m_terminal < 0 || progress.total <= 0)
            return;
        const int filled = kBarWidth * progress.done / progress.total;
        put(QStringLiteral("\r[%1%2] %3/%4 slices")
                    .arg(QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char(' ')))
                    .arg(progress.done)
                    .arg(progress.total)
                    .toUtf8());
        m_drawn = true;
    }

private:
    void put(const QByteArray &bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t written = ::write(m_terminal, bytes.constData() + done, size_t(bytes.size() - done));
            if (written <= 0)
                return;
            done += written;
        }
    }

    int m_terminal;
    bool m_drawn = false;
};

} // namespace

int runWebFontCommand(const QCommandLineParser &parser, int (*usageError)(const QString &),
                      int (*report)(const JobOutcome &, bool quiet))
{
    if (parser.positionalArguments().size() != 1)
        return usageError(QStringLiteral("webfont takes no file argument; use --font or --family"));
    if (parser.isSet(QStringLiteral("font")) == parser.isSet(QStringLiteral("family")))
        return usageError(QStringLiteral("webfont needs exactly one of --font and --family"));
    if (!parser.isSet(QStringLiteral("output-dir")))
        return usageError(QStringLiteral("webfont needs --output-dir"));
    if (parser.isSet(QStringLiteral("format")))
        return usageError(QStringLiteral("webfont writes WOFF2 only; --format is for subset"));

    WebFontRequest request;
    request.fontPath = parser.value(QStringLiteral("font"));
    request.family = parser.value(QStringLiteral("family"));
    request.outputFolder = parser.value(QStringLiteral("output-dir"));
    request.cssFamily = parser.value(QStringLiteral("css-family"));
    if (parser.isSet(QStringLiteral("font-display")))
        request.fontDisplay = parser.value(QStringLiteral("font-display"));
    request.language = parser.value(QStringLiteral("language"));
    request.localSources = parser.isSet(QStringLiteral("local"));
    request.prune = parser.isSet(QStringLiteral("prune"));
    if (parser.isSet(QStringLiteral("cache")) && parser.isSet(QStringLiteral("no-cache")))
        return usageError(QStringLiteral("--cache and --no-cache exclude each other"));
    if (!parser.isSet(QStringLiteral("no-cache")))
        request.cacheFolder = parser.isSet(QStringLiteral("cache")) ? parser.value(QStringLiteral("cache"))
                                                                    : perUserCacheFolder();
    if (parser.isSet(QStringLiteral("jobs"))) {
        bool number = false;
        request.jobs = parser.value(QStringLiteral("jobs")).toInt(&number);
        if (!number || request.jobs < 1)
            return usageError(QStringLiteral("--jobs takes a number of threads, 1 or more"));
    }

    QTextStream err(stderr);
    const bool textGiven = parser.isSet(QStringLiteral("text")) || parser.isSet(QStringLiteral("text-file"))
            || parser.isSet(QStringLiteral("text-dir"));
    if (textGiven) {
        QString text;
        QStringList files;
        const bool read = readTextOptions(parser, &text, err, &files);
        err.flush();
        if (!read)
            return 1;
        request.characters = keepListFromText(text);
        if (files.size() > 1) {
            for (const QString &file : files)
                request.textFiles.append(keepListFromText(file));
        }
        if (request.characters.isEmpty())
            return usageError(QStringLiteral("webfont was given text options but no characters"));
    }

    const bool quiet = parser.isSet(QStringLiteral("quiet"));
    QElapsedTimer clock;
    clock.start();
    WebFontOutcome outcome;
    {
        ProgressBar bar;
        outcome = runWebFontJob(request, [&bar](const WebFontProgress &progress) { bar.show(progress); });
    }
    const int status = report(outcome.job, quiet);
    if (outcome.job.succeeded && !quiet) {
        err << outcome.sliceCount << (outcome.sliceCount == 1 ? " slice, " : " slices, ") << outcome.totalBytes << " bytes, "
            << QString::number(double(clock.elapsed()) / 1000, 'f', 1) << " s\n";
    }
    return status;
}
