#include "FrequencySlices.h"

#include <QFile>

#include <iterator>

namespace {

struct LanguageFile
{
    SliceLanguage language;
    const char *tag;
    const char *resource;
};

const LanguageFile kLanguages[] = {
    {SliceLanguage::SimplifiedChinese, "zh-Hans", ":/cjk-slices/simplified-chinese.txt"},
    {SliceLanguage::TraditionalChinese, "zh-Hant", ":/cjk-slices/traditional-chinese.txt"},
    {SliceLanguage::HongKongChinese, "zh-HK", ":/cjk-slices/hongkong-chinese.txt"},
    {SliceLanguage::Japanese, "ja", ":/cjk-slices/japanese.txt"},
    {SliceLanguage::Korean, "ko", ":/cjk-slices/korean.txt"},
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
