#include "WebFontJob.h"

#include "KitFiles.h"
#include "KitFolder.h"
#include "KitNames.h"
#include "SliceCache.h"
#include "SliceMaker.h"
#include "SlicePlanner.h"
#include "SourceFaces.h"
#include "platform/FileNamer.h"
#include "platform/ReplacedTableFace.h"
#include "platform/SubsetFeatures.h"
#include "platform/Woff2.h"
#include "sfnt/LanguageForms.h"

#include <hb-subset.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <memory>

// The job in named steps: check the request, read the faces, plan the
// slices, make them, place the kit's files in the folder, describe it.

namespace {

const char *const kFontDisplays[] = {"auto", "block", "swap", "fallback", "optional"};

// n: the count a "%n" in the text stands for, in the plural form it needs.
QString translated(const char *text, int n = -1)
{
    return QCoreApplication::translate("Tessaglyph", text, nullptr, n);
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

WebFontOutcome refused(const QString &text)
{
    WebFontOutcome outcome;
    outcome.job.title = translated(QT_TRANSLATE_NOOP("Tessaglyph", "Warning!"));
    outcome.job.text = text;
    return outcome;
}

// Not a failure: the user asked for it, and learns that no file of the kit
// was left behind.
WebFontOutcome cancelledOutcome()
{
    WebFontOutcome outcome;
    outcome.job.box = JobOutcome::Box::Information;
    outcome.job.title = translated(QT_TRANSLATE_NOOP("Tessaglyph", "Information"));
    outcome.job.text = translated(QT_TRANSLATE_NOOP("Tessaglyph", "The kit was cancelled; none of its files were left."));
    outcome.cancelled = true;
    return outcome;
}

// The request's refusal, or empty; the language it names, when it names one.
QString checkRequest(const WebFontRequest &request, SliceLanguage *language)
{
    if (request.outputFolder.isEmpty())
        return translated(QT_TRANSLATE_NOOP("Tessaglyph", "The output file path cannot be empty!"));
    if (request.fontPath.isEmpty() == request.family.isEmpty())
        return translated(QT_TRANSLATE_NOOP("Tessaglyph", "Choose either a font file or an installed family."));
    if (std::none_of(std::begin(kFontDisplays), std::end(kFontDisplays),
                     [&](const char *display) { return request.fontDisplay == QLatin1String(display); }))
        return translated(QT_TRANSLATE_NOOP("Tessaglyph",
                                            "font-display takes auto, block, swap, fallback or optional, not %1."))
                .arg(printableName(request.fontDisplay));
    if (!request.language.isEmpty() && !languageFromTag(request.language, language))
        return translated(QT_TRANSLATE_NOOP("Tessaglyph", "The language takes zh-Hans, zh-Hant, zh-HK, ja or ko, not %1."))
                .arg(printableName(request.language));
    return outputFolderProblem(request.outputFolder);
}

// One face's slices, and the face they are cut from.
struct FacePlan
{
    QString language; // the frequency slices' language tag; empty when no list placed its CJK characters
    bool byTextUse = false;
    bool keptEarlierSlices = false; // a known text's, from the earlier kit in the folder
    // The face without other languages' localized forms, for a kit of one
    // language; null otherwise.
    HbFacePtr oneLanguage;
};

// A one-language kit serves pages in its language: the forms other
// languages reach through 'locl' (Japanese forms of a Simplified Chinese
// face, say) are left out, with the glyphs only they reach.
HbFacePtr oneLanguageFace(hb_face_t *face, SliceLanguage language)
{
    const HbBlobPtr gsub(hb_face_reference_table(face, HB_TAG('G', 'S', 'U', 'B')));
    unsigned length = 0;
    const char *data = hb_blob_get_data(gsub.get(), &length);
    const QByteArray renamed = withOtherLanguagesFormsRenamed(ByteView(data, length), languageSystemTags(language),
                                                              kLeftOutFeatureTag);
    if (renamed.isEmpty())
        return {};
    return faceReplacingTable(face, HB_TAG('G', 'S', 'U', 'B'), renamed);
}

// The hash of the bytes HarfBuzz reads the face from, for its slices' cache
// keys: taken once per face. BLAKE2b, as Qt's SHA-256 took 111 ms of a 16 MB
// CJK font against BLAKE2b's 20, a quarter of a kit made from the cache.
QByteArray fontBytesHash(const SourceFace &face)
{
    unsigned length = 0;
    const char *data = hb_blob_get_data(face.blob.get(), &length);
    return QCryptographicHash::hash(QByteArrayView(data, qsizetype(length)), QCryptographicHash::Blake2b_256);
}

// With `cached`, each task carries its face's key for the slice cache.
std::vector<FacePlan> planKit(const std::vector<SourceFace> &faces, const KeepList &wanted,
                              const QVector<KeepList> &texts, const QString &languageTag,
                              SliceLanguage requestedLanguage, bool cached, const EarlierKit &earlier,
                              QVector<SliceTask> *tasks)
{
    std::vector<FacePlan> plans;
    for (const SourceFace &face : faces) {
        FacePlan plan;
        SlicePlanInput input;
        if (wanted.isEmpty()) {
            input.codePoints = face.web.codePoints;
        } else {
            std::set_intersection(face.web.codePoints.cbegin(), face.web.codePoints.cend(), wanted.cbegin(),
                                  wanted.cend(), std::back_inserter(input.codePoints));
            // A page's lines take their height from the face whose
            // unicode-range holds U+0020 (CSS's first available font): a kit
            // of a text without spaces (Chinese, Japanese) holds it too, or
            // its lines would be as tall as a fallback font's.
            if (std::binary_search(face.web.codePoints.cbegin(), face.web.codePoints.cend(), quint32(0x20)))
                input.codePoints = sortedKeepList(input.codePoints + KeepList{0x20});
        }
        input.blank = face.web.blank;
        input.texts = texts;
        for (const EarlierKit::Face &earlierFace : earlier.faces) {
            if (earlierFace.byTextUse && earlierFace.postScriptName == face.web.postScriptName
                && earlierFace.index == face.where.index)
                input.earlierSlices = earlierFace.slices;
        }
        input.targetSize = face.web.glyphsPerSlice;
        const SliceLanguage language = languageTag.isEmpty() ? face.web.language : requestedLanguage;
        input.frequencySlices = frequencySlices(language);
        const QVector<PlannedSlice> planned =
                planFaceSlices(input, face.web.sequences, face.web.layoutUnits, face.web.glyphsPerSlice,
                               largestSequenceUnit(face.web.glyphsPerSlice), &plan.keptEarlierSlices);
        if (listsPlaceCjk(input))
            plan.language = ::languageTag(language);
        plan.byTextUse = !texts.isEmpty();
        hb_face_t *sliced = face.face.get();
        if (!languageTag.isEmpty()) {
            plan.oneLanguage = oneLanguageFace(sliced, requestedLanguage);
            if (plan.oneLanguage)
                sliced = plan.oneLanguage.get();
        }
        // Not prepared with hb_subset_preprocess: on a whole Noto Sans CJK SC
        // kit it saved no CPU time (64.3 s against 65.6 s, most of it
        // Brotli's), and took the peak memory from 97 MB to 408 MB.
        const QByteArray faceKey = cached ? sliceFaceKey(fontBytesHash(face), face.where.index,
                                                         plan.oneLanguage ? languageTag : QString())
                                          : QByteArray();
        const int quality = face.web.imageGlyphs ? kImageFontBrotliQuality : kHighestBrotliQuality;
        for (const PlannedSlice &slice : planned) {
            tasks->append({sliced, slice.codePoints, slice.units, &face.web.variationSelectors, &face.web.measuredBy,
                           int(plans.size()), quality, faceKey});
        }
        plans.push_back(std::move(plan));
    }
    return plans;
}

// The CSS's file name: after the CSS family, else the first face's
// PostScript family part.
QString cssFileName(const QString &cssFamily, const WebFace &face)
{
    return kitBaseName({cssFamily, face.postScriptName.section(QLatin1Char('-'), 0, 0)}, QStringLiteral("webfont"))
            + QStringLiteral(".css");
}

// The kit's texts by name, in the order they are placed: the report, the
// preview, and the CSS that pages link last.
QVector<KitFileBytes> kitTexts(const QString &cssFile)
{
    return {{kitReportFileName(cssFile), {}}, {kitPreviewFileName(cssFile), {}}, {cssFile, {}}};
}

QString problemText(const KitFolderProblem &problem, const QString &folder, bool named)
{
    const QString path = native(folder + QLatin1Char('/') + problem.name);
    switch (problem.kind) {
    case KitFolderProblem::Busy:
        return translated(QT_TRANSLATE_NOOP("Tessaglyph", "Another run is writing a kit into %1; nothing was written."))
                .arg(native(folder));
    case KitFolderProblem::Unlockable:
        return translated(QT_TRANSLATE_NOOP("Tessaglyph", "The folder %1 could not be locked: %2; nothing was written."))
                .arg(native(folder), qt_error_string(problem.error));
    case KitFolderProblem::UnusableName:
        return translated(QT_TRANSLATE_NOOP("Tessaglyph", "%1 cannot be a file name in %2; nothing was written."))
                .arg(printableName(problem.name), native(folder));
    case KitFolderProblem::InTheWay:
        return translated(QT_TRANSLATE_NOOP(
                                  "Tessaglyph",
                                  "%1 is in the folder and was not written by a kit; nothing was written. Move it, or choose another folder."))
                .arg(path);
    case KitFolderProblem::WriteFailed:
        if (problem.name.isEmpty())
            return translated(QT_TRANSLATE_NOOP("Tessaglyph", "The folder %1 could not be synced: %2."))
                    .arg(native(folder), qt_error_string(problem.error));
        return (named ? translated(QT_TRANSLATE_NOOP("Tessaglyph", "%1 could not be written: %2."))
                      : translated(QT_TRANSLATE_NOOP("Tessaglyph", "%1 could not be written: %2; nothing was written.")))
                .arg(path, qt_error_string(problem.error));
    case KitFolderProblem::None:
    case KitFolderProblem::Cancelled:
        break;
    }
    return {};
}

// The kit's files in the folder: the lock taken, every name checked, the
// slices and then the texts placed; and, with the earlier kit's report, the
// slices the new CSS no longer names counted, or removed when asked.
WebFontOutcome placeKit(const WebFontRequest &request, const QVector<KitFace> &kit,
                        const QVector<KitFileBytes> &slices, const KitSettings &settings, const std::atomic<bool> *cancel)
{
    QVector<KitFileBytes> texts = kitTexts(settings.cssFile);
    texts[0].bytes = kitReport(kit, settings);
    texts[1].bytes = kitPreview(kit, settings);
    texts[2].bytes = kitCss(kit, settings);
    KitFolder folder(request.outputFolder);
    const auto failed = [&](const KitFolderProblem &problem, bool named = false) {
        return problem.kind == KitFolderProblem::Cancelled ? cancelledOutcome()
                                                           : refused(problemText(problem, request.outputFolder, named));
    };
    KitFolderProblem problem = folder.lock(cancel);
    if (problem.kind == KitFolderProblem::None)
        problem = folder.check(slices, texts);
    if (problem.kind != KitFolderProblem::None)
        return failed(problem);
    const EarlierKit earlier = folder.earlierKit(settings.cssFile);
    problem = folder.placeSlices(slices, cancel);
    if (problem.kind == KitFolderProblem::None)
        problem = folder.placeTexts(texts);
    if (problem.kind != KitFolderProblem::None)
        return failed(problem, folder.slicesNamed());

    WebFontOutcome outcome;
    outcome.job.succeeded = true;
    for (const KitFileBytes &text : texts)
        outcome.kitFiles.append(folder.filePath(text.name));
    QStringList named;
    for (const KitFileBytes &slice : slices) {
        if (!named.contains(slice.name)) {
            named.append(slice.name);
            outcome.kitFiles.append(folder.filePath(slice.name));
        }
    }
    const PlacedSlices &placed = folder.placedSlices();
    for (const QString &name : placed.created + placed.replaced)
        outcome.job.writtenFiles.append(folder.filePath(name));
    for (const KitFileBytes &text : texts)
        outcome.job.writtenFiles.append(folder.filePath(text.name));
    outcome.cssPath = folder.filePath(settings.cssFile);
    outcome.previewPath = folder.filePath(kitPreviewFileName(settings.cssFile));
    folder.removeSharedTexts(earlier);

    if (placed.kept > 0)
        outcome.job.notices.append(translated(
                QT_TRANSLATE_N_NOOP("Tessaglyph", "Slices already in the folder with the same bytes, kept: %n."),
                placed.kept));
    if (!placed.replaced.isEmpty())
        outcome.job.notices.append(translated(
                QT_TRANSLATE_N_NOOP("Tessaglyph", "Slices in the folder whose bytes were not those of their names, replaced: %n."),
                int(placed.replaced.size())));
    quint64 staleBytes = 0;
    const QStringList stale = folder.staleSlices(earlier, &staleBytes);
    if (!stale.isEmpty() && request.prune) {
        const QStringList removed = folder.prune(stale);
        if (!removed.isEmpty())
            outcome.job.notices.append(translated(
                    QT_TRANSLATE_N_NOOP("Tessaglyph", "Slices of the earlier kit that the CSS no longer names, removed: %n."),
                    int(removed.size())));
        if (removed.size() < stale.size())
            outcome.job.notices.append(translated(
                    QT_TRANSLATE_N_NOOP("Tessaglyph",
                                        "Slices of the earlier kit left in place, as their bytes are not those of their names: %n."),
                    int(stale.size() - removed.size())));
    } else if (!stale.isEmpty()) {
        outcome.job.notices.append(
                translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                               "Slices of the earlier kit that the CSS no longer names: %n, %1 bytes in all."),
                           int(stale.size()))
                        .arg(localeNumber(staleBytes)));
    }
    return outcome;
}

// What the kit holds, face by face, and the characters asked for that no face maps.
void describeKit(const QVector<KitFace> &kit, const std::vector<SourceFace> &faces, const KeepList &wanted,
                 WebFontOutcome *outcome)
{
    outcome->job.box = JobOutcome::Box::Information;
    outcome->job.title = translated(QT_TRANSLATE_NOOP("Tessaglyph", "Information"));
    outcome->job.text = translated(QT_TRANSLATE_NOOP("Tessaglyph", "Excute successfully!"));
    for (const KitFace &kitFace : kit) {
        quint64 bytes = 0;
        KeepList mapped; // a character of sequence slices is in several: counted once
        for (const KitSlice &slice : kitFace.slices) {
            bytes += slice.bytes;
            mapped += slice.mapped;
        }
        const qsizetype codePoints = sortedKeepList(mapped).size();
        const int sliceCount = int(kitFace.slices.size());
        outcome->sliceCount += sliceCount;
        outcome->totalBytes += bytes;
        const QString name = printableName(kitFace.face.fullName), source = native(kitFace.source);
        const QString bytesText = localeNumber(bytes), characters = localeNumber(quint64(codePoints));
        if (kitFace.keptEarlierSlices)
            outcome->job.summary.append(
                    translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                                   "%1: %2 bytes, %3 characters, slices: %n (%4, by the text's use, "
                                                   "in the earlier kit's slices where they still serve)."),
                               sliceCount)
                            .arg(name, bytesText, characters, source));
        else if (kitFace.byTextUse)
            outcome->job.summary.append(
                    translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                                   "%1: %2 bytes, %3 characters, slices: %n (%4, by the text's use)."),
                               sliceCount)
                            .arg(name, bytesText, characters, source));
        else if (kitFace.language.isEmpty())
            outcome->job.summary.append(
                    translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                                   "%1: %2 bytes, %3 characters, slices: %n (%4, by Unicode block)."),
                               sliceCount)
                            .arg(name, bytesText, characters, source));
        else
            outcome->job.summary.append(
                    translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                                   "%1: %2 bytes, %3 characters, slices: %n (%4, by the %5 frequency slices)."),
                               sliceCount)
                            .arg(name, bytesText, characters, source, kitFace.language));
    }
    for (const SourceFace &face : faces) {
        if (!face.web.sequencesComplete)
            outcome->job.notices.append(
                    translated(QT_TRANSLATE_NOOP("Tessaglyph",
                                                 "The ligatures of %1 ask for more reading than its size allows (a damaged font); those past what was read may be drawn apart in the kit."))
                            .arg(native(face.where.file)));
    }
    KeepList lacking;
    for (quint32 codePoint : wanted) {
        const bool mapped = std::any_of(faces.cbegin(), faces.cend(), [&](const SourceFace &face) {
            return std::binary_search(face.web.codePoints.cbegin(), face.web.codePoints.cend(), codePoint);
        });
        if (!mapped)
            lacking.append(codePoint);
    }
    const QString lackingLine = lackingCharactersLine(lacking); // leaves out line breaks and other controls
    if (!lackingLine.isEmpty())
        outcome->job.summary.append(lackingLine);
}

} // namespace

WebFontOutcome runWebFontJob(const WebFontRequest &request, const WebFontProgressCallback &progress,
                             const std::atomic<bool> *cancel)
{
    SliceLanguage requestedLanguage = SliceLanguage::SimplifiedChinese;
    const QString requestProblem = checkRequest(request, &requestedLanguage);
    if (!requestProblem.isEmpty())
        return refused(requestProblem);

    std::vector<SourceFace> faces;
    const QString readProblem = readSourceFaces(request.fontPath, request.family, &faces, cancel);
    if (cancel && cancel->load())
        return cancelledOutcome();
    if (!readProblem.isEmpty())
        return refused(readProblem);

    KitSettings settings;
    settings.cssFamily = request.cssFamily.isEmpty() ? faces.front().web.family : request.cssFamily;
    settings.cssFile = cssFileName(settings.cssFamily, faces.front().web);
    // The folder is checked for the kit's texts before any slice is made (a
    // site's own index.html takes no minutes of work to find), and again,
    // with the slices, once it is locked.
    const KitFolderProblem early = KitFolder(request.outputFolder).check({}, kitTexts(settings.cssFile));
    if (early.kind != KitFolderProblem::None)
        return refused(problemText(early, request.outputFolder, false));

    const KeepList wanted = sortedKeepList(request.characters);
    QVector<SliceTask> tasks;
    QVector<KeepList> texts;
    for (const KeepList &file : request.textFiles)
        texts.append(sortedKeepList(file));
    if (texts.isEmpty() && !wanted.isEmpty())
        texts.append(wanted);
    // The cache is the kit's helper, never its condition: one that cannot be
    // used is told, and the kit made without it.
    std::unique_ptr<SliceCache> cache;
    QStringList cacheNotices;
    if (!request.cacheFolder.isEmpty()) {
        cache = std::make_unique<SliceCache>(request.cacheFolder);
        if (!cache->problem().isEmpty()) {
            cacheNotices.append(translated(QT_TRANSLATE_NOOP("Tessaglyph", "The slice cache could not be used (%1); every slice was made."))
                                        .arg(cache->problem()));
            cache.reset();
        }
    }
    // A known text's plan follows its earlier kit, read before the folder is
    // locked: a kit another run places meanwhile costs the plan its
    // stability, not its truth.
    const EarlierKit earlier = texts.isEmpty() ? EarlierKit() : KitFolder(request.outputFolder).earlierKit(settings.cssFile);
    const std::vector<FacePlan> plans = planKit(faces, wanted, texts, request.language, requestedLanguage,
                                                cache != nullptr, earlier, &tasks);
    if (cancel && cancel->load())
        return cancelledOutcome();
    if (tasks.isEmpty())
        return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph",
                                                    "The font has none of the characters of the text; nothing was written.")));

    // More threads than slices, or than a few per core, only cost memory.
    const int threads = std::min({request.jobs > 0 ? request.jobs : QThread::idealThreadCount(),
                                  4 * QThread::idealThreadCount(), int(tasks.size())});
    const QVector<MadeSlice> made = makeSlicesWithin(
            &tasks, kLargestSliceBytes, threads,
            [&](int done, int total) { if (progress) progress({done, total}); }, cancel, cache.get());
    if (cancel && cancel->load())
        return cancelledOutcome();
    if (cache) {
        // Only a run that kept entries can have taken the cache past its
        // bound; trimming reads the size and time of every entry (39,000
        // took 0.1 s), which a kit made from the cache need not pay.
        if (cache->kept() > 0)
            cache->trim();
        if (cache->keepFailures() > 0)
            cacheNotices.append(translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                                               "Slices that could not be kept in the slice cache %1: %n."),
                                           cache->keepFailures())
                                        .arg(native(cache->folder())));
    }

    // Each slice under a name of its bytes' hash, numbered within its face.
    QVector<KitFace> kit;
    QVector<KitFileBytes> sliceFiles;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const SourceFace &face = faces[i];
        KitFace kitFace;
        kitFace.face = face.web;
        kitFace.source = face.where.file;
        kitFace.index = face.where.index;
        kitFace.language = plans[i].language;
        kitFace.byTextUse = plans[i].byTextUse;
        kitFace.keptEarlierSlices = plans[i].keptEarlierSlices;
        // By the font's own script, not the text's: a site's Chinese pages hold
        // more Latin letters, in their markup, than ideographs.
        kitFace.fallbacks = fallbackFaces(face.face.get(), face.web.codePoints);
        kit.append(kitFace);
    }
    for (int t = 0; t < tasks.size(); ++t) {
        const MadeSlice &slice = made.at(t);
        const SourceFace &face = faces[std::size_t(tasks.at(t).source)];
        KitFace &kitFace = kit[tasks.at(t).source];
        if (slice.woff2.isEmpty() || slice.mapped.isEmpty())
            return refused(translated(QT_TRANSLATE_NOOP(
                                              "Tessaglyph",
                                              "The web font could not be made from %1: the font is damaged or not supported; nothing was written."))
                                   .arg(native(face.where.file)));
        const QString baseName = kitBaseName({face.web.postScriptName, face.web.fullName}, QStringLiteral("font"));
        const QString file = sliceFileName(baseName, int(kitFace.slices.size()) + 1, slice.woff2);
        sliceFiles.append({file, slice.woff2});
        kitFace.slices.append({file, quint64(slice.woff2.size()), slice.mapped});
    }

    settings.fontDisplay = request.fontDisplay;
    settings.localSources = request.localSources;
    settings.requestedCharacters = int(wanted.size());
    settings.sampleText = request.characters;
    settings.pages = request.pages;
    WebFontOutcome outcome = placeKit(request, kit, sliceFiles, settings, cancel);
    if (outcome.job.succeeded) {
        describeKit(kit, faces, wanted, &outcome);
        for (std::size_t i = 0; i < faces.size(); ++i) {
            if (std::any_of(tasks.cbegin(), tasks.cend(),
                            [&](const SliceTask &task) { return task.unitCut && task.source == int(i); }))
                outcome.job.notices.append(
                        translated(QT_TRANSLATE_NOOP("Tessaglyph",
                                                     "HarfBuzz could not make a slice of all the characters that %1 shapes together; they were cut into several slices, and some of them may be drawn apart in the kit."))
                                .arg(native(faces[i].where.file)));
        }
        outcome.cachedSlices = int(std::count_if(made.cbegin(), made.cend(), [](const MadeSlice &slice) { return slice.fromCache; }));
        if (cache)
            outcome.job.summary.append(
                    translated(QT_TRANSLATE_N_NOOP("Tessaglyph", "Slices copied from the slice cache: %n of %1."),
                               outcome.cachedSlices)
                            .arg(outcome.sliceCount));
        outcome.job.notices += cacheNotices;
    }
    return outcome;
}
