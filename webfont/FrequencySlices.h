#pragma once

#include "engine/KeepList.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// The languages whose characters come with frequency slices: lists that
// divide a language's characters into slices, most frequent first, so that
// a page fetches only a few small files (resources/cjk-slices/).
enum class SliceLanguage { SimplifiedChinese, TraditionalChinese, HongKongChinese, Japanese, Korean };

// "zh-Hans", "zh-Hant", "zh-HK", "ja", "ko".
QString languageTag(SliceLanguage language);
// The OpenType language system tags ('ZHS ', 'JAN '…) of its pages.
QVector<quint32> languageSystemTags(SliceLanguage language);
// False when the tag is none of those.
bool languageFromTag(const QString &tag, SliceLanguage *language);

// The slices in the lists' text form: "#" starts a comment line, every other
// line is one slice of hexadecimal code points and ranges ("4E00-4E05 4E08").
// Each slice comes back ascending; a word that is not hexadecimal is skipped.
QVector<KeepList> parseFrequencySlices(const QByteArray &text);

// The language's slices, most frequent first, from the program's resources.
QVector<KeepList> frequencySlices(SliceLanguage language);
