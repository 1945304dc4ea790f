#include "Jobs.h"

#include "catalogue/Folders.h"
#include "sfnt/CollectionSplit.h"

#include <QFileInfo>

namespace {

const char *const kWarningTitle = QT_TRANSLATE_NOOP("Tessaglyph", "Warning!");
const char *const kInformationTitle = QT_TRANSLATE_NOOP("Tessaglyph", "Information");

JobOutcome warning(const char *text, const QString &argument = QString())
{
    JobOutcome outcome;
    outcome.title = kWarningTitle;
    outcome.text = text;
    outcome.argument = argument;
    return outcome;
}

JobOutcome information(const char *text)
{
    JobOutcome outcome;
    outcome.box = JobOutcome::Box::Information;
    outcome.title = kInformationTitle;
    outcome.text = text;
    return outcome;
}

JobOutcome success(const QStringList &writtenFiles)
{
    JobOutcome outcome = information(QT_TRANSLATE_NOOP("Tessaglyph", "Excute successfully!"));
    outcome.succeeded = true;
    outcome.writtenFiles = writtenFiles;
    return outcome;
}

// A refusal for an output folder that cannot take the job's files; a null
// text when it can.
const char *outputFolderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return QT_TRANSLATE_NOOP("Tessaglyph", "The output folder %1 does not exist.");
    if (!info.isWritable())
        return QT_TRANSLATE_NOOP("Tessaglyph", "The output folder %1 is not writable.");
    return nullptr;
}

const char *const kEmptyOutput = QT_TRANSLATE_NOOP("Tessaglyph", "The output file path cannot be empty!");
const char *const kExtractedFontsFolder = QT_TRANSLATE_NOOP(
        "Tessaglyph", "The output folder %1 keeps the fonts this program extracts; choose another output folder.");
const char *const kWouldReplaceSource = QT_TRANSLATE_NOOP(
        "Tessaglyph", "The output %1 would replace the font it is made from; choose another output folder.");
// A refusal for a folder that cannot take a subset: besides the checks above,
// subsets written into the per-user folder would later be found in place of
// the installed fonts split there. A null text when the folder can take it.
const char *subsetFolderProblem(const QString &folder)
{
    if (const char *problem = outputFolderProblem(folder))
        return problem;
    if (isSameFolder(folder, applicationDataFolder()))
        return kExtractedFontsFolder;
    return nullptr;
}

const char *const kWriteFailed = QT_TRANSLATE_NOOP("Tessaglyph", "The subset font %1 could not be made: the source font is damaged, or the file cannot be written.");

} // namespace

JobOutcome runFileSubsetJob(FontSubsetter &engine, const QString &fontPath, const QString &outputFolder,
                            const KeepList &keepList)
{
    if (outputFolder.isEmpty())
        return warning(kEmptyOutput);
    if (fontPath.isEmpty())
        return warning(QT_TRANSLATE_NOOP("Tessaglyph", "The file path cannot be empty!"));
    const char *const notTrueType = QT_TRANSLATE_NOOP("Tessaglyph", "The file is not a valid ttf font file!");
    if (QFileInfo(fontPath).suffix().toLower() != QLatin1String("ttf"))
        return warning(notTrueType);
    if (const char *problem = subsetFolderProblem(outputFolder))
        return warning(problem, outputFolder);

    const QString outputPath = outputFolder + QLatin1Char('/') + QFileInfo(fontPath).completeBaseName()
            + QLatin1String(".ttf");
    if (isSameFile(fontPath, outputPath))
        return warning(kWouldReplaceSource, outputPath);

    // Unreadable, empty or not a TrueType font: refused, not quietly
    // replaced by the default face.
    if (!engine.loadTrueTypeFile(fontPath) || !engine.holdsTrueTypeFont())
        return warning(notTrueType);
    engine.setKeepList(keepList);
    if (!engine.writeSubset(outputPath))
        return warning(kWriteFailed, outputPath);
    return success({outputPath});
}

JobOutcome runSystemSubsetJob(FontSubsetter &engine, const QString &family, const QString &outputFolder,
                              const KeepList &keepList)
{
    if (outputFolder.isEmpty())
        return warning(kEmptyOutput);
    if (const char *problem = subsetFolderProblem(outputFolder))
        return warning(problem, outputFolder);

    const FontSubsetter::SystemSubset subset = engine.subsetSystemFont(outputFolder, family, keepList);
    switch (subset.status) {
    case FontSubsetter::SystemSubset::Written:
        return success({subset.outputPath});
    case FontSubsetter::SystemSubset::UnusableName:
        return warning(QT_TRANSLATE_NOOP("Tessaglyph", "The font name \"%1\" cannot be used as a file name."),
                       subset.face);
    case FontSubsetter::SystemSubset::WouldReplaceSource:
        return warning(kWouldReplaceSource, subset.outputPath);
    case FontSubsetter::SystemSubset::WriteFailed:
        break;
    }
    return warning(kWriteFailed, subset.outputPath);
}

JobOutcome runSplitJob(const QString &ttcPath, const QString &outputFolder)
{
    if (ttcPath.isEmpty() || outputFolder.isEmpty())
        return information(QT_TRANSLATE_NOOP("Tessaglyph", "The path cannot be empty!"));
    if (const char *problem = outputFolderProblem(outputFolder))
        return warning(problem, outputFolder);

    QStringList written;
    if (!splitCollection(ttcPath, outputFolder, &written)) {
        JobOutcome outcome = warning(QT_TRANSLATE_NOOP(
                "Tessaglyph",
                "The collection %1 could not be split: it is not a valid TrueType collection, or one of its members is damaged."),
                ttcPath);
        outcome.writtenFiles = written;
        return outcome;
    }
    return success(written);
}
