#include "KitFiles.h"

#include "KitNames.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>

namespace {

QString hex(quint32 codePoint)
{
    return QString::number(codePoint, 16).toUpper();
}

// A CSS string: quotes and backslashes escaped, line breaks as escapes.
QString cssString(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20 || c == QLatin1Char('<')) // no "</style>" in a page's style element
            quoted += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString cssWeight(const WebFace &face)
{
    return face.weightMin == face.weightMax ? QString::number(face.weightMin)
                                            : QStringLiteral("%1 %2").arg(face.weightMin).arg(face.weightMax);
}

// A variable font's slnt axis is an oblique range; OpenType counts a slant
// to the right as negative degrees, CSS as positive.
QString cssStyle(const WebFace &face)
{
    if (face.italic)
        return QStringLiteral("italic");
    if (face.slantMin == 0 && face.slantMax == 0)
        return QStringLiteral("normal");
    const double first = -face.slantMax, last = -face.slantMin;
    return first == last ? QStringLiteral("oblique %1deg").arg(first)
                         : QStringLiteral("oblique %1deg %2deg").arg(first).arg(last);
}

// Empty for a face of normal width, which needs no font-stretch.
QString cssStretch(const WebFace &face)
{
    if (face.stretchMin == 100 && face.stretchMax == 100)
        return {};
    const QString first = QString::number(face.stretchMin) + QLatin1Char('%');
    return face.stretchMin == face.stretchMax ? first
                                              : first + QLatin1Char(' ') + QString::number(face.stretchMax) + QLatin1Char('%');
}

QString localSources(const WebFace &face)
{
    QString sources;
    for (const QString &name : {face.fullName, face.postScriptName}) {
        if (!name.isEmpty() && !sources.contains(cssString(name)))
            sources += QStringLiteral("local(%1), ").arg(cssString(name));
    }
    return sources;
}

QString characters(const KeepList &codePoints)
{
    QString text;
    for (quint32 codePoint : codePoints)
        text += QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
    return text.toHtmlEscaped();
}

// "1 slice", "2 slices": the page is in English only.
QString counted(qsizetype count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

QString slicedBy(const KitFace &face)
{
    if (face.byTextUse)
        return QStringLiteral("sliced by the text's use");
    return face.language.isEmpty() ? QStringLiteral("sliced by Unicode block")
                                   : QStringLiteral("sliced by the %1 frequency slices").arg(face.language);
}

// The box's first text, of characters every face of the kit maps, so that no
// other font draws any of it: the family's name and a pangram where the kit
// holds them, else the first letters of the first slices.
QString previewSample(const QVector<KitFace> &faces, const QString &family)
{
    QVector<QSet<quint32>> held;
    for (const KitFace &face : faces) {
        QSet<quint32> codePoints;
        for (const KitSlice &slice : face.slices)
            codePoints.unite(QSet<quint32>(slice.mapped.cbegin(), slice.mapped.cend()));
        held.append(codePoints);
    }
    const auto inKit = [&](const QString &text) {
        const QList<uint> codePoints = text.toUcs4();
        return std::all_of(codePoints.cbegin(), codePoints.cend(), [&](uint codePoint) {
            return std::all_of(held.cbegin(), held.cend(), [&](const QSet<quint32> &face) { return face.contains(codePoint); });
        });
    };
    QStringList parts;
    const QString pangram = QStringLiteral("天地玄黄 宇宙洪荒");
    for (const QString &part : {family, pangram}) {
        if (!part.isEmpty() && inKit(part))
            parts.append(part);
    }
    if (!parts.contains(pangram)) {
        constexpr int kSlices = 4, kLetters = 6;
        for (const KitSlice &slice : faces.value(0).slices.mid(0, kSlices)) {
            QString letters;
            for (quint32 codePoint : slice.mapped) {
                const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
                if (letters.size() < kLetters && QChar::isLetter(char32_t(codePoint)) && inKit(character))
                    letters += character;
            }
            if (!letters.isEmpty())
                parts.append(letters);
        }
    }
    return parts.join(QLatin1Char(' '));
}

// The kit's CSS, linked; or, when it offers local() sources, the same rules
// without them in the page itself: an installed copy of the font must not
// stand in for the slices the preview is there to show.
QString previewStyleSheet(const QVector<KitFace> &faces, const KitSettings &settings)
{
    if (!settings.localSources)
        return QStringLiteral("<link rel=\"stylesheet\" href=\"%1\">\n").arg(settings.cssFile.toHtmlEscaped());
    KitSettings withoutLocal = settings;
    withoutLocal.localSources = false;
    QString rules = QString::fromUtf8(kitCss(faces, withoutLocal));
    rules.remove(0, rules.indexOf(QLatin1Char('\n')) + 1); // a style element takes no @charset
    return QStringLiteral("<style>\n%1</style>\n").arg(rules);
}

quint64 faceBytes(const KitFace &face)
{
    quint64 bytes = 0;
    for (const KitSlice &slice : face.slices)
        bytes += slice.bytes;
    return bytes;
}

} // namespace

QString unicodeRange(const KeepList &codePoints)
{
    QStringList ranges;
    for (qsizetype i = 0; i < codePoints.size();) {
        qsizetype last = i;
        while (last + 1 < codePoints.size() && codePoints.at(last + 1) == codePoints.at(last) + 1)
            ++last;
        ranges.append(last == i ? QStringLiteral("U+") + hex(codePoints.at(i))
                                : QStringLiteral("U+%1-%2").arg(hex(codePoints.at(i)), hex(codePoints.at(last))));
        i = last + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

QByteArray kitCss(const QVector<KitFace> &faces, const KitSettings &settings)
{
    // The charset first, or a page served in another encoding misreads a
    // family name that is not ASCII, and gets no web font at all.
    QString css = QStringLiteral("@charset \"UTF-8\";\n/* %1: %2 */\n").arg(kKitMarker, settings.cssFile);
    for (const KitFace &kitFace : faces) {
        const WebFace &face = kitFace.face;
        const QString stretch = cssStretch(face);
        for (const KitSlice &slice : kitFace.slices) {
            css += QStringLiteral("@font-face {\n"
                                  "  font-family: %1;\n"
                                  "  font-style: %2;\n"
                                  "  font-weight: %3;\n%8"
                                  "  font-display: %4;\n"
                                  "  src: %5url(\"%6\") format(\"woff2\");\n"
                                  "  unicode-range: %7;\n"
                                  "}\n")
                           .arg(cssString(settings.cssFamily), cssStyle(face), cssWeight(face), settings.fontDisplay,
                                settings.localSources ? localSources(face) : QString(), slice.file,
                                unicodeRange(slice.mapped),
                                stretch.isEmpty() ? QString() : QStringLiteral("  font-stretch: %1;\n").arg(stretch));
        }
    }
    return css.toUtf8();
}

QByteArray kitPreview(const QVector<KitFace> &faces, const KitSettings &settings)
{
    const QString family = settings.cssFamily.toHtmlEscaped();
    QString html = QStringLiteral(
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"generator\" content=\"%5\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>%1</title>\n%2<style>\n"
            "body { font-family: sans-serif; margin: 2em; }\n"
            ".web { font-family: %3; font-size: 28px; line-height: 1.4; word-break: break-all; }\n"
            "textarea.web { width: 100%; height: 6em; box-sizing: border-box; }\n"
            "summary { cursor: pointer; font-family: monospace; }\n"
            "</style>\n</head>\n<body>\n<h1>%1</h1>\n"
            "<p>Type here to see the text drawn in the web font; only the slices it needs are fetched.</p>\n"
            "<textarea class=\"web\">%4</textarea>\n")
                           .arg(family, previewStyleSheet(faces, settings), cssString(settings.cssFamily),
                                previewSample(faces, settings.cssFamily).toHtmlEscaped(), kKitMarker);
    for (const KitFace &kitFace : faces) {
        const WebFace &face = kitFace.face;
        QString style = QStringLiteral("font-weight: %1; font-style: %2").arg(cssWeight(face), cssStyle(face));
        if (!cssStretch(face).isEmpty())
            style += QStringLiteral("; font-stretch: ") + cssStretch(face);
        html += QStringLiteral("<h2 class=\"web\" style=\"%1\">%2</h2>\n<p>PostScript name %3; weight %4, %5; "
                               "%6, %7 bytes; %8</p>\n")
                        .arg(style, face.fullName.toHtmlEscaped(), face.postScriptName.toHtmlEscaped(),
                             cssWeight(face), cssStyle(face), counted(kitFace.slices.size(), "slice", "slices"),
                             QString::number(faceBytes(kitFace)), slicedBy(kitFace));
        // A closed slice draws nothing, so opening the page fetches only the
        // first slices, which the box's text needs anyway.
        for (const KitSlice &slice : kitFace.slices)
            html += QStringLiteral("<details%6><summary>%1: %2 bytes, %3</summary>\n"
                                   "<p class=\"web\" style=\"%4\">%5</p></details>\n")
                            .arg(slice.file.toHtmlEscaped(), QString::number(slice.bytes),
                                 counted(slice.mapped.size(), "character", "characters"), style, characters(slice.mapped),
                                 &slice == &kitFace.slices.first() ? QStringLiteral(" open") : QString());
    }
    return (html + QStringLiteral("</body>\n</html>\n")).toUtf8();
}

QByteArray kitReport(const QVector<KitFace> &faces, const KitSettings &settings)
{
    QJsonArray faceList;
    quint64 totalBytes = 0;
    qint64 totalSlices = 0, totalCodePoints = 0;
    for (const KitFace &kitFace : faces) {
        QJsonArray slices;
        for (const KitSlice &slice : kitFace.slices) {
            slices.append(QJsonObject{{QStringLiteral("file"), slice.file},
                                      {QStringLiteral("bytes"), qint64(slice.bytes)},
                                      {QStringLiteral("codePoints"), qint64(slice.mapped.size())},
                                      {QStringLiteral("unicodeRange"), unicodeRange(slice.mapped)}});
            totalBytes += slice.bytes;
            totalCodePoints += slice.mapped.size();
        }
        totalSlices += kitFace.slices.size();
        faceList.append(QJsonObject{{QStringLiteral("source"), QFileInfo(kitFace.source).fileName()},
                                    {QStringLiteral("index"), kitFace.index},
                                    {QStringLiteral("fullName"), kitFace.face.fullName},
                                    {QStringLiteral("postScriptName"), kitFace.face.postScriptName},
                                    {QStringLiteral("fontWeight"), cssWeight(kitFace.face)},
                                    {QStringLiteral("fontStyle"), cssStyle(kitFace.face)},
                                    {QStringLiteral("fontStretch"), cssStretch(kitFace.face)},
                                    {QStringLiteral("slicedBy"), kitFace.byTextUse ? QStringLiteral("text")
                                             : kitFace.language.isEmpty() ? QStringLiteral("block")
                                                                          : QStringLiteral("frequency")},
                                    {QStringLiteral("language"), kitFace.language.isEmpty()
                                             ? QJsonValue(QJsonValue::Null)
                                             : QJsonValue(kitFace.language)},
                                    {QStringLiteral("slices"), slices}});
    }
    const QJsonObject options{{QStringLiteral("cssFamily"), settings.cssFamily},
                              {QStringLiteral("fontDisplay"), settings.fontDisplay},
                              {QStringLiteral("local"), settings.localSources},
                              {QStringLiteral("characters"), settings.requestedCharacters == 0
                                       ? QJsonValue(QStringLiteral("all"))
                                       : QJsonValue(settings.requestedCharacters)}};
    // "about" sorts first, so the marker opens the file.
    const QJsonObject report{{QStringLiteral("about"), kKitMarker},
                             {QStringLiteral("css"), settings.cssFile},
                             {QStringLiteral("options"), options},
                             {QStringLiteral("faces"), faceList},
                             {QStringLiteral("totals"),
                              QJsonObject{{QStringLiteral("slices"), totalSlices},
                                          {QStringLiteral("bytes"), qint64(totalBytes)},
                                          {QStringLiteral("codePoints"), totalCodePoints}}}};
    return QJsonDocument(report).toJson();
}
