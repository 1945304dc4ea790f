#include "Jobs.h"

#include "catalogue/Folders.h"
#include "CollectionSplit.h"
#include "platform/FileNamer.h"
#include "platform/Woff2.h"
#include "sfnt/FileSuffix.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

constexpr int kListedCharacters = 20;

// The translated text with %1 to %9 replaced in one pass, so that a value
// holding "%2" (a file name, say) is never substituted again.
QString say(const char *sourceText, const QStringList &values = {})
{
    const QString pattern = QCoreApplication::translate("Tessaglyph", sourceText);
    QString text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const int slot = i + 1 < pattern.size() ? pattern.at(i + 1).digitValue() : -1;
        if (pattern.at(i) == QLatin1Char('%') && slot >= 1 && slot <= values.size()) {
            text += values.at(slot - 1);
            ++i;
        } else {
            text += pattern.at(i);
        }
    }
    return text;
}

// Two sentences, one after the other: a space between them in English,
// none after a Chinese full stop.
QString sentences(const QString &first, const QString &second)
{
    return say(QT_TRANSLATE_NOOP("Tessaglyph", "%1 %2"), {first, second});
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

JobOutcome warning(const QString &text)
{
    JobOutcome outcome;
    outcome.title = say(QT_TRANSLATE_NOOP("Tessaglyph", "Warning!"));
    outcome.text = text;
    return outcome;
}

JobOutcome information(const QString &text)
{
    JobOutcome outcome;
    outcome.box = JobOutcome::Box::Information;
    outcome.title = say(QT_TRANSLATE_NOOP("Tessaglyph", "Information"));
    outcome.text = text;
    return outcome;
}

JobOutcome success()
{
    JobOutcome outcome = information(say(QT_TRANSLATE_NOOP("Tessaglyph", "Excute successfully!")));
    outcome.succeeded = true;
    return outcome;
}

} // namespace

QString outputFolderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The output folder %1 does not exist."), {native(folder)});
    if (!info.isWritable())
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The output folder %1 is not writable."), {native(folder)});
    return {};
}

namespace {

// Besides the checks above, subsets written into the per-user folder would
// later be taken for the installed fonts extracted there.
QString subsetFolderProblem(const QString &folder)
{
    const QString problem = outputFolderProblem(folder);
    if (problem.isEmpty() && isSameFolder(folder, applicationDataFolder()))
        return say(QT_TRANSLATE_NOOP(
                           "Tessaglyph",
                           "The output folder %1 keeps the fonts this program extracts; choose another output folder."),
                   {native(folder)});
    return problem;
}

QString emptyOutputText()
{
    return say(QT_TRANSLATE_NOOP("Tessaglyph", "The output file path cannot be empty!"));
}

QString notTrueTypeText()
{
    return say(QT_TRANSLATE_NOOP("Tessaglyph", "The file is not a valid ttf font file!"));
}

// "U+4F60 你": a character by its code point, which names it even where no
// font draws it, then itself, when it is visible; a combining mark on a
// dotted circle, as character charts show one.
QString showCharacter(quint32 codePoint)
{
    const QString code = QStringLiteral("U+%1").arg(codePoint, 4, 16, QLatin1Char('0')).toUpper();
    if (!QChar::isPrint(codePoint) || QChar::isSpace(codePoint))
        return code;
    const char32_t character = codePoint;
    const bool mark = QChar::isMark(character);
    return code + QLatin1Char(' ') + (mark ? QStringLiteral("\u25CC") : QString())
            + QString::fromUcs4(&character, 1);
}

} // namespace

// What is wrong with a font file, for the command line: which table of a
// damaged font, or that the file is a collection. (The window keeps its own
// text for a file that is not a font.)
QString fontProblemText(const FontProblem &problem, const QString &path)
{
    switch (problem.kind) {
    case FontProblem::Unreadable:
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The file %1 could not be read: %2."), {native(path), problem.detail});
    case FontProblem::Collection:
        return say(QT_TRANSLATE_NOOP("Tessaglyph",
                                     "The file %1 is a font collection: split it, or pick its family by name."),
                   {native(path)});
    case FontProblem::NotAFont:
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The file %1 is not a TrueType or OpenType font."), {native(path)});
    case FontProblem::DamagedDirectory:
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The font %1 is damaged: its table directory is cut short or empty."),
                   {native(path)});
    case FontProblem::TableOutside:
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The font %1 is damaged: its '%2' table lies outside the file."),
                   {native(path), problem.detail});
    case FontProblem::Woff2Damaged:
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The WOFF2 font %1 is damaged: it could not be decoded."),
                   {native(path)});
    case FontProblem::Woff2TooLarge:
        return say(QT_TRANSLATE_NOOP("Tessaglyph",
                                     "The WOFF2 font %1 would be larger than %2 MB once decoded; it was not read."),
                   {native(path), localeNumber(kMaxDecodedWoff2Bytes / (1024 * 1024))});
    case FontProblem::None:
        break;
    }
    return {};
}

namespace {

// Why the default face was subset in place of the font asked for.
QString fallbackReason(const SubsetResult &result)
{
    switch (result.fallback) {
    case SubsetResult::FamilyNotInstalled:
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "The family %1 is not installed."), {result.requested});
    case SubsetResult::FamilyNotLoadable: {
        const QString reason = say(QT_TRANSLATE_NOOP("Tessaglyph", "The font of %1 could not be loaded."),
                                   {result.requested});
        const QString problem = fontProblemText(result.problem, result.problemPath);
        return problem.isEmpty() ? reason : sentences(reason, problem);
    }
    case SubsetResult::TextNotCovered:
        return say(QT_TRANSLATE_NOOP("Tessaglyph", "%1 has none of the characters of the text."),
                   {native(result.requested)});
    case SubsetResult::NoFallback:
        break;
    }
    return {};
}

// What a subset job was asked for: a font file, by its path, or an
// installed family, by its name.
enum class Asked { File, Family };

// Names read from fonts (a face's name table, fontconfig's default face, a
// family from the window's list of installed ones) may hold line breaks or
// bidi overrides, which would split an outcome's lines or show them out of
// order: they reach it as printableName makes them, as file names do. A
// font file's path is shown as given.
SubsetResult withPrintableNames(SubsetResult result, Asked asked)
{
    result.face = printableName(result.face);
    result.defaultFace = printableName(result.defaultFace);
    if (asked == Asked::Family)
        result.requested = printableName(result.requested);
    return result;
}

JobOutcome subsetOutcome(const SubsetResult &subset, AcceptedSuffixes suffixes, Asked asked)
{
    const SubsetResult result = withPrintableNames(subset, asked);
    const QString reason = fallbackReason(result);
    const QString &defaultFace = result.defaultFace;
    switch (result.status) {
    case SubsetResult::Written:
        break;
    case SubsetResult::NotAFont:
        return warning(suffixes == AcceptedSuffixes::TrueType ? notTrueTypeText()
                                                              : fontProblemText(result.problem, result.problemPath));
    case SubsetResult::UnusableName:
        return warning(say(QT_TRANSLATE_NOOP("Tessaglyph", "The font name \"%1\" cannot be used as a file name."),
                           {result.face}));
    case SubsetResult::WouldReplaceSource:
        return warning(say(QT_TRANSLATE_NOOP(
                                   "Tessaglyph",
                                   "The output %1 would replace the font it is made from; choose another output folder."),
                           {native(result.outputPath)}));
    case SubsetResult::NothingCovers: {
        // Only a font that was read and tested is said to lack the text.
        const bool requestedTested = result.fallback == SubsetResult::TextNotCovered
                && result.requested.compare(defaultFace, Qt::CaseInsensitive) != 0;
        JobOutcome outcome = warning(
                requestedTested
                        ? say(QT_TRANSLATE_NOOP("Tessaglyph",
                                                "Neither %1 nor the default face %2 has any of the characters of the text; nothing was written."),
                              {native(result.requested), defaultFace})
                        : say(QT_TRANSLATE_NOOP("Tessaglyph",
                                                "The default face %1 has none of the characters of the text; nothing was written."),
                              {defaultFace}));
        if (result.fallback != SubsetResult::TextNotCovered && !reason.isEmpty())
            outcome.notices.append(reason);
        return outcome;
    }
    case SubsetResult::DefaultFaceUnavailable: {
        JobOutcome outcome = warning(say(
                QT_TRANSLATE_NOOP("Tessaglyph", "The default face %1 could not be loaded; nothing was written."),
                {defaultFace}));
        if (!reason.isEmpty())
            outcome.notices.append(reason);
        return outcome;
    }
    case SubsetResult::SubsetFailed:
        return warning(say(QT_TRANSLATE_NOOP("Tessaglyph",
                                             "The subset font %1 could not be made: the source font is damaged or not supported."),
                           {native(result.outputPath)}));
    case SubsetResult::TextLost:
        return warning(say(QT_TRANSLATE_NOOP("Tessaglyph",
                                             "The subset font %1 was not written: %2 maps characters of the text, but the subset made from it maps none of them."),
                           {native(result.outputPath), native(result.face.isEmpty() ? result.sourcePath : result.face)}));
    case SubsetResult::Woff2Failed:
        return warning(say(QT_TRANSLATE_NOOP("Tessaglyph",
                                             "The subset font %1 could not be encoded as WOFF2; nothing was written."),
                           {native(result.outputPath)}));
    case SubsetResult::WriteFailed:
        return warning(say(QT_TRANSLATE_NOOP("Tessaglyph", "The subset font %1 could not be written: %2."),
                           {native(result.outputPath), result.written.error}));
    }

    JobOutcome outcome = success();
    outcome.writtenFiles = {result.outputPath};
    outcome.defaultFaceUsed = result.fallback != SubsetResult::NoFallback;
    if (!reason.isEmpty())
        outcome.notices.append(sentences(
                reason, say(QT_TRANSLATE_NOOP("Tessaglyph", "The subset was made from the default face %1 instead."),
                            {defaultFace})));
    if (!result.storeError.isEmpty())
        outcome.notices.append(say(QT_TRANSLATE_NOOP("Tessaglyph",
                                                     "The font of %1 could not be extracted (%2); it was subset from its collection %3 directly."),
                                   {result.face, result.storeError, native(result.sourcePath)}));
    const QString face = result.face.isEmpty() ? QFileInfo(result.sourcePath).fileName() : result.face;
    outcome.summary.append(say(QT_TRANSLATE_NOOP("Tessaglyph", "%1: %2 bytes, glyphs: %3, made from %4 (%5)."),
                               {native(result.outputPath), localeNumber(result.written.size),
                                localeNumber(result.written.glyphCount), face, native(result.sourcePath)}));

    const QString lacking = lackingCharactersLine(result.written.missing);
    if (!lacking.isEmpty())
        outcome.summary.append(lacking);
    return outcome;
}

bool acceptsFontFile(const QString &path)
{
    return hasFontSuffix(path) || hasWoff2Suffix(path);
}

bool acceptsCollectionFile(const QString &path, AcceptedSuffixes suffixes)
{
    return suffixes == AcceptedSuffixes::TrueType ? hasSuffix(path, QLatin1String("ttc")) : hasCollectionSuffix(path);
}

} // namespace

QString localeNumber(quint64 value)
{
    return QLocale::system().toString(value);
}

QString lackingCharactersLine(const KeepList &codePoints)
{
    // Line breaks and other control characters are not drawn: no font lacks them.
    const KeepList lacking = drawnCharacters(codePoints);
    if (lacking.isEmpty())
        return {};
    QStringList listed;
    for (quint32 codePoint : lacking.mid(0, kListedCharacters))
        listed.append(showCharacter(codePoint));
    if (lacking.size() > kListedCharacters)
        listed.append(say(QT_TRANSLATE_NOOP("Tessaglyph", "%1 more"), {localeNumber(quint64(lacking.size() - kListedCharacters))}));
    return say(QT_TRANSLATE_NOOP("Tessaglyph", "The font lacks %1 of the characters: %2"),
               {localeNumber(quint64(lacking.size())), listed.join(QStringLiteral(", "))});
}

QString missingFileText(const QString &path)
{
    return say(QT_TRANSLATE_NOOP("Tessaglyph", "The file %1 does not exist."), {native(path)});
}

JobOutcome runFileSubsetJob(FontSubsetter &engine, const QString &fontPath, const QString &outputFolder,
                            const KeepList &keepList, AcceptedSuffixes suffixes, OutputFormat format)
{
    if (outputFolder.isEmpty())
        return warning(emptyOutputText());
    if (fontPath.isEmpty())
        return warning(say(QT_TRANSLATE_NOOP("Tessaglyph", "The file path cannot be empty!")));
    if (!acceptsFontFile(fontPath))
        return warning(notTrueTypeText());
    if (!QFileInfo::exists(fontPath))
        return warning(missingFileText(fontPath));
    const QString problem = subsetFolderProblem(outputFolder);
    if (!problem.isEmpty())
        return warning(problem);
    return subsetOutcome(engine.subsetFontFile(outputFolder, fontPath, keepList, format), suffixes, Asked::File);
}

JobOutcome runSystemSubsetJob(FontSubsetter &engine, const QString &family, const QString &outputFolder,
                              const KeepList &keepList, OutputFormat format)
{
    if (outputFolder.isEmpty())
        return warning(emptyOutputText());
    const QString problem = subsetFolderProblem(outputFolder);
    if (!problem.isEmpty())
        return warning(problem);
    return subsetOutcome(engine.subsetSystemFont(outputFolder, family, keepList, format),
                         AcceptedSuffixes::TrueTypeAndOpenType, Asked::Family);
}

JobOutcome runSplitJob(const QString &collectionPath, const QString &outputFolder, AcceptedSuffixes suffixes)
{
    if (collectionPath.isEmpty() || outputFolder.isEmpty())
        return information(say(QT_TRANSLATE_NOOP("Tessaglyph", "The path cannot be empty!")));
    if (!QFileInfo::exists(collectionPath))
        return warning(missingFileText(collectionPath));
    const QString problem = outputFolderProblem(outputFolder);
    if (!problem.isEmpty())
        return warning(problem);

    SplitReport report;
    report.refusal = SplitReport::NotACollection;
    const bool whole = acceptsCollectionFile(collectionPath, suffixes)
            && splitCollection(collectionPath, outputFolder, &report);
    QStringList notices, summary, failures, written;
    int skipped = 0;
    for (const SplitMember &member : report.members) {
        switch (member.status) {
        case SplitMember::Written:
            written.append(member.path);
            summary.append(say(QT_TRANSLATE_NOOP("Tessaglyph", "%1: %2 bytes."), {native(member.path), localeNumber(member.size)}));
            break;
        case SplitMember::Kept:
            notices.append(say(QT_TRANSLATE_NOOP("Tessaglyph", "%1 was kept as it was: a file of that name exists."),
                               {native(member.path)}));
            break;
        case SplitMember::Duplicate:
            notices.append(member.path.isEmpty()
                                   ? say(QT_TRANSLATE_NOOP("Tessaglyph", "Member %1 is member %2 again."),
                                         {QString::number(member.index), QString::number(member.duplicateOf)})
                                   : say(QT_TRANSLATE_NOOP("Tessaglyph", "Member %1 is member %2 again: %3."),
                                         {QString::number(member.index), QString::number(member.duplicateOf),
                                          native(member.path)}));
            break;
        case SplitMember::Skipped:
            ++skipped;
            notices.append(member.name.isEmpty()
                                   ? say(QT_TRANSLATE_NOOP("Tessaglyph",
                                                           "Member %1 was skipped: its family name has no printable character."),
                                         {QString::number(member.index)})
                                   : say(QT_TRANSLATE_NOOP("Tessaglyph",
                                                           "Member %1 was skipped: its family name \"%2\" cannot be a file name."),
                                         {QString::number(member.index), member.name}));
            break;
        case SplitMember::Failed:
            failures.append(say(QT_TRANSLATE_NOOP("Tessaglyph", "%1 could not be written: %2."),
                                {native(member.path), member.error}));
            break;
        }
    }

    JobOutcome outcome;
    if (whole) {
        outcome = success();
    } else if (report.refusal == SplitReport::NoSpace) {
        outcome = warning(say(QT_TRANSLATE_NOOP("Tessaglyph", "The collection %1 was not split: its members need %2 bytes, and %3 has %4 bytes free."),
                              {native(collectionPath), localeNumber(report.neededBytes), native(outputFolder),
                               localeNumber(report.freeBytes)}));
        outcome.notices = notices;
        return outcome;
    } else if (!failures.isEmpty() && report.refusal == SplitReport::None) {
        outcome = warning(say(QT_TRANSLATE_NOOP("Tessaglyph", "The collection %1 was not split whole: %2 of its %3 members could not be written."),
                              {native(collectionPath), localeNumber(quint64(failures.size())), localeNumber(quint64(report.members.size()))}));
    } else if (report.refusal == SplitReport::None && report.members.isEmpty()) {
        outcome = warning(say(QT_TRANSLATE_NOOP("Tessaglyph", "The collection %1 has no members; nothing was written."),
                              {native(collectionPath)}));
    } else if (report.refusal == SplitReport::None && skipped > 0) {
        outcome = warning(say(QT_TRANSLATE_NOOP("Tessaglyph", "No member of the collection %1 has a family name that can be a file name; nothing was written."),
                              {native(collectionPath)}));
    } else {
        outcome = warning(say(QT_TRANSLATE_NOOP(
                                      "Tessaglyph",
                                      "The collection %1 could not be split: it is not a valid TrueType collection, or one of its members is damaged."),
                              {native(collectionPath)}));
    }
    outcome.notices = failures + notices;
    outcome.summary = summary;
    outcome.writtenFiles = written;
    return outcome;
}
