#include "KitFiles.h"

#include "KitNames.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>

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

// The preview page's texts, in the language of the translation installed (the
// window's), else in English (the command line's).
QString pageText(const char *text)
{
    return QCoreApplication::translate("KitPreview", text);
}

// The page's language as its lang attribute gives it: the translation's
// own text for this source.
QString pageLanguage()
{
    return QCoreApplication::translate("KitPreview", "en", "the language of the preview page, as an HTML lang tag");
}

// A number as the page's language writes it: "2,714,944".
QString pageNumber(quint64 value)
{
    return QLocale(pageLanguage()).toString(value);
}

QString characters(const KeepList &codePoints)
{
    QString text;
    for (quint32 codePoint : codePoints)
        text += QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
    return text.toHtmlEscaped();
}

// "1 slice", "2 slices", "2 个分片": a text of each number for English,
// whose translation may be the same for both.
QString counted(quint64 count, const char *one, const char *many)
{
    return pageText(count == 1 ? one : many).arg(pageNumber(count));
}

QString slicedBy(const KitFace &face)
{
    if (face.byTextUse)
        return pageText(QT_TRANSLATE_NOOP("KitPreview", "sliced by the text's use"));
    return face.language.isEmpty()
            ? pageText(QT_TRANSLATE_NOOP("KitPreview", "sliced by Unicode block"))
            : pageText(QT_TRANSLATE_NOOP("KitPreview", "sliced by the %1 frequency slices")).arg(face.language);
}

// The box's first text, of characters every face of the kit maps, so that no
// other font draws any of it: the text the kit was made for, as it reads
// (its first line or so, blanks as single spaces); else the family's name and
// a pangram where the kit holds them, else the first letters of the first
// slices.
QString previewSample(const QVector<KitFace> &faces, const QString &family, const KeepList &text)
{
    QVector<QSet<quint32>> held;
    for (const KitFace &face : faces) {
        QSet<quint32> codePoints;
        for (const KitSlice &slice : face.slices)
            codePoints.unite(QSet<quint32>(slice.mapped.cbegin(), slice.mapped.cend()));
        held.append(codePoints);
    }
    const auto inEveryFace = [&](quint32 codePoint) {
        return std::all_of(held.cbegin(), held.cend(), [&](const QSet<quint32> &face) { return face.contains(codePoint); });
    };
    const auto inKit = [&](const QString &part) {
        const QList<uint> codePoints = part.toUcs4();
        return std::all_of(codePoints.cbegin(), codePoints.cend(), inEveryFace);
    };
    const auto character = [](quint32 codePoint) {
        return QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
    };

    constexpr int kSampleCharacters = 60;
    QString fromText;
    int drawn = 0;
    for (quint32 codePoint : text) {
        if (drawn >= kSampleCharacters)
            break;
        if (QChar::isSpace(char32_t(codePoint)) || QChar::category(char32_t(codePoint)) == QChar::Other_Control) {
            if (!fromText.isEmpty() && !fromText.endsWith(QLatin1Char(' ')) && inEveryFace(0x20))
                fromText += QLatin1Char(' ');
        } else if (inEveryFace(codePoint)) {
            fromText += character(codePoint);
            ++drawn;
        }
    }
    if (drawn > 0)
        return fromText.trimmed();

    QStringList parts;
    const QString pangram = QStringLiteral("天地玄黄 宇宙洪荒");
    const QString latinPangram = QStringLiteral("The quick brown fox jumps over the lazy dog");
    for (const QString &part : {family, pangram}) {
        if (!part.isEmpty() && inKit(part))
            parts.append(part);
    }
    if (!parts.contains(pangram) && inKit(latinPangram)) {
        parts.append(latinPangram);
    } else if (!parts.contains(pangram)) {
        constexpr int kSlices = 4, kLetters = 6;
        for (const KitSlice &slice : faces.value(0).slices.mid(0, kSlices)) {
            QString letters;
            for (quint32 codePoint : slice.mapped) {
                if (letters.size() < kLetters && QChar::isLetter(char32_t(codePoint)) && inEveryFace(codePoint))
                    letters += character(codePoint);
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
    QVector<KitFace> withoutFallbacks = faces; // local fonts all of them, and the page draws with none
    for (KitFace &face : withoutFallbacks)
        face.fallbacks.clear();
    QString rules = QString::fromUtf8(kitCss(withoutFallbacks, withoutLocal));
    rules.remove(0, rules.indexOf(QLatin1Char('\n')) + 1); // a style element takes no @charset
    return QStringLiteral("<style>\n%1</style>\n").arg(rules);
}

// Counts, as the box's text changes, the slices and bytes it costs: for
// each character, the slice whose rule a browser picks by unicode-range (read
// from the page's CSS rules: the last that holds it, where ranges overlap,
// as CSS Fonts orders them), with their bytes from the report. A page
// opened from a file gets no web fonts, and is told so.
const char kPreviewScript[] = R"js((function () {
  "use strict";
  var texts = JSON.parse(document.getElementById("kit-texts").textContent);
  var box = document.querySelector("textarea.web");
  var cost = document.getElementById("cost");
  var lang = document.documentElement.lang;
  function fill(template, values) {
    return template.replace(/%(\d)/g, function (all, n) { return values[n - 1]; });
  }
  function number(n) { return n.toLocaleString(lang); }
  if (location.protocol === "file:") {
    document.getElementById("served").hidden = false;
    return;
  }
  // Each rule's code points, from the CSS the page uses, in its order.
  function ranges(value) {
    return value.split(",").map(function (part) {
      var bounds = part.trim().replace(/^U\+/i, "").split("-");
      var first = bounds[0], last = bounds.length > 1 ? bounds[1] : bounds[0];
      return [parseInt(first.replace(/\?/g, "0"), 16), parseInt(last.replace(/\?/g, "F"), 16)];
    });
  }
  function fontFaceRules() {
    var found = [];
    Array.prototype.forEach.call(document.styleSheets, function (sheet) {
      var rules;
      try { rules = sheet.cssRules; } catch (e) { return; }
      Array.prototype.forEach.call(rules, function (rule) {
        var url = rule instanceof CSSFontFaceRule && /url\(\s*["']?([^"')]+)/.exec(rule.style.getPropertyValue("src"));
        if (url)
          found.push({file: decodeURIComponent(url[1].split("/").pop()),
                      ranges: ranges(rule.style.getPropertyValue("unicode-range") || "U+0-10FFFF")});
      });
    });
    return found;
  }
  fetch(encodeURIComponent(texts.report)).then(function (answer) { return answer.json(); }).then(function (report) {
    var rules = fontFaceRules();
    function show() {
      var codePoints = new Set();
      for (var character of box.value) {
        var code = character.codePointAt(0);
        if (code >= 0x20 && (code < 0x7F || code > 0x9F))
          codePoints.add(code);
      }
      var lines = report.faces.map(function (face) {
        // Ranges of a face's slices may overlap: a browser fetches, for each
        // character, the slice of the last rule whose range holds it (and
        // that slice maps it, as every range of a kit promises).
        var bytesOf = new Map(face.slices.map(function (slice) { return [slice.file, slice.bytes]; }));
        var own = rules.filter(function (rule) { return bytesOf.has(rule.file); }).reverse();
        var fetched = new Set();
        codePoints.forEach(function (code) {
          var rule = own.find(function (candidate) {
            return candidate.ranges.some(function (range) { return code >= range[0] && code <= range[1]; });
          });
          if (rule)
            fetched.add(rule.file);
        });
        var bytes = 0;
        fetched.forEach(function (file) { bytes += bytesOf.get(file); });
        var line = fill(texts.cost, [number(fetched.size), number(face.slices.length), number(bytes)]);
        return report.faces.length > 1 ? fill(texts.faceCost, [face.fullName, line]) : line;
      });
      cost.textContent = lines.join("\n");
    }
    box.addEventListener("input", show);
    show();
  }).catch(function () {
    cost.textContent = texts.noReport;
  });
})();
)js";

// The texts the script shows, and the kit's report it reads, as JSON that
// cannot close its script element.
QString previewScriptTexts(const KitSettings &settings)
{
    const QJsonObject texts{
        {QStringLiteral("report"), kitReportFileName(settings.cssFile)},
        {QStringLiteral("cost"), pageText(QT_TRANSLATE_NOOP("KitPreview", "This text fetches %1 of %2 slices: %3 bytes."))},
        {QStringLiteral("faceCost"), pageText(QT_TRANSLATE_NOOP("KitPreview", "%1: %2"))},
        {QStringLiteral("noReport"),
         pageText(QT_TRANSLATE_NOOP("KitPreview", "The kit's report could not be read: what the text costs is not known."))},
    };
    return QString::fromUtf8(QJsonDocument(texts).toJson(QJsonDocument::Compact)).replace(QLatin1Char('<'), QStringLiteral("\\u003c"));
}

quint64 faceBytes(const KitFace &face)
{
    quint64 bytes = 0;
    for (const KitSlice &slice : face.slices)
        bytes += slice.bytes;
    return bytes;
}

// A percentage as the CSS and the report give it: two decimals at most.
double percent(double value)
{
    return std::round(value * 100) / 100;
}

QString cssPercent(double value)
{
    return QString::number(percent(value), 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")))
            + QLatin1Char('%');
}

// The fallback families, each once, in the order the faces list them.
QStringList fallbackFamilies(const QVector<KitFace> &faces, const QString &cssFamily)
{
    QStringList families;
    for (const KitFace &face : faces) {
        for (const FallbackFace &fallback : face.fallbacks) {
            const QString family = fallbackFamily(cssFamily, fallback);
            if (!families.contains(family))
                families.append(family);
        }
    }
    return families;
}

// Each fallback face: the local font under the kit's style descriptors,
// with the face's metrics. No font-display: a local font is there at once,
// or not at all, and the next family of the list is tried.
QString fallbackRules(const KitFace &kitFace, const QString &cssFamily)
{
    QString rules;
    const WebFace &face = kitFace.face;
    const QString stretch = cssStretch(face);
    for (const FallbackFace &fallback : kitFace.fallbacks) {
        QStringList sources;
        for (const QString &name : fallback.localNames)
            sources.append(QStringLiteral("local(%1)").arg(cssString(name)));
        rules += QStringLiteral("@font-face {\n"
                                "  font-family: %1;\n"
                                "  font-style: %2;\n"
                                "  font-weight: %3;\n%4"
                                "  src: %5;\n"
                                "  size-adjust: %6;\n"
                                "  ascent-override: %7;\n"
                                "  descent-override: %8;\n"
                                "  line-gap-override: %9;\n"
                                "}\n")
                         .arg(cssString(fallbackFamily(cssFamily, fallback)), cssStyle(face), cssWeight(face),
                              stretch.isEmpty() ? QString() : QStringLiteral("  font-stretch: %1;\n").arg(stretch),
                              sources.join(QStringLiteral(", ")), cssPercent(fallback.sizeAdjust),
                              cssPercent(fallback.ascentOverride), cssPercent(fallback.descentOverride),
                              cssPercent(fallback.lineGapOverride));
    }
    return rules;
}

// Each page with the slices of the face it fetches, and their bytes.
struct PageCost
{
    QString path;
    QVector<int> slices;
    quint64 bytes = 0;
};

QVector<PageCost> pageCosts(const KitFace &face, const QVector<KitPage> &pages)
{
    QVector<PageCost> costs;
    for (const KitPage &page : pages) {
        PageCost cost{page.path, fetchedSlices(face, page.characters)};
        for (int slice : cost.slices)
            cost.bytes += face.slices.at(slice).bytes;
        costs.append(cost);
    }
    return costs;
}

QJsonArray pageList(const KitFace &face, const QVector<KitPage> &pages)
{
    QJsonArray list;
    for (const PageCost &cost : pageCosts(face, pages)) {
        QJsonArray files;
        for (int slice : cost.slices)
            files.append(face.slices.at(slice).file);
        list.append(QJsonObject{{QStringLiteral("path"), cost.path},
                                {QStringLiteral("slices"), files},
                                {QStringLiteral("bytes"), qint64(cost.bytes)}});
    }
    return list;
}

// The pages' table: each page, the numbers of the slices it fetches (as
// the summaries above number them) and their bytes.
QString pageTable(const KitFace &face, const QVector<KitPage> &pages)
{
    QString rows;
    for (const PageCost &cost : pageCosts(face, pages)) {
        QStringList numbers;
        for (int slice : cost.slices)
            numbers.append(pageNumber(quint64(slice) + 1));
        rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                        .arg(cost.path.toHtmlEscaped(), numbers.join(QStringLiteral(", ")), pageNumber(cost.bytes));
    }
    return QStringLiteral("<table class=\"pages\">\n<caption>%1</caption>\n<tr><th>%2</th><th>%3</th><th>%4</th></tr>\n%5</table>\n")
            .arg(pageText(QT_TRANSLATE_NOOP("KitPreview", "What each page of the site fetches")).toHtmlEscaped(),
                 pageText(QT_TRANSLATE_NOOP("KitPreview", "Page")).toHtmlEscaped(),
                 pageText(QT_TRANSLATE_NOOP("KitPreview", "Slices")).toHtmlEscaped(),
                 pageText(QT_TRANSLATE_NOOP("KitPreview", "Bytes")).toHtmlEscaped(), rows);
}

} // namespace

QVector<int> fetchedSlices(const KitFace &face, const KeepList &characters)
{
    QVector<int> fetched;
    for (quint32 codePoint : sortedKeepList(characters)) {
        for (int i = int(face.slices.size()) - 1; i >= 0; --i) {
            const KeepList &mapped = face.slices.at(i).mapped; // ascending, as its unicode-range is written
            if (std::binary_search(mapped.cbegin(), mapped.cend(), codePoint)) {
                if (!fetched.contains(i))
                    fetched.append(i);
                break;
            }
        }
    }
    std::sort(fetched.begin(), fetched.end());
    return fetched;
}

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

QVector<CodePointSpan> unicodeRangeSpans(const QString &range)
{
    static const QRegularExpression span(QStringLiteral("^U\\+([0-9A-F]{1,6})(?:-([0-9A-F]{1,6}))?$"));
    QVector<CodePointSpan> spans;
    for (const QString &part : range.split(QStringLiteral(", "))) {
        const QRegularExpressionMatch match = span.match(part);
        if (!match.hasMatch())
            return {};
        const quint32 first = match.captured(1).toUInt(nullptr, 16);
        const quint32 last = match.hasCaptured(2) ? match.captured(2).toUInt(nullptr, 16) : first;
        if (last < first || last > 0x10FFFF)
            return {};
        spans.append({first, last});
    }
    return spans;
}

QByteArray kitCss(const QVector<KitFace> &faces, const KitSettings &settings)
{
    // The charset first, or a page served in another encoding misreads a
    // family name that is not ASCII, and gets no web font at all.
    QString css = QStringLiteral("@charset \"UTF-8\";\n/* %1: %2 */\n").arg(kKitMarker, settings.cssFile);
    // The declaration to copy, on a line of its own as the rules write theirs.
    const QStringList fallbacks = fallbackFamilies(faces, settings.cssFamily);
    if (!fallbacks.isEmpty()) {
        QStringList families{cssString(settings.cssFamily)};
        for (const QString &family : fallbacks)
            families.append(cssString(family));
        css += QStringLiteral("/* Local fonts sized to the kit's metrics draw the text while its slices load:\n"
                              "  font-family: %1;\n*/\n")
                       .arg(families.join(QStringLiteral(", ")));
    }
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
    // After the kit's own rules, which are what the kit's readers look for first.
    for (const KitFace &kitFace : faces)
        css += fallbackRules(kitFace, settings.cssFamily);
    return css.toUtf8();
}

QByteArray kitPreview(const QVector<KitFace> &faces, const KitSettings &settings)
{
    const QString family = settings.cssFamily.toHtmlEscaped();
    // The samples are drawn in the kit's language, whose forms a browser
    // picks by it; the page's own text is in the page's language.
    const QString sampleLanguage = faces.isEmpty() ? QString() : faces.first().language;
    QString html = QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"%5\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"generator\" content=\"%4\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>%1</title>\n%2<style>\n"
            "body { font-family: sans-serif; margin: 2em; }\n"
            ".web { font-family: %3; font-size: 28px; line-height: 1.4; word-break: break-all; }\n"
            "textarea.web { width: 100%; height: 6em; box-sizing: border-box; }\n"
            "summary { cursor: pointer; font-family: monospace; }\n"
            "#cost { white-space: pre-line; }\n"
            ".note { border-left: 4px solid #c60; padding: 0.2em 1em; }\n"
            "table.pages { border-collapse: collapse; margin: 1em 0; }\n"
            "table.pages caption { text-align: left; font-weight: bold; }\n"
            "table.pages th, table.pages td { border: 1px solid #ccc; padding: 0.2em 0.6em; text-align: left; }\n"
            "</style>\n</head>\n<body>\n<h1>%1</h1>\n")
                           .arg(family, previewStyleSheet(faces, settings), cssString(settings.cssFamily), kKitMarker,
                                pageLanguage().toHtmlEscaped());
    html += QStringLiteral("<p class=\"note\" id=\"served\" hidden>%1</p>\n")
                    .arg(pageText(QT_TRANSLATE_NOOP("KitPreview",
                                                    "Browsers load no web fonts into a page opened from a file: serve "
                                                    "this folder over HTTP and open the page there (the window's "
                                                    "\"Preview\" does).")).toHtmlEscaped());
    html += QStringLiteral("<p><label for=\"sample\">%1</label></p>\n"
                           "<textarea class=\"web\" id=\"sample\" lang=\"%2\">%3</textarea>\n"
                           "<p id=\"cost\" aria-live=\"polite\"></p>\n")
                    .arg(pageText(QT_TRANSLATE_NOOP("KitPreview", "Type here to see the text drawn in the web font; "
                                                                  "only the slices it needs are fetched."))
                                 .toHtmlEscaped(),
                         sampleLanguage.toHtmlEscaped(),
                         previewSample(faces, settings.cssFamily, settings.sampleText).toHtmlEscaped());
    for (const KitFace &kitFace : faces) {
        const WebFace &face = kitFace.face;
        QString style = QStringLiteral("font-weight: %1; font-style: %2").arg(cssWeight(face), cssStyle(face));
        if (!cssStretch(face).isEmpty())
            style += QStringLiteral("; font-stretch: ") + cssStretch(face);
        html += QStringLiteral("<h2 class=\"web\" lang=\"%1\" style=\"%2\">%3</h2>\n<p>%4</p>\n")
                        .arg(sampleLanguage.toHtmlEscaped(), style, face.fullName.toHtmlEscaped(),
                             pageText(QT_TRANSLATE_NOOP("KitPreview", "PostScript name %1; weight %2, %3; %4, %5 bytes; %6"))
                                     .arg(face.postScriptName, cssWeight(face), cssStyle(face),
                                          counted(quint64(kitFace.slices.size()), QT_TRANSLATE_NOOP("KitPreview", "%1 slice"),
                                                  QT_TRANSLATE_NOOP("KitPreview", "%1 slices")),
                                          pageNumber(faceBytes(kitFace)), slicedBy(kitFace))
                                     .toHtmlEscaped());
        if (!settings.pages.isEmpty())
            html += pageTable(kitFace, settings.pages);
        // A closed slice draws nothing, so opening the page fetches only the
        // first slices, which the box's text needs anyway.
        for (const KitSlice &slice : kitFace.slices)
            html += QStringLiteral("<details%1><summary>%2</summary>\n"
                                   "<p class=\"web\" lang=\"%3\" style=\"%4\">%5</p></details>\n")
                            .arg(&slice == &kitFace.slices.first() ? QStringLiteral(" open") : QString(),
                                 pageText(QT_TRANSLATE_NOOP("KitPreview", "%1: %2 bytes, %3"))
                                         .arg(slice.file, pageNumber(slice.bytes),
                                              counted(quint64(slice.mapped.size()),
                                                      QT_TRANSLATE_NOOP("KitPreview", "%1 character"),
                                                      QT_TRANSLATE_NOOP("KitPreview", "%1 characters")))
                                         .toHtmlEscaped(),
                                 sampleLanguage.toHtmlEscaped(), style, characters(slice.mapped));
    }
    html += QStringLiteral("<script type=\"application/json\" id=\"kit-texts\">%1</script>\n<script>\n%2</script>\n")
                    .arg(previewScriptTexts(settings), QString::fromLatin1(kPreviewScript));
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
        QJsonArray fallbacks;
        for (const FallbackFace &fallback : kitFace.fallbacks)
            fallbacks.append(QJsonObject{{QStringLiteral("family"), fallbackFamily(settings.cssFamily, fallback)},
                                         {QStringLiteral("local"), QJsonArray::fromStringList(fallback.localNames)},
                                         {QStringLiteral("sizeAdjust"), percent(fallback.sizeAdjust)},
                                         {QStringLiteral("ascentOverride"), percent(fallback.ascentOverride)},
                                         {QStringLiteral("descentOverride"), percent(fallback.descentOverride)},
                                         {QStringLiteral("lineGapOverride"), percent(fallback.lineGapOverride)},
                                         {QStringLiteral("lineHeight"), percent(fallback.lineHeight)},
                                         {QStringLiteral("localLineHeight"), fallback.localLineHeight > 0
                                                                                     ? QJsonValue(percent(fallback.localLineHeight))
                                                                                     : QJsonValue()}});
        QJsonObject faceObject{{QStringLiteral("source"), QFileInfo(kitFace.source).fileName()},
                                    {QStringLiteral("index"), kitFace.index},
                                    {QStringLiteral("fullName"), kitFace.face.fullName},
                                    {QStringLiteral("postScriptName"), kitFace.face.postScriptName},
                                    {QStringLiteral("fontWeight"), cssWeight(kitFace.face)},
                                    {QStringLiteral("fontStyle"), cssStyle(kitFace.face)},
                                    {QStringLiteral("fontStretch"), cssStretch(kitFace.face)},
                                    {QStringLiteral("slicedBy"), kitFace.byTextUse ? QStringLiteral("text")
                                             : kitFace.language.isEmpty() ? QStringLiteral("block")
                                                                          : QStringLiteral("frequency")},
                                    {QStringLiteral("keptEarlierSlices"), kitFace.keptEarlierSlices},
                                    {QStringLiteral("language"), kitFace.language.isEmpty()
                                             ? QJsonValue(QJsonValue::Null)
                                             : QJsonValue(kitFace.language)},
                                    {QStringLiteral("slices"), slices},
                                    {QStringLiteral("fallbacks"), fallbacks}};
        if (!settings.pages.isEmpty())
            faceObject.insert(QStringLiteral("pages"), pageList(kitFace, settings.pages));
        faceList.append(faceObject);
    }
    const QJsonObject options{{QStringLiteral("cssFamily"), settings.cssFamily},
                              {QStringLiteral("fontDisplay"), settings.fontDisplay},
                              {QStringLiteral("local"), settings.localSources},
                              {QStringLiteral("characters"), settings.requestedCharacters == 0
                                       ? QJsonValue(QStringLiteral("all"))
                                       : QJsonValue(settings.requestedCharacters)}};
    // "about" sorts first, so the marker opens the file.
    QJsonObject report{{QStringLiteral("about"), kKitMarker},
                             {QStringLiteral("css"), settings.cssFile},
                             {QStringLiteral("options"), options},
                             {QStringLiteral("faces"), faceList},
                             {QStringLiteral("totals"),
                              QJsonObject{{QStringLiteral("slices"), totalSlices},
                                          {QStringLiteral("bytes"), qint64(totalBytes)},
                                          {QStringLiteral("codePoints"), totalCodePoints}}}};
    return QJsonDocument(report).toJson();
}
