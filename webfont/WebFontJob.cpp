#include "WebFontJob.h"

#include "KitFiles.h"
#include "SliceMaker.h"
#include "SlicePlanner.h"
#include "WebFace.h"
#include "engine/FontSubsetter.h"
#include "platform/FamilyFaces.h"
#include "platform/FileStatus.h"
#include "platform/HarfBuzzHandles.h"
#include "platform/TemporaryFile.h"

#include <hb-subset.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <memory>

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

// One face of the kit: the bytes it is read from, the face HarfBuzz reads,
// the same prepared for many subsets, and what the kit needs of it.
struct SourceFace
{
    InstalledFace where;
    HbBlobPtr blob;
    HbFacePtr face;
    HbFacePtr prepared;
    WebFace web;
    QString language; // empty when no list placed its CJK characters
    QVector<KeepList> plan;
};

// How a slice came to be in the folder.
enum class Placed { Created, AlreadyThere, Failed };

// Puts the bytes at path unless a file is there already, which under a name
// of the bytes' hash holds these very bytes (an earlier run's, or another
// run's writing the same kit now). Written to a hidden temporary file and
// renamed without replacing, so of two runs racing for one name exactly one
// created the file, and only that one may remove it.
Placed placeSlice(const QString &path, const QByteArray &bytes, QString *error)
{
    if (QFileInfo::exists(path))
        return Placed::AlreadyThere;
    const int failure = placeBytes(path, bytes, TemporaryFile::Placing::NoReplace);
    if (failure == 0)
        return Placed::Created;
    if (failure == EEXIST)
        return Placed::AlreadyThere;
    *error = qt_error_string(failure);
    return Placed::Failed;
}

QString sliceFileName(const QString &baseName, int number, const QByteArray &bytes)
{
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(8);
    return QStringLiteral("%1.%2.%3.woff2")
            .arg(baseName, QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0')), QString::fromLatin1(hash));
}

// The faces the request names, read; a refusal's text when one cannot be.
QString readSourceFaces(const WebFontRequest &request, std::vector<SourceFace> *faces)
{
    QVector<InstalledFace> wanted;
    if (!request.fontPath.isEmpty()) {
        if (!QFileInfo::exists(request.fontPath))
            return missingFileText(request.fontPath);
        wanted.append({request.fontPath, 0});
    } else {
        wanted = installedFamilyFaces(request.family);
        if (wanted.isEmpty())
            return translated(QT_TRANSLATE_NOOP("Tessaglyph", "The family %1 is not installed; nothing was written."))
                    .arg(request.family);
    }

    for (const InstalledFace &where : wanted) {
        SourceFace source;
        source.where = where;
        bool collection = false;
        if (!request.fontPath.isEmpty()) {
            // The engine's own checks: a .ttf or .otf whose tables lie within
            // the file. The blob owns the engine, whose bytes (a mapping, or
            // the file read whole) stay as long as HarfBuzz needs them.
            auto engine = std::make_unique<FontSubsetter>(FontSubsetter::Setup::FontOnly);
            if (engine->loadTrueTypeFile(where.file) && engine->holdsSfntFont()) {
                const QByteArray &bytes = engine->fontBytes;
                source.blob.reset(hb_blob_create(bytes.constData(), unsigned(bytes.size()), HB_MEMORY_MODE_READONLY,
                                                 engine.release(),
                                                 [](void *data) { delete static_cast<FontSubsetter *>(data); }));
            }
            // The engine takes no .ttc or .otc here; a collection under any
            // name starts with its tag.
            QFile file(where.file);
            collection = !source.blob && file.open(QIODevice::ReadOnly) && file.read(4) == QByteArrayLiteral("ttcf");
        } else {
            // Installed fonts are mapped, as the engine maps them, when nobody
            // but root can cut them short: a CJK collection is 20 MB or more,
            // and only some of its tables are read. Others are read whole.
            auto *file = new QFile(where.file);
            const bool opened = file->open(QIODevice::ReadOnly) && file->size() > 0 && file->size() < 0xFFFFFFFF;
            const uchar *mapped = opened && isSafeToMap(where.file) ? file->map(0, file->size()) : nullptr;
            if (mapped) {
                source.blob.reset(hb_blob_create(reinterpret_cast<const char *>(mapped), unsigned(file->size()),
                                                 HB_MEMORY_MODE_READONLY, file,
                                                 [](void *data) { delete static_cast<QFile *>(data); }));
            } else {
                auto *kept = new QByteArray(opened ? file->readAll() : QByteArray());
                delete file;
                source.blob.reset(hb_blob_create(kept->constData(), unsigned(kept->size()), HB_MEMORY_MODE_READONLY,
                                                 kept, [](void *data) { delete static_cast<QByteArray *>(data); }));
            }
        }
        if (collection) // One face of it is taken by its family's name.
            return translated(QT_TRANSLATE_NOOP(
                                      "Tessaglyph",
                                      "The font %1 is a collection: take one of its families with --family, or split it first; nothing was written."))
                    .arg(native(where.file));
        if (source.blob)
            source.face.reset(hb_face_create(source.blob.get(), unsigned(where.index)));
        if (!source.face || !readWebFace(source.face.get(), &source.web))
            return translated(QT_TRANSLATE_NOOP(
                                      "Tessaglyph",
                                      "The font %1 is not a valid TrueType or OpenType font, or it is damaged; nothing was written."))
                    .arg(native(where.file));
        const bool repeated = std::any_of(faces->cbegin(), faces->cend(), [&](const SourceFace &face) {
            return face.web.postScriptName == source.web.postScriptName;
        });
        if (!repeated)
            faces->push_back(std::move(source));
    }
    // Lightest first, upright before italic.
    std::stable_sort(faces->begin(), faces->end(), [](const SourceFace &a, const SourceFace &b) {
        return std::make_pair(a.web.weightMin, a.web.italic) < std::make_pair(b.web.weightMin, b.web.italic);
    });
    return {};
}

// Removes the files this run wrote, when it fails or is cancelled.
void removeAll(const QStringList &paths)
{
    for (const QString &path : paths)
        QFile::remove(path);
}

} // namespace

WebFontOutcome runWebFontJob(const WebFontRequest &request, const WebFontProgressCallback &progress,
                             const std::atomic<bool> *cancel)
{
    if (request.outputFolder.isEmpty())
        return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph", "The output file path cannot be empty!")));
    if (request.fontPath.isEmpty() == request.family.isEmpty())
        return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph", "Choose either a font file or an installed family.")));
    if (std::none_of(std::begin(kFontDisplays), std::end(kFontDisplays),
                     [&](const char *display) { return request.fontDisplay == QLatin1String(display); }))
        return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph",
                                                    "font-display takes auto, block, swap, fallback or optional, not %1."))
                               .arg(request.fontDisplay));
    SliceLanguage requestedLanguage = SliceLanguage::SimplifiedChinese;
    if (!request.language.isEmpty() && !languageFromTag(request.language, &requestedLanguage))
        return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph",
                                                    "The language takes zh-Hans, zh-Hant, zh-HK, ja or ko, not %1."))
                               .arg(request.language));
    const QString folderProblem = outputFolderProblem(request.outputFolder);
    if (!folderProblem.isEmpty())
        return refused(folderProblem);
    removeLeftoverTemporaryFiles(request.outputFolder);

    std::vector<SourceFace> faces;
    const QString readProblem = readSourceFaces(request, &faces);
    if (!readProblem.isEmpty())
        return refused(readProblem);

    // Plan each face's slices, and prepare it once for all of them.
    const KeepList wanted = sortedKeepList(request.characters);
    QVector<SliceTask> tasks;
    for (SourceFace &face : faces) {
        SlicePlanInput input;
        if (wanted.isEmpty()) {
            input.codePoints = face.web.codePoints;
        } else {
            std::set_intersection(face.web.codePoints.cbegin(), face.web.codePoints.cend(), wanted.cbegin(),
                                  wanted.cend(), std::back_inserter(input.codePoints));
        }
        input.blank = face.web.blank;
        const SliceLanguage language = request.language.isEmpty() ? face.web.language : requestedLanguage;
        input.frequencySlices = frequencySlices(language);
        face.plan = planSlices(input);
        if (listsPlaceCjk(input))
            face.language = languageTag(language);
        // Preparing costs about as much as a subset of the whole face, and
        // pays off only over several slices.
        hb_face_t *sliced = face.face.get();
        if (face.plan.size() > 1) {
            face.prepared.reset(hb_subset_preprocess(sliced));
            sliced = face.prepared.get();
        }
        for (const KeepList &slice : face.plan) {
            const bool blank = std::all_of(slice.cbegin(), slice.cend(),
                                           [&](quint32 codePoint) { return face.web.blank.contains(codePoint); });
            tasks.append({sliced, slice, blank});
        }
    }
    if (tasks.isEmpty())
        return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph",
                                                    "The font has none of the characters of the text; nothing was written.")));

    // More threads than slices, or than a few per core, only cost memory.
    const int total = int(tasks.size());
    const int threads = std::min({request.jobs > 0 ? request.jobs : QThread::idealThreadCount(),
                                  4 * QThread::idealThreadCount(), total});
    const QVector<MadeSlice> made = makeSlices(
            tasks, threads, [&](int done) { if (progress) progress({done, total}); }, cancel);
    const auto cancelled = [&] { return cancel && cancel->load(); };
    if (cancelled())
        return cancelledOutcome();

    // Slices first, each under a name of its bytes' hash: one already there
    // holds these very bytes and is kept as it is, and never removed.
    WebFontOutcome outcome;
    QStringList written;
    QVector<KitFace> kit;
    int taskIndex = 0;
    for (const SourceFace &face : faces) {
        KitFace kitFace;
        kitFace.face = face.web;
        kitFace.source = face.where.file;
        kitFace.index = face.where.index;
        kitFace.language = face.language;
        QString baseName = asciiFileName(face.web.postScriptName);
        if (baseName.isEmpty())
            baseName = QStringLiteral("font");
        for (int number = 1; number <= face.plan.size(); ++number, ++taskIndex) {
            const MadeSlice &slice = made.at(taskIndex);
            if (slice.woff2.isEmpty() || slice.mapped.isEmpty()) {
                removeAll(written);
                return refused(translated(QT_TRANSLATE_NOOP(
                                                  "Tessaglyph",
                                                  "The web font could not be made from %1: the font is damaged or not supported; nothing was written."))
                                       .arg(native(face.where.file)));
            }
            const QString file = sliceFileName(baseName, number, slice.woff2);
            const QString path = request.outputFolder + QLatin1Char('/') + file;
            if (cancelled()) {
                removeAll(written);
                return cancelledOutcome();
            }
            QString error;
            const Placed placed = placeSlice(path, slice.woff2, &error);
            if (placed == Placed::Failed) {
                removeAll(written);
                return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph", "%1 could not be written: %2; nothing was written."))
                                       .arg(native(path), error));
            }
            if (placed == Placed::Created)
                written.append(path);
            kitFace.slices.append({file, quint64(slice.woff2.size()), slice.mapped});
            outcome.totalBytes += quint64(slice.woff2.size());
        }
        kit.append(kitFace);
    }

    // Then the report and the preview, and the style sheet last: it names
    // only slices that are in place.
    KitSettings settings;
    settings.cssFamily = request.cssFamily.isEmpty() ? faces.front().web.family : request.cssFamily;
    QString cssBase = asciiFileName(settings.cssFamily);
    if (cssBase.isEmpty())
        cssBase = asciiFileName(faces.front().web.postScriptName.section(QLatin1Char('-'), 0, 0));
    if (cssBase.isEmpty())
        cssBase = QStringLiteral("webfont");
    settings.cssFile = cssBase + QStringLiteral(".css");
    settings.fontDisplay = request.fontDisplay;
    settings.requestedCharacters = int(wanted.size());
    const QString folder = request.outputFolder + QLatin1Char('/');
    const std::pair<QString, QByteArray> texts[] = {
        {folder + QStringLiteral("report.json"), kitReport(kit, settings)},
        {folder + QStringLiteral("index.html"), kitPreview(kit, settings)},
        {folder + settings.cssFile, kitCss(kit, settings)},
    };
    // All three are written and synced before any is renamed, so that a full
    // disk fails the kit with the earlier kit's files untouched. A file
    // renamed over an earlier one is never removed: that one is gone already.
    std::vector<std::unique_ptr<TemporaryFile>> files;
    for (const auto &text : texts) {
        files.push_back(std::make_unique<TemporaryFile>(request.outputFolder));
        TemporaryFile &file = *files.back();
        int error = file.error();
        if (error == 0)
            error = file.append(text.second.constData(), quint64(text.second.size()));
        if (error == 0)
            error = file.sync();
        if (error != 0) {
            removeAll(written);
            return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph", "%1 could not be written: %2; nothing was written."))
                                   .arg(native(text.first), qt_error_string(error)));
        }
    }
    QStringList placed;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int error = files[i]->place(texts[i].first, TemporaryFile::Placing::Replace);
        if (error != 0) {
            // Once the report and the preview are in place they name the
            // slices, which then stay; before that, the kit leaves nothing.
            if (!placed.isEmpty())
                return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph", "%1 could not be written: %2."))
                                       .arg(native(texts[i].first), qt_error_string(error)));
            removeAll(written);
            return refused(translated(QT_TRANSLATE_NOOP("Tessaglyph", "%1 could not be written: %2; nothing was written."))
                                   .arg(native(texts[i].first), qt_error_string(error)));
        }
        placed.append(texts[i].first);
    }
    written += placed;

    outcome.job.succeeded = true;
    outcome.job.box = JobOutcome::Box::Information;
    outcome.job.title = translated(QT_TRANSLATE_NOOP("Tessaglyph", "Information"));
    outcome.job.text = translated(QT_TRANSLATE_NOOP("Tessaglyph", "Excute successfully!"));
    outcome.job.writtenFiles = written;
    outcome.cssPath = texts[2].first;
    outcome.previewPath = texts[1].first;
    for (const KitFace &kitFace : kit) {
        quint64 bytes = 0;
        qsizetype codePoints = 0;
        for (const KitSlice &slice : kitFace.slices) {
            bytes += slice.bytes;
            codePoints += slice.mapped.size();
        }
        const int sliceCount = int(kitFace.slices.size());
        outcome.sliceCount += sliceCount;
        const QString name = kitFace.face.fullName, source = native(kitFace.source);
        outcome.job.summary.append(
                kitFace.language.isEmpty()
                        ? translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                                       "%1: %2 bytes, %3 characters, slices: %n (%4, by Unicode block)."),
                                     sliceCount)
                                  .arg(name, QString::number(bytes), QString::number(codePoints), source)
                        : translated(QT_TRANSLATE_N_NOOP("Tessaglyph",
                                                       "%1: %2 bytes, %3 characters, slices: %n (%4, by the %5 frequency slices)."),
                                     sliceCount)
                                  .arg(name, QString::number(bytes), QString::number(codePoints), source,
                                       kitFace.language));
    }
    const qsizetype kept = outcome.sliceCount - (written.size() - 3);
    if (kept > 0)
        outcome.job.notices.append(translated(
                QT_TRANSLATE_N_NOOP("Tessaglyph", "Slices already in the folder with the same bytes, kept: %n."), int(kept)));
    // Characters asked for that no face maps (line breaks and other controls are never drawn).
    qsizetype lacking = 0;
    for (quint32 codePoint : wanted) {
        const bool mapped = std::any_of(faces.cbegin(), faces.cend(), [&](const SourceFace &face) {
            return std::binary_search(face.web.codePoints.cbegin(), face.web.codePoints.cend(), codePoint);
        });
        lacking += !mapped && QChar::category(char32_t(codePoint)) != QChar::Other_Control;
    }
    if (lacking > 0)
        outcome.job.summary.append(translated(QT_TRANSLATE_NOOP("Tessaglyph", "The font lacks %1 of the characters."))
                                           .arg(lacking));
    return outcome;
}
