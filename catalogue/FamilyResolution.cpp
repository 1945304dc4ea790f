// Resolving an installed family to a loadable standalone .ttf, splitting an
// installed collection into the per-user folder on the way.

#include "CatalogueFaces.h"
#include "Folders.h"
#include "engine/FontSubsetter.h"
#include "sfnt/CollectionSplit.h"

#include <QDir>

QString FontSubsetter::fontFilePath(const QString &family) const
{
    QString file = familyFiles.value((family.isEmpty() ? defaultFace : family).toLower());
    if (file.isEmpty())
        file = familyFiles.value(defaultFace.toLower());
    return registeredFontPath(file);
}

QString FontSubsetter::findExtractedFont(const QString &family) const
{
    const QString folder = applicationDataFolder();
    const QStringList files = QDir(folder).entryList(
            {QStringLiteral("*.ttf")}, QDir::Files | QDir::NoSymLinks | QDir::Readable | QDir::NoDotAndDotDot,
            QDir::Name);
    for (const QString &fileName : files) {
        const QString candidate = folder + QLatin1Char('/') + fileName;
        const int suffixAt = fileName.indexOf(QLatin1String(".ttf"), 0, Qt::CaseSensitive);
        const QString baseName = suffixAt < 0 ? fileName : fileName.left(suffixAt);
        if (family == baseName)
            return candidate;

        // The family list may show a family under another of the file's
        // Windows names (its English family name, say): any of them matches.
        const CatalogueFace face = readFontFileFace(candidate);
        if (family == face.name || face.familyNames.contains(family))
            return candidate;
    }
    return {};
}

QString FontSubsetter::systemFontPath(const QString &family)
{
    const QString path = fontFilePath(family);
    if (path.right(3).toLower() != QLatin1String("ttc"))
        return path;

    const QString extracted = findExtractedFont(family);
    if (!extracted.isEmpty())
        return extracted;

    // The split keeps every member in the per-user folder for later runs.
    splitCollection(path, applicationDataFolder());
    const QString split = findExtractedFont(family);
    return split.isEmpty() ? path : split;
}

bool FontSubsetter::loadSystemFont(const QString &family)
{
    return loadTrueTypeFile(systemFontPath(family));
}
