#include "LanguageForms.h"

#include "ReadingBudget.h"

#include <QSet>

namespace {

constexpr quint32 kLoclTag = 0x6C6F636C; // 'locl'
constexpr quint16 kNoRequiredFeature = 0xFFFF;

// The language systems of a script list that a kit keeps: the wanted ones
// and every script's default one. Each script and language system is read
// once, however many records point at it.
struct KeptFeatures
{
    ByteView gsub;
    ReadingBudget budget;
    QSet<quint64> read; // where the scripts and language systems read start in the table
    QSet<quint16> features;

    bool firstReading(ByteView part)
    {
        const quint64 place = quint64(part.data() - gsub.data());
        if (read.contains(place))
            return false;
        read.insert(place);
        return true;
    }
};

// Adds the feature indices a LangSys table lists (its required feature
// included); false when it runs past the end or the budget runs out.
bool collectFeatures(ByteView langSys, KeptFeatures *kept)
{
    if (langSys.isNull())
        return false;
    if (!kept->firstReading(langSys))
        return true;
    quint16 required = 0, count = 0;
    if (!langSys.readU16(2, &required) || !langSys.readU16(4, &count) || !langSys.contains(6, 2 * quint64(count))
        || !kept->budget.spend(1 + quint64(count)))
        return false;
    if (required != kNoRequiredFeature)
        kept->features.insert(required);
    for (quint16 i = 0; i < count; ++i) {
        quint16 index = 0;
        langSys.readU16(6 + 2 * quint64(i), &index);
        kept->features.insert(index);
    }
    return true;
}

// The features the wanted language systems, and every script's default
// one, list; false when the script list cannot be read.
bool keptFeatures(ByteView scriptList, const QVector<quint32> &languageSystems, KeptFeatures *kept)
{
    quint16 scriptCount = 0;
    if (!scriptList.readU16(0, &scriptCount) || !scriptList.contains(2, 6 * quint64(scriptCount)))
        return false;
    for (quint16 s = 0; s < scriptCount; ++s) {
        quint16 scriptOffset = 0;
        scriptList.readU16(2 + 6 * quint64(s) + 4, &scriptOffset);
        const ByteView script = scriptList.from(scriptOffset);
        if (!kept->budget.spend(1))
            return false;
        if (script.isNull() || !kept->firstReading(script))
            continue;
        quint16 defaultLangSysOffset = 0, langSysCount = 0;
        if (!script.readU16(0, &defaultLangSysOffset) || !script.readU16(2, &langSysCount)
            || !script.contains(4, 6 * quint64(langSysCount)) || !kept->budget.spend(langSysCount))
            return false;
        if (defaultLangSysOffset != 0 && !collectFeatures(script.from(defaultLangSysOffset), kept))
            return false;
        for (quint16 l = 0; l < langSysCount; ++l) {
            quint32 langSysTag = 0;
            quint16 langSysOffset = 0;
            script.readU32(4 + 6 * quint64(l), &langSysTag);
            script.readU16(4 + 6 * quint64(l) + 4, &langSysOffset);
            if (languageSystems.contains(langSysTag) && !collectFeatures(script.from(langSysOffset), kept))
                return false;
        }
    }
    return true;
}

void putU32(QByteArray *bytes, quint64 offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        (*bytes)[qsizetype(offset) + i] = char(value >> (24 - 8 * i));
}

} // namespace

QByteArray withOtherLanguagesFormsRenamed(ByteView gsub, const QVector<quint32> &languageSystems, quint32 renamedTag)
{
    quint16 majorVersion = 0, scriptListOffset = 0, featureListOffset = 0;
    if (!gsub.readU16(0, &majorVersion) || majorVersion != 1 || !gsub.readU16(4, &scriptListOffset)
        || !gsub.readU16(6, &featureListOffset))
        return {};
    KeptFeatures kept{gsub, ReadingBudget(gsub.size()), {}, {}};
    if (!keptFeatures(gsub.from(scriptListOffset), languageSystems, &kept))
        return {};
    const ByteView featureList = gsub.from(featureListOffset);
    quint16 featureCount = 0;
    if (!featureList.readU16(0, &featureCount) || !featureList.contains(2, 6 * quint64(featureCount)))
        return {};

    QByteArray renamed;
    for (quint16 f = 0; f < featureCount; ++f) {
        const quint64 tagOffset = 2 + 6 * quint64(f);
        quint32 tag = 0;
        featureList.readU32(tagOffset, &tag);
        if (tag != kLoclTag || kept.features.contains(f))
            continue;
        if (renamed.isEmpty())
            renamed = QByteArray(reinterpret_cast<const char *>(gsub.data()), qsizetype(gsub.size()));
        putU32(&renamed, featureListOffset + tagOffset, renamedTag);
    }
    return renamed;
}
