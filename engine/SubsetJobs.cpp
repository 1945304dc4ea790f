// The two subset jobs: an installed family, or a font file, subset into a
// folder under the name of the font actually subset.

#include "FontSubsetter.h"

#include "catalogue/Folders.h"
#include "platform/FileNamer.h"
#include "sfnt/FileSuffix.h"

#include <QFileInfo>

SubsetResult FontSubsetter::subsetSystemFont(const QString &outputFolder, const QString &family,
                                             const KeepList &list, OutputFormat format)
{
    clearFont();
    SubsetResult result;
    result.requested = family;
    result.face = catalogueFace(family);
    if (result.face != family)
        result.fallback = SubsetResult::FamilyNotInstalled;
    result.sourcePath = systemFontPath(result.face);

    if (!loadFont(result.sourcePath, Reading::Mapped) || !holdsSfntFont()) {
        if (result.face == defaultFace) {
            result.status = SubsetResult::DefaultFaceUnavailable;
            return result;
        }
        // A damaged file, or a collection member that could not be extracted.
        result.fallback = SubsetResult::FamilyNotLoadable;
        result.face = defaultFace;
        result.sourcePath = systemFontPath(defaultFace);
        if (!loadFont(result.sourcePath, Reading::Mapped) || !holdsSfntFont()) {
            result.status = SubsetResult::DefaultFaceUnavailable;
            return result;
        }
    }
    return subsetLoadedFont(result, outputFolder, result.face, list, format);
}

SubsetResult FontSubsetter::subsetFontFile(const QString &outputFolder, const QString &path, const KeepList &list,
                                           OutputFormat format)
{
    SubsetResult result;
    result.requested = path;
    result.sourcePath = path;
    if (!loadTrueTypeFile(path) || !holdsSfntFont()) {
        result.status = SubsetResult::NotAFont;
        return result;
    }
    result.face = readFamilyName();
    return subsetLoadedFont(result, outputFolder, QFileInfo(path).completeBaseName(), list, format);
}

SubsetResult FontSubsetter::subsetLoadedFont(SubsetResult result, const QString &outputFolder, const QString &baseName,
                                             const KeepList &list, OutputFormat format)
{
    QString name = baseName;
    switch (setKeepList(list)) {
    case Coverage::Covered:
        break;
    case Coverage::FellBack:
        // The output is named after the font it holds, never after the one asked for.
        result.fallback = SubsetResult::TextNotCovered;
        result.face = name = defaultFace;
        result.sourcePath = systemFontPath(defaultFace);
        break;
    case Coverage::DefaultFaceCoversNothing:
        result.status = SubsetResult::NothingCovers;
        return result;
    case Coverage::DefaultFaceUnavailable:
        if (result.fallback == SubsetResult::NoFallback)
            result.fallback = SubsetResult::TextNotCovered;
        result.status = SubsetResult::DefaultFaceUnavailable;
        return result;
    }

    const QString suffix = format == OutputFormat::Woff2 ? QStringLiteral(".woff2") : fontSuffixFor(holdsCffFont());
    const QString fileName = FileNamer().choose({name, QString(), QString(), 0}, suffix).fileName;
    result.outputPath = outputFolder + QLatin1Char('/') + (fileName.isEmpty() ? name + suffix : fileName);
    if (fileName.isEmpty()) {
        result.status = SubsetResult::UnusableName;
    } else if (isSameFile(result.sourcePath, result.outputPath)) {
        result.status = SubsetResult::WouldReplaceSource;
    } else if (writeSubset(result.outputPath, &result.written, format)) {
        result.status = SubsetResult::Written;
    } else {
        result.status = result.written.error.isEmpty() ? SubsetResult::SubsetFailed : SubsetResult::WriteFailed;
    }
    return result;
}
