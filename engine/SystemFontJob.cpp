// Subsetting an installed family into a folder, named after its face.

#include "FontSubsetter.h"

#include "catalogue/Folders.h"
#include "sfnt/CollectionSplit.h"

FontSubsetter::SystemSubset FontSubsetter::subsetSystemFont(const QString &outputFolder, const QString &family,
                                                          const KeepList &list)
{
    clearFont();
    SystemSubset result;
    result.face = family;
    if (result.face.isEmpty() || familyFiles.value(result.face.toLower()).isEmpty())
        result.face = defaultFace;
    result.outputPath = outputFolder + QLatin1Char('/') + result.face + QLatin1String(".ttf");

    // The output must stay inside the folder.
    if (!isUsableFileName(result.face)) {
        result.status = SystemSubset::UnusableName;
        return result;
    }

    const QString sourcePath = systemFontPath(result.face);
    if (isSameFile(sourcePath, result.outputPath)) {
        result.status = SystemSubset::WouldReplaceSource;
        return result;
    }

    loadTrueTypeFile(sourcePath);
    setKeepList(list);
    result.status = writeSubset(result.outputPath) ? SystemSubset::Written : SystemSubset::WriteFailed;
    return result;
}
