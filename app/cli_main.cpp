// tessaglyph-cli: the window's two jobs, for scripts.

#include "engine/CmapCoverage.h"
#include "engine/Jobs.h"
#include "engine/KeepList.h"
#include "engine/TextDecoding.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

enum ExitCode { Success = 0, JobFailed = 1, UsageError = 2 };

const char *const kUsage = R"(Usage:
  tessaglyph-cli subset (--font FILE.ttf | --family NAME) (--text TEXT | --text-file FILE) --output-dir DIR
  tessaglyph-cli split FILE.ttc --output-dir DIR

Commands:
  subset   Make a TrueType font that keeps only the glyphs of the given text.
           --font takes a .ttf file and writes DIR/<its base name>.ttf;
           --family takes an installed family and writes DIR/<family>.ttf
           (the desktop's default face, and its name, when the family is not
           installed). --text-file is read as UTF-8 or UTF-16 when it starts
           with a byte-order mark, as UTF-8 when it is valid UTF-8, and as
           GB2312 otherwise.
  split    Write every member of a TrueType collection into DIR as
           <family name>.ttf; existing files are never replaced.

Prints the path of every file written. Exit status: 0 on success, 1 when
the job was refused or failed (the reason goes to standard error), 2 for a
usage error.
)";

int usageError(const QString &message)
{
    QTextStream(stderr) << "tessaglyph-cli: " << message << "\n\n" << kUsage;
    return UsageError;
}

int report(const JobOutcome &outcome)
{
    QTextStream out(stdout);
    for (const QString &file : outcome.writtenFiles)
        out << QDir::toNativeSeparators(file) << '\n';
    out.flush();
    if (outcome.succeeded)
        return Success;
    QString message = QString::fromUtf8(outcome.text);
    if (message.contains(QLatin1String("%1")))
        message = message.arg(QDir::toNativeSeparators(outcome.argument));
    QTextStream(stderr) << "tessaglyph-cli: " << message << '\n';
    return JobFailed;
}

int runSubset(const QCommandLineParser &parser)
{
    if (parser.positionalArguments().size() != 1)
        return usageError(QStringLiteral("subset takes no file argument; use --font or --family"));
    if (parser.isSet(QStringLiteral("font")) == parser.isSet(QStringLiteral("family")))
        return usageError(QStringLiteral("subset needs exactly one of --font and --family"));
    if (parser.isSet(QStringLiteral("text")) == parser.isSet(QStringLiteral("text-file")))
        return usageError(QStringLiteral("subset needs exactly one of --text and --text-file"));
    if (!parser.isSet(QStringLiteral("output-dir")))
        return usageError(QStringLiteral("subset needs --output-dir"));

    QString text = parser.value(QStringLiteral("text"));
    if (parser.isSet(QStringLiteral("text-file"))) {
        QFile file(parser.value(QStringLiteral("text-file")));
        if (!file.open(QIODevice::ReadOnly)) {
            QTextStream(stderr) << "tessaglyph-cli: cannot read " << QDir::toNativeSeparators(file.fileName())
                                << ": " << file.errorString() << '\n';
            return JobFailed;
        }
        text = decodeTextFile(file.readAll());
    }

    const KeepList keepList = keepListFromText(text);
    const QString outputDir = parser.value(QStringLiteral("output-dir"));
    const QString fontPath = parser.value(QStringLiteral("font"));
    if (fontPath.isEmpty()) {
        FontSubsetter engine;
        return report(runSystemSubsetJob(engine, parser.value(QStringLiteral("family")), outputDir, keepList));
    }

    // A font file needs the installed fonts only when it covers none of the
    // text and the job falls back to the default face. Building their
    // catalogue costs more than most subsets, so it is built only then.
    FontSubsetter engine(fontFileCoversAny(fontPath, keepList) ? FontSubsetter::Setup::FontOnly
                                                               : FontSubsetter::Setup::Full);
    return report(runFileSubsetJob(engine, fontPath, outputDir, keepList));
}

int runSplit(const QCommandLineParser &parser)
{
    if (parser.positionalArguments().size() != 2)
        return usageError(QStringLiteral("split takes one collection file"));
    if (!parser.isSet(QStringLiteral("output-dir")))
        return usageError(QStringLiteral("split needs --output-dir"));
    return report(runSplitJob(parser.positionalArguments().at(1), parser.value(QStringLiteral("output-dir"))));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaglyph-cli"));

    QCommandLineParser parser;
    parser.addOptions({
            {QStringLiteral("font"), QStringLiteral("The .ttf file to subset."), QStringLiteral("FILE.ttf")},
            {QStringLiteral("family"), QStringLiteral("The installed family to subset."), QStringLiteral("NAME")},
            {QStringLiteral("text"), QStringLiteral("The characters to keep."), QStringLiteral("TEXT")},
            {QStringLiteral("text-file"), QStringLiteral("A file holding the characters to keep."), QStringLiteral("FILE")},
            {QStringLiteral("output-dir"), QStringLiteral("The folder that receives the fonts."), QStringLiteral("DIR")},
            {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")},
    });
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << kUsage;
        return Success;
    }

    const QStringList arguments = parser.positionalArguments();
    const QString command = arguments.value(0);
    if (command == QLatin1String("subset"))
        return runSubset(parser);
    if (command == QLatin1String("split"))
        return runSplit(parser);
    return usageError(command.isEmpty() ? QStringLiteral("no command given")
                                        : QStringLiteral("unknown command: ") + command);
}
