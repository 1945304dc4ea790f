#include "WebFace.h"

#include "LayoutUnits.h"
#include "SliceMaker.h"
#include "SlicePlanner.h"
#include "platform/HarfBuzzHandles.h"
#include "base/ByteView.h"
#include "sfnt/GsubLigatures.h"
#include "sfnt/NameReader.h"
#include "sfnt/ReadingBudget.h"

#include <hb-ot.h>

#include <QChar>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <memory>

namespace {

constexpr hb_ot_name_id_t kPostScriptNameId = 6;

// OS/2 ulCodePageRange1 bits of the CJK code pages.
constexpr quint32 kCodePageJapanese = 1u << 17;
constexpr quint32 kCodePageSimplifiedChinese = 1u << 18;
constexpr quint32 kCodePageKoreanWansung = 1u << 19;
constexpr quint32 kCodePageTraditionalChinese = 1u << 20;
constexpr quint32 kCodePageKoreanJohab = 1u << 21;

// The name in English when the font has it (CSS and local() are most often
// written with it), else in the first language the font gives it.
QString englishFirstName(hb_face_t *face, hb_ot_name_id_t nameId)
{
    unsigned count = 0;
    const hb_ot_name_entry_t *entries = hb_ot_name_list_names(face, &count);
    hb_language_t chosen = HB_LANGUAGE_INVALID;
    for (unsigned i = 0; i < count; ++i) {
        if (entries[i].name_id != nameId)
            continue;
        const char *tag = hb_language_to_string(entries[i].language);
        const bool english = tag && qstrncmp(tag, "en", 2) == 0;
        if (chosen == HB_LANGUAGE_INVALID || english)
            chosen = entries[i].language;
        if (english)
            break;
    }
    if (chosen == HB_LANGUAGE_INVALID)
        return {};
    unsigned length = kMaxNameUnits + 1;
    QVector<uint16_t> text(length);
    hb_ot_name_get_utf16(face, nameId, chosen, &length, text.data());
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(text.constData()), qsizetype(length));
}

// The languages, as HarfBuzz spells them ("zh-cn", "ja"), that the font's
// names are given in.
QStringList nameLanguages(hb_face_t *face)
{
    unsigned count = 0;
    const hb_ot_name_entry_t *entries = hb_ot_name_list_names(face, &count);
    QStringList languages;
    for (unsigned i = 0; i < count; ++i) {
        const QString tag = QString::fromLatin1(hb_language_to_string(entries[i].language));
        if (!languages.contains(tag))
            languages.append(tag);
    }
    return languages;
}

int countIn(const KeepList &codePoints, quint32 first, quint32 last)
{
    const auto from = std::lower_bound(codePoints.cbegin(), codePoints.cend(), first);
    const auto to = std::upper_bound(codePoints.cbegin(), codePoints.cend(), last);
    return int(to - from);
}

// The language whose frequency slices fit the face. Most CJK fonts map kana
// and hangul, and many claim several CJK code pages, so the clearest signal
// comes first: the one CJK language the names are given in, then the one
// CJK code page claimed, then what the font maps (kana or hangul with few
// ideographs), and Simplified Chinese otherwise.
SliceLanguage detectLanguage(hb_face_t *face, quint32 codePages, const KeepList &codePoints)
{
    QVector<SliceLanguage> named;
    for (const QString &tag : nameLanguages(face)) {
        SliceLanguage language;
        if (tag == QLatin1String("zh-cn") || tag == QLatin1String("zh-sg"))
            language = SliceLanguage::SimplifiedChinese;
        else if (tag == QLatin1String("zh-tw") || tag == QLatin1String("zh-mo"))
            language = SliceLanguage::TraditionalChinese;
        else if (tag == QLatin1String("zh-hk"))
            language = SliceLanguage::HongKongChinese;
        else if (tag.startsWith(QLatin1String("ja")))
            language = SliceLanguage::Japanese;
        else if (tag.startsWith(QLatin1String("ko")))
            language = SliceLanguage::Korean;
        else
            continue;
        if (!named.contains(language))
            named.append(language);
    }
    if (named.size() == 1)
        return named.first();

    QVector<SliceLanguage> claimed;
    if (codePages & kCodePageSimplifiedChinese)
        claimed.append(SliceLanguage::SimplifiedChinese);
    if (codePages & kCodePageTraditionalChinese)
        claimed.append(SliceLanguage::TraditionalChinese);
    if (codePages & kCodePageJapanese)
        claimed.append(SliceLanguage::Japanese);
    if (codePages & (kCodePageKoreanWansung | kCodePageKoreanJohab))
        claimed.append(SliceLanguage::Korean);
    if (claimed.size() == 1)
        return claimed.first();

    const int ideographs = countIn(codePoints, 0x4E00, 0x9FFF);
    if (countIn(codePoints, 0xAC00, 0xD7A3) > ideographs)
        return SliceLanguage::Korean;
    if (countIn(codePoints, 0x3040, 0x30FF) > 0 && ideographs < 1000)
        return SliceLanguage::Japanese;
    return SliceLanguage::SimplifiedChinese;
}

// Ligatures read per face, at most: Noto Color Emoji has about 4,000.
constexpr int kMostLigatures = 100000;

using SetPtr = std::unique_ptr<hb_set_t, HbDeleter<hb_set_t, hb_set_destroy>>;

// The code points of each ligature whose glyphs are all mapped from
// characters (a ligature of glyphs that other substitutions make first is
// drawn from whatever slice holds the characters it is made from), each
// code point once, and each sequence once. A glyph may be mapped from many
// characters, so the code points are paid for from a budget of their own,
// set by the GSUB table's size as its reading is.
QVector<KeepList> ligatureSequences(hb_face_t *face, const QHash<quint32, KeepList> &characters, bool *complete)
{
    const HbBlobPtr gsub(hb_face_reference_table(face, HB_TAG('G', 'S', 'U', 'B')));
    unsigned length = 0;
    const char *data = hb_blob_get_data(gsub.get(), &length);
    const GsubLigatures read = gsubLigatures(ByteView(data, length), kMostLigatures);
    ReadingBudget budget(length);
    QVector<KeepList> sequences;
    QSet<KeepList> seen;
    for (const QVector<quint16> &glyphs : read.ligatures) {
        KeepList sequence;
        QSet<quint32> held;
        for (quint16 glyph : glyphs) {
            const KeepList codePoints = characters.value(glyph);
            if (codePoints.isEmpty() || !budget.spend(quint64(codePoints.size()))) {
                sequence.clear();
                break;
            }
            for (quint32 codePoint : codePoints) {
                if (!held.contains(codePoint)) {
                    held.insert(codePoint);
                    sequence.append(codePoint);
                }
            }
        }
        if (budget.exhausted())
            break;
        if (!sequence.isEmpty() && !seen.contains(sequence)) {
            seen.insert(sequence);
            sequences.append(sequence);
        }
    }
    *complete = read.complete && !budget.exhausted();
    return sequences;
}

// The bytes of the tables that hold the glyphs themselves (outlines,
// bitmaps, colour images), and of those that hold them as images.
quint64 glyphDataBytes(hb_face_t *face, quint64 *imageBytes)
{
    quint64 bytes = 0;
    *imageBytes = 0;
    for (hb_tag_t tag : {HB_TAG('g', 'l', 'y', 'f'), HB_TAG('C', 'F', 'F', ' '), HB_TAG('C', 'F', 'F', '2'),
                         HB_TAG('C', 'B', 'D', 'T'), HB_TAG('E', 'B', 'D', 'T'), HB_TAG('s', 'b', 'i', 'x'),
                         HB_TAG('S', 'V', 'G', ' ')}) {
        const HbBlobPtr table(hb_face_reference_table(face, tag));
        const unsigned length = hb_blob_get_length(table.get());
        bytes += length;
        if (tag == HB_TAG('C', 'B', 'D', 'T') || tag == HB_TAG('E', 'B', 'D', 'T') || tag == HB_TAG('s', 'b', 'i', 'x'))
            *imageBytes += length;
    }
    return bytes;
}

QVector<QPair<quint32, KeepList>> variationSelectors(hb_face_t *face)
{
    QVector<QPair<quint32, KeepList>> selectors;
    const SetPtr found(hb_set_create());
    hb_face_collect_variation_selectors(face, found.get());
    for (hb_codepoint_t selector = HB_SET_VALUE_INVALID; hb_set_next(found.get(), &selector);) {
        const SetPtr bases(hb_set_create());
        hb_face_collect_variation_unicodes(face, selector, bases.get());
        KeepList list;
        for (hb_codepoint_t base = HB_SET_VALUE_INVALID; hb_set_next(bases.get(), &base);)
            list.append(base);
        selectors.append({selector, list});
    }
    return selectors;
}

} // namespace

bool readWebFace(hb_face_t *face, WebFace *webFace)
{
    WebFace read;
    if (hb_face_get_glyph_count(face) == 0)
        return false;

    const HbFontPtr font(hb_font_create(face));
    const SetPtr unicodes(hb_set_create());
    hb_face_collect_unicodes(face, unicodes.get());
    QHash<quint32, KeepList> characters; // glyph -> the code points mapped to it
    for (hb_codepoint_t codePoint = HB_SET_VALUE_INVALID; hb_set_next(unicodes.get(), &codePoint);) {
        hb_codepoint_t glyph = 0;
        if (QChar::category(char32_t(codePoint)) == QChar::Other_Control
            || !hb_font_get_nominal_glyph(font.get(), codePoint, &glyph) || glyph == 0)
            continue;
        read.codePoints.append(codePoint);
        characters[glyph].append(codePoint);
        hb_glyph_extents_t extents{};
        if (!hb_font_get_glyph_extents(font.get(), glyph, &extents) || extents.width == 0 || extents.height == 0)
            read.blank.insert(codePoint);
    }
    if (read.codePoints.isEmpty())
        return false;

    for (quint32 codePoint : {quint32('x'), quint32('H'), quint32('A'), quint32('0'), quint32(0x2014)}) {
        if (std::binary_search(read.codePoints.cbegin(), read.codePoints.cend(), codePoint)) {
            read.measuredBy = {codePoint};
            break;
        }
    }
    read.sequences = ligatureSequences(face, characters, &read.sequencesComplete);
    read.variationSelectors = variationSelectors(face);

    read.family = englishFirstName(face, kTypographicFamilyNameId);
    if (read.family.isEmpty())
        read.family = englishFirstName(face, kFamilyNameId);
    read.fullName = englishFirstName(face, kFullNameId);
    read.postScriptName = englishFirstName(face, kPostScriptNameId);

    const HbBlobPtr os2Blob(hb_face_reference_table(face, HB_TAG('O', 'S', '/', '2')));
    unsigned os2Length = 0;
    const char *os2Data = hb_blob_get_data(os2Blob.get(), &os2Length);
    const ByteView os2(os2Data, os2Length);
    quint16 weightClass = 0, fsSelection = 0;
    quint32 codePages = 0;
    if (os2.readU16(4, &weightClass) && weightClass >= 1 && weightClass <= 1000)
        read.weightMin = read.weightMax = weightClass;
    // usWidthClass 1 to 9: ultra-condensed to ultra-expanded.
    static const double kStretches[] = {50, 62.5, 75, 87.5, 100, 112.5, 125, 150, 200};
    quint16 widthClass = 0;
    if (os2.readU16(6, &widthClass) && widthClass >= 1 && widthClass <= 9)
        read.stretchMin = read.stretchMax = kStretches[widthClass - 1];
    if (os2.readU16(62, &fsSelection))
        read.italic = fsSelection & 1;
    os2.readU32(78, &codePages); // version 1 and later
    hb_ot_var_axis_info_t weightAxis{};
    if (hb_ot_var_find_axis_info(face, HB_TAG('w', 'g', 'h', 't'), &weightAxis)) {
        read.weightMin = qRound(weightAxis.min_value);
        read.weightMax = qRound(weightAxis.max_value);
    }
    hb_ot_var_axis_info_t widthAxis{};
    if (hb_ot_var_find_axis_info(face, HB_TAG('w', 'd', 't', 'h'), &widthAxis)) {
        read.stretchMin = widthAxis.min_value;
        read.stretchMax = widthAxis.max_value;
    }
    hb_ot_var_axis_info_t slantAxis{};
    if (hb_ot_var_find_axis_info(face, HB_TAG('s', 'l', 'n', 't'), &slantAxis)) {
        read.slantMin = slantAxis.min_value;
        read.slantMax = slantAxis.max_value;
    }
    quint64 imageBytes = 0;
    const quint64 glyphBytes = glyphDataBytes(face, &imageBytes);
    read.glyphsPerSlice = slicesOfGlyphs(glyphBytes, hb_face_get_glyph_count(face), kLargestSliceBytes);
    read.imageGlyphs = imageBytes * 2 > glyphBytes;
    read.language = detectLanguage(face, codePages, read.codePoints);
    read.layoutUnits = layoutUnits(face, read.codePoints, characters, read.glyphsPerSlice);
    *webFace = read;
    return true;
}
