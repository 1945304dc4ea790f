#include "FrequencySlices.h"

#include <QFile>

#include <iterator>

namespace {

struct LanguageFile
{
    SliceLanguage language;
    const char *tag;
    const char *resource;
    // The OpenType language systems a browser shapes its pages with, as
    // HarfBuzz tries them for the tag: Hong Kong falls back to Traditional.
    const char *languageSystems;
};

const LanguageFile kLanguages[] = {
    {SliceLanguage::SimplifiedChinese, "zh-Hans", ":/cjk-slices/simplified-chinese.txt", "ZHS "},
    {SliceLanguage::TraditionalChinese, "zh-Hant", ":/cjk-slices/traditional-chinese.txt", "ZHT ZHTM"},
    {SliceLanguage::HongKongChinese, "zh-HK", ":/cjk-slices/hongkong-chinese.txt", "ZHH ZHT "},
    {SliceLanguage::Japanese, "ja", ":/cjk-slices/japanese.txt", "JAN "},
    {SliceLanguage::Korean, "ko", ":/cjk-slices/korean.txt", "KOR "},
};

const LanguageFile &fileOf(SliceLanguage language)
{
    for (const LanguageFile &file : kLanguages) {
        if (file.language == language)
            return file;
    }
    return kLanguages[0];
}

} // namespace

QString languageTag(SliceLanguage language)
{
    return QString::fromLatin1(fileOf(language).tag);
}

QVector<quint32> languageSystemTags(SliceLanguage language)
{
    QVector<quint32> tags;
    const QByteArray systems(fileOf(language).languageSystems);
    for (qsizetype at = 0; at + 4 <= systems.size(); at += 4) {
        tags.append(quint32(uchar(systems[at])) << 24 | quint32(uchar(systems[at + 1])) << 16
                    | quint32(uchar(systems[at + 2])) << 8 | quint32(uchar(systems[at + 3])));
    }
    return tags;
}

bool languageFromTag(const QString &tag, SliceLanguage *language)
{
    for (const LanguageFile &file : kLanguages) {
        if (tag == QLatin1String(file.tag)) {
            *language = file.language;
            return true;
        }
    }
    return false;
}

QVector<KeepList> parseFrequencySlices(const QByteArray &text)
{
    QVector<KeepList> slices;
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#'))
            continue;
        KeepList slice;
        for (const QByteArray &word : trimmed.split(' ')) {
            const QList<QByteArray> ends = word.split('-');
            bool firstOk = false, lastOk = false;
            const uint first = ends.first().toUInt(&firstOk, 16);
            const uint last = ends.size() == 2 ? ends.last().toUInt(&lastOk, 16) : first;
            if (!firstOk || (ends.size() == 2 && !lastOk) || ends.size() > 2 || last < first || last > 0x10FFFF)
                continue;
            for (uint codePoint = first; codePoint <= last; ++codePoint)
                slice.append(codePoint);
        }
        slices.append(sortedKeepList(slice));
    }
    return slices;
}

QVector<KeepList> frequencySlices(SliceLanguage language)
{
    QFile file(QString::fromLatin1(fileOf(language).resource));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseFrequencySlices(file.readAll());
}
