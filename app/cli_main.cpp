// tessaglyph-cli: the window's jobs, for scripts.

#include "engine/Jobs.h"
#include "engine/KeepList.h"
#include "TextOptions.h"
#include "WebFontCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <iterator>

namespace {

enum ExitCode { Success = 0, JobFailed = 1, UsageError = 2 };

const char *const kUsage = R"(Usage:
  tessaglyph-cli subset (--font FILE | --family NAME) (--text TEXT | --text-file FILE | --text-dir DIR)...
                        --output-dir DIR [--format ttf|woff2]
  tessaglyph-cli split FILE.ttc --output-dir DIR
  tessaglyph-cli webfont (--font FILE | --family NAME) --output-dir DIR
                         [--text TEXT | --text-file FILE | --text-dir DIR]... [--css-family NAME]
                         [--font-display auto|block|swap|fallback|optional]
                         [--language zh-Hans|zh-Hant|zh-HK|ja|ko] [--local] [--prune] [--jobs N]
                         [--cache DIR | --no-cache]
  tessaglyph-cli --version | --help

Commands:
  subset   Make a font that keeps only the glyphs of the given characters.
           --font takes a .ttf, .otf or .woff2 file (WOFF2 is decoded first)
           and writes DIR/<its base name>.ttf, or .otf when the font has CFF
           outlines. --family takes an installed family and writes
           DIR/<family>.ttf (or .otf); "C059 [UKWN]"
           prefers that foundry's font, and a generic family ("Sans Serif",
           "Serif", "Monospace") is the font fontconfig draws it with, each
           written under the family used. When the family is not
           installed, or the font has none of the characters, the desktop's
           default face is subset instead, under its own name, and the
           reason is printed. The characters are those of every --text
           and --text-file given; "--text-file -" reads standard input. A
           text file is read as UTF-8 or UTF-16 when it starts with a
           byte-order mark, as GB18030 (a superset of GB2312) when it is not
           valid UTF-8, and otherwise as UTF-8, unless it is also valid
           GB2312 and reads as Chinese there but not as words of one
           script (accented Latin, Greek, Cyrillic) in UTF-8 (short GB2312
           texts often are valid UTF-8, too); a file read as GB2312 is
           named on standard error. --text-dir reads every file under DIR,
           recursively, the same way; binary files are skipped and counted.
           With --format woff2 the subset is written compressed for the
           web, as DIR/<name>.woff2.
  split    Write every member of a font collection (.ttc or .otc) into DIR as
           <family name>.ttf, or .otf for CFF outlines; a member whose family
           name is taken is named after its full name, then "<family>
           <subfamily>", then "<family> <number>", numbered from its index
           in the collection (the first is 0); one with no printable family
           name is "<collection's base name> <number>" the same way. Members
           that repeat one font are written once. Existing files are never
           replaced, and a split that writes nothing, or would not fit in
           the free space, fails.
  webfont  Cut a font into WOFF2 slices for the web, each declared by an
           @font-face rule with its unicode-range in DIR/<family>.css, so a
           browser fetches only the slices a page's text needs; with a
           preview, DIR/<family>.html, and DIR/<family>.report.json, so
           several kits share a folder. --font takes a .ttf,
           .otf or .woff2 file, --family every installed face of a family. Without
           text options the kit holds every character the font maps; with
           them (as for subset), only those, grouped by how many of the
           text's files use them (each --text-dir file is one); without, by
           how often they occur in the language's text, then by Unicode
           block. --language makes a kit for pages in that language (the
           forms other languages reach through localized forms are left
           out); by default, every form stays and the frequencies are those
           of the language the font is made for. --css-family names the
           family in the CSS (default: the font's typographic family),
           --font-display sets font-display (default: swap), --local puts
           local() sources before each url() (an installed copy of the
           font then draws instead of the slices), --jobs the number of
           threads (default: every core; at most four per core and one per
           slice). A progress bar is shown on a terminal. Files in DIR
           that no kit wrote are never replaced: one in the way of the
           kit's CSS, preview or report is a refusal, told before any slice
           is made. An earlier kit's slices that no kit's CSS in DIR names
           any longer are counted; --prune removes them. One run at a time
           writes into DIR; another waits for it. Finished slices are kept
           in a cache, $XDG_CACHE_HOME/tessaglyph (~/.cache/tessaglyph) or
           --cache DIR, under the hash of what makes their bytes (the
           font's bytes, the slice's characters, the options, this build),
           and a later kit copies those it needs from there instead of
           making them again, with the same bytes; the cache keeps at most
           1 GB, the least recently used going first. --no-cache neither
           reads nor fills it.

Options:
  --quiet  Do not print what was made (file sizes, glyphs, missing characters).

Installed families that live in a collection are extracted, member by member,
into the per-user folder $XDG_DATA_HOME/tessaglyph (~/.local/share/tessaglyph)
and reused from there; when that folder cannot be had, the member is subset
from its collection directly, and the reason is printed.

Prints the path of every file written on standard output, and what was made,
and anything done in place of what was asked, on standard error.

Exit status:
  0  the job was done (possibly with the default face, as printed)
  1  the job was refused or failed; the reason is on standard error
  2  usage error
)";

struct ValueOption
{
    const char *name;
    const char *description;
    const char *valueName;
    const char *missing; // what to say when no value follows
};

const ValueOption kValueOptions[] = {
    {"font", "The .ttf, .otf or .woff2 file to subset.", "FILE", "--font needs a file name"},
    {"family", "The installed family to subset.", "NAME", "--family needs a family name"},
    {"text", "The characters to keep.", "TEXT", "--text needs the characters to keep"},
    {"text-file", "A file holding characters to keep; - for standard input.", "FILE",
     "--text-file needs a file name (- for standard input)"},
    {"output-dir", "The folder that receives the fonts.", "DIR", "--output-dir needs a folder"},
    {"format", "ttf (the default) or woff2.", "FORMAT", "--format needs ttf or woff2"},
    {"text-dir", "A folder of text files holding characters to keep.", "DIR", "--text-dir needs a folder"},
    {"css-family", "The family name in the web font's CSS.", "NAME", "--css-family needs a family name"},
    {"font-display", "The web font's font-display.", "VALUE",
     "--font-display needs auto, block, swap, fallback or optional"},
    {"language", "The language whose character frequencies group the slices.", "TAG",
     "--language needs zh-Hans, zh-Hant, zh-HK, ja or ko"},
    {"jobs", "Threads that make the slices.", "N", "--jobs needs a number of threads"},
    {"cache", "The folder of the web-font slice cache.", "DIR", "--cache needs a folder"},
};

struct FlagOption
{
    const char *name;
    const char *shortName; // or null
    const char *description;
};

const FlagOption kFlags[] = {
    {"quiet", nullptr, "Do not print what was made."},
    {"local", nullptr, "Put local() sources before each web-font slice."},
    {"prune", nullptr, "Remove the earlier kit's slices that the new CSS no longer names."},
    {"no-cache", nullptr, "Make every web-font slice anew, and keep none in the cache."},
    {"help", "h", "Show this help."},
    {"version", nullptr, "Show the version."},
};

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usageError(const QString &message)
{
    err() << "tessaglyph-cli: " << message << "\n\n" << kUsage;
    err().flush();
    return UsageError;
}

bool isOptionName(const QString &argument)
{
    const QString name = argument.section(QLatin1Char('='), 0, 0);
    const auto named = [&](const char *option) { return name == QLatin1String("--") + QLatin1String(option); };
    return std::any_of(std::begin(kFlags), std::end(kFlags),
                       [&](const FlagOption &flag) {
                           return named(flag.name) || (flag.shortName && name == QLatin1Char('-') + QLatin1String(flag.shortName));
                       })
            || std::any_of(std::begin(kValueOptions), std::end(kValueOptions),
                           [&](const ValueOption &option) { return named(option.name); });
}

// An option that takes a value, given last or followed by another option,
// has lost its value (the parser would take the next option for it): say
// which. Only the text may be given empty.
QString missingOptionValue(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        for (const ValueOption &option : kValueOptions) {
            const QString name = QLatin1String("--") + QLatin1String(option.name);
            const bool emptyValue = arguments.at(i) == name + QLatin1Char('=') && qstrcmp(option.name, "text") != 0;
            const bool noValue = arguments.at(i) == name && (i + 1 == arguments.size() || isOptionName(arguments.at(i + 1)));
            if (emptyValue || noValue)
                return QString::fromLatin1(option.missing);
        }
    }
    return {};
}

int report(const JobOutcome &outcome, bool quiet)
{
    QTextStream out(stdout);
    for (const QString &file : outcome.writtenFiles)
        out << QDir::toNativeSeparators(file) << '\n';
    out.flush();
    if (!outcome.succeeded)
        err() << "tessaglyph-cli: " << outcome.text << '\n';
    for (const QString &line : outcome.notices)
        err() << line << '\n';
    if (!quiet || !outcome.succeeded) {
        for (const QString &line : outcome.summary)
            err() << line << '\n';
    }
    err().flush();
    return outcome.succeeded ? Success : JobFailed;
}

int runSubset(const QCommandLineParser &parser)
{
    if (parser.positionalArguments().size() != 1)
        return usageError(QStringLiteral("subset takes no file argument; use --font or --family"));
    if (parser.isSet(QStringLiteral("font")) == parser.isSet(QStringLiteral("family")))
        return usageError(QStringLiteral("subset needs exactly one of --font and --family"));
    if (!parser.isSet(QStringLiteral("text")) && !parser.isSet(QStringLiteral("text-file"))
        && !parser.isSet(QStringLiteral("text-dir")))
        return usageError(QStringLiteral("subset needs --text, --text-file or --text-dir"));
    if (!parser.isSet(QStringLiteral("output-dir")))
        return usageError(QStringLiteral("subset needs --output-dir"));
    const QString formatName = parser.value(QStringLiteral("format"));
    if (!formatName.isEmpty() && formatName != QLatin1String("ttf") && formatName != QLatin1String("woff2"))
        return usageError(QStringLiteral("--format takes ttf or woff2, not ") + formatName);
    const OutputFormat format = formatName == QLatin1String("woff2") ? OutputFormat::Woff2 : OutputFormat::Sfnt;

    QString text;
    const bool read = readTextOptions(parser, &text, err());
    err().flush();
    if (!read)
        return JobFailed;

    const bool quiet = parser.isSet(QStringLiteral("quiet"));
    const KeepList keepList = keepListFromText(text);
    const QString outputDir = parser.value(QStringLiteral("output-dir"));
    const QString fontPath = parser.value(QStringLiteral("font"));
    // The engine builds the installed-font catalogue only when the job needs
    // it: for a family, or when the font file covers none of the text.
    FontSubsetter engine;
    if (fontPath.isEmpty())
        return report(runSystemSubsetJob(engine, parser.value(QStringLiteral("family")), outputDir, keepList, format),
                      quiet);
    return report(
            runFileSubsetJob(engine, fontPath, outputDir, keepList, AcceptedSuffixes::TrueTypeAndOpenType, format),
            quiet);
}

int runSplit(const QCommandLineParser &parser)
{
    if (parser.positionalArguments().size() != 2)
        return usageError(QStringLiteral("split takes one collection file"));
    if (!parser.isSet(QStringLiteral("output-dir")))
        return usageError(QStringLiteral("split needs --output-dir"));
    return report(runSplitJob(parser.positionalArguments().at(1), parser.value(QStringLiteral("output-dir")),
                              AcceptedSuffixes::TrueTypeAndOpenType),
                  parser.isSet(QStringLiteral("quiet")));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaglyph-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSAGLYPH_VERSION));

    QCommandLineParser parser;
    for (const ValueOption &option : kValueOptions)
        parser.addOption({QString::fromLatin1(option.name), QString::fromLatin1(option.description),
                          QString::fromLatin1(option.valueName)});
    for (const FlagOption &flag : kFlags) {
        QStringList names = {QString::fromLatin1(flag.name)};
        if (flag.shortName)
            names.prepend(QString::fromLatin1(flag.shortName));
        parser.addOption({names, QString::fromLatin1(flag.description)});
    }
    const QString lostValue = missingOptionValue(app.arguments());
    if (!lostValue.isEmpty())
        return usageError(lostValue);
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << kUsage;
        return Success;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << "tessaglyph-cli " << QCoreApplication::applicationVersion() << '\n'
                            << "Copyright 2026 Tessaglyph developers\n"
                            << "Free software under the MIT licence: use, change and share it freely; no warranty.\n";
        return Success;
    }

    const QString command = parser.positionalArguments().value(0);
    if (command == QLatin1String("subset"))
        return runSubset(parser);
    if (command == QLatin1String("split"))
        return runSplit(parser);
    if (command == QLatin1String("webfont"))
        return runWebFontCommand(parser, usageError, report);
    return usageError(command.isEmpty() ? QStringLiteral("no command given")
                                        : QStringLiteral("unknown command: ") + command);
}
