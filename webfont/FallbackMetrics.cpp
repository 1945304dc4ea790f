#include "FallbackMetrics.h"

#include "base/ByteView.h"
#include "platform/HarfBuzzHandles.h"

#include <QChar>

#include <algorithm>

namespace {

// Text of a script as pages set it: a face's width is its mean advance over
// it, and so is each local font's below. Han: ideographs and the full-width
// punctuation every Chinese font sets on the em (quotation marks are left
// out: some fonts set them narrow). Latin: English prose, spaces included.
struct ScriptSample
{
    QChar::Script script;
    const char *text; // UTF-8
};

const ScriptSample kScriptSamples[] = {
    {QChar::Script_Han, "我们在这里写下一段常见的中文文字，用来量出字体的平均宽度。每个汉字大都占一个字身，"
                        "标点也是如此：逗号、句号和分号；都是全角的。"},
    {QChar::Script_Latin, "The kit draws the page from small slices of the font, and a local font stands in while "
                          "they load. Its letters are sized so that each line holds as many words, and its lines are "
                          "as tall as the font's own."},
};

// The local fonts that stand in for a kit, by script, in the order the CSS
// lists them: those of Apple's and Microsoft's systems first, then the one
// of Linux. A row's width is its mean advance over the script's sample, in
// ems. Noto Sans CJK SC and DejaVu Sans were measured with fontTools from
// Debian 12's packages (fonts-noto-cjk 1:20220127, fonts-dejavu-core 2.37),
// and tst_webfont checks them against the installed fonts. The others are
// not installed here, and their widths are known without them:
// - PingFang SC and Microsoft YaHei, like every Chinese font, set the
//   sample's ideographs and full-width punctuation on the em;
// - Arial was drawn to Helvetica's widths, and Nimbus Sans (fonts-urw-base35)
//   to the same, so their width is Nimbus Sans's, which tst_webfont checks.
// Their line heights, which only the report shows, are not known here: 0.
struct LocalFont
{
    QChar::Script script;
    const char *family;
    const char *fullName;
    const char *postScriptName;
    double width;      // mean advance over the sample, in ems
    double lineHeight; // hhea's ascent, descent and gap, as lineMetrics reads them, in ems
};

constexpr double kNimbusSansWidth = 85675.0 / 203 / 1000;

const LocalFont kLocalFonts[] = {
    {QChar::Script_Han, "PingFang SC", "PingFang SC Regular", "PingFangSC-Regular", 1.0, 0},
    {QChar::Script_Han, "Microsoft YaHei", "Microsoft YaHei", "MicrosoftYaHei", 1.0, 0},
    {QChar::Script_Han, "Noto Sans CJK SC", "Noto Sans CJK SC", "NotoSansCJKsc-Regular", 1.0, (1160.0 + 288) / 1000},
    {QChar::Script_Latin, "Arial", "Arial", "ArialMT", kNimbusSansWidth, 0},
    {QChar::Script_Latin, "Helvetica", "Helvetica", "Helvetica", kNimbusSansWidth, 0},
    {QChar::Script_Latin, "DejaVu Sans", "DejaVu Sans", "DejaVuSans", 200614.0 / 203 / 2048, (1901.0 + 483) / 2048},
};

qint16 signedValue(quint16 value)
{
    return qint16(value);
}

} // namespace

LineMetrics lineMetrics(hb_face_t *face)
{
    const auto table = [face](hb_tag_t tag) { return HbBlobPtr(hb_face_reference_table(face, tag)); };
    const auto view = [](const HbBlobPtr &blob) {
        unsigned length = 0;
        const char *data = hb_blob_get_data(blob.get(), &length);
        return ByteView(data, length);
    };
    const HbBlobPtr headBlob = table(HB_TAG('h', 'e', 'a', 'd')), hheaBlob = table(HB_TAG('h', 'h', 'e', 'a')),
                    os2Blob = table(HB_TAG('O', 'S', '/', '2'));
    const ByteView head = view(headBlob), hhea = view(hheaBlob), os2 = view(os2Blob);
    quint16 unitsPerEm = 0;
    // The format's range; a font outside it has no size to scale by.
    if (!head.readU16(18, &unitsPerEm) || unitsPerEm < 16 || unitsPerEm > 16384)
        return {};
    LineMetrics metrics;
    metrics.unitsPerEm = unitsPerEm;
    quint16 ascender = 0, descender = 0, lineGap = 0;
    if (hhea.readU16(4, &ascender) && hhea.readU16(6, &descender) && hhea.readU16(8, &lineGap)
        && (ascender != 0 || descender != 0)) {
        metrics.ascent = signedValue(ascender);
        metrics.descent = -signedValue(descender);
        metrics.lineGap = signedValue(lineGap);
        return metrics;
    }
    quint16 sTypoAscender = 0, sTypoDescender = 0, sTypoLineGap = 0, usWinAscent = 0, usWinDescent = 0;
    if (os2.readU16(68, &sTypoAscender) && os2.readU16(70, &sTypoDescender) && os2.readU16(72, &sTypoLineGap)
        && (sTypoAscender != 0 || sTypoDescender != 0)) {
        metrics.ascent = signedValue(sTypoAscender);
        metrics.descent = -signedValue(sTypoDescender);
        metrics.lineGap = signedValue(sTypoLineGap);
    } else if (os2.readU16(74, &usWinAscent) && os2.readU16(76, &usWinDescent)) {
        metrics.ascent = usWinAscent;
        metrics.descent = usWinDescent;
    }
    return metrics;
}

double averageAdvance(hb_face_t *face, const QString &text)
{
    const HbFontPtr font(hb_font_create(face)); // scaled to the font's units
    double total = 0;
    int count = 0;
    for (const uint codePoint : text.toUcs4()) {
        hb_codepoint_t glyph = 0;
        if (!hb_font_get_nominal_glyph(font.get(), codePoint, &glyph))
            return 0;
        total += hb_font_get_glyph_h_advance(font.get(), glyph);
        ++count;
    }
    return count > 0 ? total / count : 0;
}

QVector<FallbackFace> fallbackFaces(hb_face_t *face, const KeepList &codePoints)
{
    const ScriptSample *sample = nullptr;
    qsizetype most = 0;
    for (const ScriptSample &candidate : kScriptSamples) {
        const qsizetype count = std::count_if(codePoints.cbegin(), codePoints.cend(), [&](quint32 codePoint) {
            return QChar::script(char32_t(codePoint)) == candidate.script;
        });
        if (count > most) {
            most = count;
            sample = &candidate;
        }
    }
    if (!sample)
        return {};
    const LineMetrics metrics = lineMetrics(face);
    const double advance = averageAdvance(face, QString::fromUtf8(sample->text));
    if (metrics.unitsPerEm == 0 || advance <= 0)
        return {};

    // The local font is scaled so that its text is as wide as the face's;
    // the overrides are of the scaled font's size, so each is divided by
    // the scale to give the face's own metric.
    QVector<FallbackFace> faces;
    const double em = metrics.unitsPerEm;
    for (const LocalFont &local : kLocalFonts) {
        if (local.script != sample->script)
            continue;
        FallbackFace fallback;
        fallback.localFamily = QString::fromUtf8(local.family);
        fallback.localNames = QStringList{QString::fromUtf8(local.fullName), QString::fromUtf8(local.postScriptName)};
        const double scale = (advance / em) / local.width;
        fallback.sizeAdjust = 100 * scale;
        fallback.ascentOverride = 100 * metrics.ascent / em / scale;
        fallback.descentOverride = 100 * metrics.descent / em / scale;
        fallback.lineGapOverride = 100 * metrics.lineGap / em / scale;
        fallback.lineHeight = (metrics.ascent + metrics.descent + metrics.lineGap) / em;
        fallback.localLineHeight = local.lineHeight;
        faces.append(fallback);
    }
    return faces;
}

QString fallbackFamily(const QString &cssFamily, const FallbackFace &fallback)
{
    return cssFamily + QStringLiteral(" Fallback ") + fallback.localFamily;
}
