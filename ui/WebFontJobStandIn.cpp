// STAND-IN for runWebFontJob, built only while webfont/ holds no definition
// of it (see CMakeLists.txt), so that the window's "Web Font" page can be
// built and tried before the web-font job is merged. It keeps the job's
// contract (progress per slice, cancel removes what the run wrote, CSS last)
// but none of its grouping rules: slices are runs of 64 code points in
// code-point order, named by number only. Delete it once the job is merged.

#include "engine/FontSubsetter.h"
#include "platform/UnicodeCmap.h"
#include "webfont/WebFontJob.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr int kSliceSize = 64;

QString say(const char *text)
{
    return QCoreApplication::translate("Tessaglyph", text);
}

WebFontOutcome refusal(const QString &text)
{
    WebFontOutcome outcome;
    outcome.job.title = say("Warning!");
    outcome.job.text = text;
    return outcome;
}

bool writeText(const QString &path, const QString &text)
{
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit();
}

} // namespace

WebFontOutcome runWebFontJob(const WebFontRequest &request, const WebFontProgressCallback &progress,
                             const std::atomic<bool> *cancel)
{
    if (!QFileInfo(request.outputFolder).isDir())
        return refusal(say("The output folder %1 does not exist.").arg(QDir::toNativeSeparators(request.outputFolder)));
    QString fontPath = request.fontPath;
    if (!request.family.isEmpty()) {
        FontSubsetter catalogue;
        fontPath = catalogue.systemFontPath(request.family);
    }
    FontSubsetter engine(FontSubsetter::Setup::FontOnly);
    if (!engine.loadTrueTypeFile(fontPath) || !engine.holdsSfntFont())
        return refusal(say("The file is not a valid ttf font file!"));

    KeepList wanted = request.characters;
    if (wanted.isEmpty()) {
        for (quint32 codePoint = 0x20; codePoint <= 0xFFFF; ++codePoint)
            wanted.append(codePoint);
    }
    wanted = sortedKeepList(wanted);
    const ByteView font(engine.fontData, quint64(engine.fontBytes.size()));
    const FontContents contents = fontContents(font, wanted);
    KeepList mapped;
    std::set_difference(wanted.begin(), wanted.end(), contents.unmapped.begin(), contents.unmapped.end(),
                        std::back_inserter(mapped));
    mapped.removeIf([](quint32 codePoint) { return QChar::category(codePoint) == QChar::Other_Control; });

    const QString family = engine.readFamilyName();
    const QString stem = family.isEmpty() ? QStringLiteral("font") : family;
    const int total = int((mapped.size() + kSliceSize - 1) / kSliceSize);
    WebFontOutcome outcome;
    QString css;
    for (int slice = 0; slice < total; ++slice) {
        if (cancel && *cancel) {
            for (const QString &path : std::as_const(outcome.job.writtenFiles))
                QFile::remove(path);
            outcome.job = {};
            outcome.job.box = JobOutcome::Box::Information;
            outcome.job.title = say("Information");
            outcome.job.text = QStringLiteral("Cancelled; the slices this run wrote were removed.");
            outcome.cancelled = true;
            return outcome;
        }
        const KeepList part = mapped.mid(slice * kSliceSize, kSliceSize);
        const QString name = QStringLiteral("%1.%2.woff2").arg(stem).arg(slice);
        const QString path = QDir(request.outputFolder).filePath(name);
        engine.setKeepList(part);
        WrittenSubset written;
        if (!engine.writeSubset(path, &written, OutputFormat::Woff2))
            return refusal(QStringLiteral("%1 could not be written: %2").arg(path, written.error));
        outcome.job.writtenFiles.append(path);
        outcome.totalBytes += written.size;
        QStringList ranges;
        for (quint32 codePoint : part)
            ranges.append(QStringLiteral("U+%1").arg(codePoint, 0, 16).toUpper());
        css += QStringLiteral("@font-face {\n  font-family: \"%1\";\n  src: url(\"%2\") format(\"woff2\");\n"
                              "  font-display: %3;\n  unicode-range: %4;\n}\n")
                       .arg(stem, name, request.fontDisplay, ranges.join(QStringLiteral(", ")));
        if (progress)
            progress({slice + 1, total});
    }
    outcome.cssPath = QDir(request.outputFolder).filePath(stem + QStringLiteral(".css"));
    outcome.previewPath = QDir(request.outputFolder).filePath(QStringLiteral("index.html"));
    const QString page = QStringLiteral("<!doctype html><meta charset=utf-8><link rel=stylesheet href=\"%1.css\">"
                                        "<p style=\"font-family: '%1'; font-size: 32px\" contenteditable>%2</p>\n")
                                 .arg(stem.toHtmlEscaped(), QString::fromUcs4(reinterpret_cast<const char32_t *>(mapped.constData()),
                                                                             qMin<qsizetype>(mapped.size(), 200)).toHtmlEscaped());
    if (!writeText(outcome.cssPath, css) || !writeText(outcome.previewPath, page))
        return refusal(QStringLiteral("The CSS could not be written."));
    outcome.job.writtenFiles << outcome.cssPath << outcome.previewPath;
    outcome.job.succeeded = true;
    outcome.job.box = JobOutcome::Box::Information;
    outcome.job.title = say("Information");
    outcome.job.text = say("Excute successfully!");
    outcome.sliceCount = total;
    return outcome;
}
