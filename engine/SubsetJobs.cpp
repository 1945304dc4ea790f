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
    SubsetResult result = subsetInstalledFamily(outputFolder, family, list, format);
    // The per-user copy of the member the subset was read from, written meanwhile.
    const QString copyError = finishMemberCopy();
    if (!copyError.isEmpty())
        result.storeError = copyError;
    return result;
}

SubsetResult FontSubsetter::subsetInstalledFamily(const QString &outputFolder, const QString &family,
                                                  const KeepList &list, OutputFormat format)
{
    clearFont();
    SubsetResult result;
    result.requested = family;
    result.face = catalogueFace(family);
    if (result.face != family && !isCataloguedFamily(family))
        result.fallback = SubsetResult::FamilyNotInstalled;
    const SystemFont font = resolveSystemFont(family, MemberCopy::MadeBeside);
    result.sourcePath = font.path;
    result.storeError = font.storeError;

    if (!loadResolvedFont(font) || !holdsSfntFont()) {
        result.problem = fontProblem();
        result.problemPath = font.path;
        if (font.faceIndex < 0 && !font.storeError.isEmpty()) // the collection itself could not be read
            result.problem = {FontProblem::Unreadable, font.storeError};
        if (result.face == defaultFaceName()) {
            result.defaultFace = defaultFace;
            result.status = SubsetResult::DefaultFaceUnavailable;
            return result;
        }
        // A damaged or unreadable file, or a collection without the member.
        result.fallback = SubsetResult::FamilyNotLoadable;
        result.face = defaultFaceName();
        const SystemFont fallback = resolveSystemFont(defaultFace);
        result.sourcePath = fallback.path;
        result.storeError = fallback.storeError;
        if (!loadResolvedFont(fallback) || !holdsSfntFont()) {
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
        result.problem = fontProblem();
        result.problemPath = path;
        return result;
    }
    result.face = readFamilyName();
    return subsetLoadedFont(result, outputFolder, QFileInfo(path).completeBaseName(), list, format);
}

SubsetResult FontSubsetter::subsetLoadedFont(SubsetResult result, const QString &outputFolder, const QString &baseName,
                                             const KeepList &list, OutputFormat format)
{
    QString name = baseName;
    const Coverage coverage = setKeepList(list);
    result.defaultFace = defaultFace; // read when the coverage test sent the job to it
    switch (coverage) {
    case Coverage::Covered:
        break;
    case Coverage::FellBack: {
        // The output is named after the font it holds, never after the one asked for.
        result.fallback = SubsetResult::TextNotCovered;
        result.face = name = defaultFaceName();
        const SystemFont font = resolveSystemFont(defaultFace);
        result.sourcePath = font.path;
        result.storeError = font.storeError;
        break;
    }
    case Coverage::DefaultFaceCoversNothing:
        if (result.fallback == SubsetResult::NoFallback)
            result.fallback = SubsetResult::TextNotCovered; // the font asked for was tested too
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
        switch (result.written.failure) {
        case WrittenSubset::TextLost:
            result.status = SubsetResult::TextLost;
            break;
        case WrittenSubset::Woff2Refused:
            result.status = SubsetResult::Woff2Failed;
            break;
        case WrittenSubset::WriteRefused:
            result.status = SubsetResult::WriteFailed;
            break;
        case WrittenSubset::NoFailure:
        case WrittenSubset::ServiceRefused:
            result.status = SubsetResult::SubsetFailed;
            break;
        }
    }
    return result;
}
