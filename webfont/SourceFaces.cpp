#include "SourceFaces.h"

#include "catalogue/FamilyLookup.h"
#include "engine/FontSubsetter.h"
#include "engine/Jobs.h"
#include "platform/FileNamer.h"
#include "platform/FileStatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("Tessaglyph", text);
}

// A file the user chose: the engine's own checks (a font whose tables lie
// within the file). The blob owns the engine, whose bytes (a mapping, or
// the file read whole) stay as long as HarfBuzz needs them.
HbBlobPtr chosenFileBlob(const QString &path, FontProblem *problem)
{
    auto engine = std::make_unique<FontSubsetter>(FontSubsetter::Setup::FontOnly);
    if (!engine->loadTrueTypeFile(path) || !engine->holdsSfntFont()) {
        *problem = engine->fontProblem();
        return {};
    }
    const QByteArray &bytes = engine->fontBytes;
    return HbBlobPtr(hb_blob_create(bytes.constData(), unsigned(bytes.size()), HB_MEMORY_MODE_READONLY, engine.release(),
                                    [](void *data) { delete static_cast<FontSubsetter *>(data); }));
}

// An installed font is mapped, as the engine maps it, when nobody but root
// can cut it short: a CJK collection is 20 MB or more, and only some of its
// tables are read. Others are read whole.
HbBlobPtr installedFileBlob(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    const bool opened = file->open(QIODevice::ReadOnly) && file->size() > 0 && file->size() < 0xFFFFFFFF;
    const uchar *mapped = opened && isSafeToMap(path) ? file->map(0, file->size()) : nullptr;
    if (mapped) {
        const auto size = unsigned(file->size());
        return HbBlobPtr(hb_blob_create(reinterpret_cast<const char *>(mapped), size, HB_MEMORY_MODE_READONLY,
                                        file.release(), [](void *data) { delete static_cast<QFile *>(data); }));
    }
    auto kept = std::make_unique<QByteArray>(opened ? file->readAll() : QByteArray());
    const QByteArray &bytes = *kept;
    return HbBlobPtr(hb_blob_create(bytes.constData(), unsigned(bytes.size()), HB_MEMORY_MODE_READONLY, kept.release(),
                                    [](void *data) { delete static_cast<QByteArray *>(data); }));
}

bool isCollectionFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == QByteArrayLiteral("ttcf");
}

bool isSameFace(const InstalledFace &a, const InstalledFace &b)
{
    return a.index == b.index && (a.file == b.file || isSameFileOnDisk(a.file, b.file));
}

} // namespace

QString readSourceFaces(const QString &fontPath, const QString &family, std::vector<SourceFace> *faces,
                        const std::atomic<bool> *cancel)
{
    QVector<InstalledFace> wanted;
    if (!fontPath.isEmpty()) {
        if (!QFileInfo::exists(fontPath))
            return missingFileText(fontPath);
        wanted.append({fontPath, 0, {}});
    } else {
        FontSubsetter catalogue;
        catalogue.loadInstalledFonts();
        wanted = lookUpFamilyFaces(catalogue.familyFiles, family);
        if (wanted.isEmpty())
            return translated(QT_TRANSLATE_NOOP("Tessaglyph", "The family %1 is not installed; nothing was written."))
                    .arg(printableName(family));
    }

    for (const InstalledFace &where : wanted) {
        if (cancel && cancel->load())
            return {};
        if (std::any_of(faces->cbegin(), faces->cend(), [&](const SourceFace &face) { return isSameFace(face.where, where); }))
            continue;
        SourceFace source;
        source.where = where;
        FontProblem problem;
        source.blob = fontPath.isEmpty() ? installedFileBlob(where.file) : chosenFileBlob(where.file, &problem);
        // The engine takes no .ttc or .otc here; a collection under any name
        // starts with its tag. One face of it is taken by its family's name.
        if (!source.blob && isCollectionFile(where.file))
            return translated(QT_TRANSLATE_NOOP(
                                      "Tessaglyph",
                                      "The font %1 is a collection: take one of its families with --family, or split it first; nothing was written."))
                    .arg(QDir::toNativeSeparators(where.file));
        // The engine's own reason when it has one (a WOFF2 too large to
        // decode, a table outside the file).
        if (!source.blob && problem.kind != FontProblem::None)
            return fontProblemText(problem, where.file) + QLatin1Char(' ')
                    + translated(QT_TRANSLATE_NOOP("Tessaglyph", "Nothing was written."));
        if (source.blob)
            source.face.reset(hb_face_create(source.blob.get(), unsigned(where.index)));
        if (!source.face || !readWebFace(source.face.get(), &source.web))
            return translated(QT_TRANSLATE_NOOP(
                                      "Tessaglyph",
                                      "The font %1 is not a valid TrueType or OpenType font, or it is damaged; nothing was written."))
                    .arg(QDir::toNativeSeparators(where.file));
        faces->push_back(std::move(source));
    }
    // Lightest first, upright before italic.
    std::stable_sort(faces->begin(), faces->end(), [](const SourceFace &a, const SourceFace &b) {
        return std::make_pair(a.web.weightMin, a.web.italic) < std::make_pair(b.web.weightMin, b.web.italic);
    });
    return {};
}
