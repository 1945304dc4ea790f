// Fuzz target: a GSUB table through its readers, the ligatures and the
// localized forms of a language. Each must stay within the budget its size
// sets, whatever its offsets point at.

#include "sfnt/GsubLigatures.h"
#include "sfnt/LanguageForms.h"
#include "sfnt/ReadingBudget.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ByteView gsub(data, size);
    const GsubLigatures read = gsubLigatures(gsub, 100000);
    quint64 components = 0;
    for (const QVector<quint16> &ligature : read.ligatures) {
        if (ligature.isEmpty() || ligature.size() > kMostLigatureComponents)
            std::abort();
        components += quint64(ligature.size());
    }
    if (components > ReadingBudget::kStepsPerByte * size + ReadingBudget::kBaseSteps)
        std::abort();

    const QByteArray renamed = withOtherLanguagesFormsRenamed(gsub, {0x5A485320 /* 'ZHS ' */}, 0x7A7A7A7A);
    if (!renamed.isEmpty() && quint64(renamed.size()) != size)
        std::abort();
    return 0;
}
