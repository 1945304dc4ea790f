#include "CatalogueFaces.h"

#include "sfnt/FileSuffix.h"
#include "sfnt/FontSource.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableDirectory.h"

#include <QFileInfo>

namespace {

QStringList otherNames(ByteView nameTable)
{
    return windowsNames(nameTable, kFamilyNameId) + windowsNames(nameTable, kFullNameId)
            + windowsNames(nameTable, kTypographicFamilyNameId);
}

} // namespace

CatalogueFace readFontFileFace(const QString &path)
{
    CatalogueFace face;
    if (!hasFontSuffix(path))
        return face;
    FontSource source(path);
    TableDirectory directory;
    if (!readTableDirectory(source, 0, &directory))
        return face;
    const QByteArray table = readNameTable(source, directory);
    const ByteView nameTable(table.constData(), quint64(table.size()));
    face.name = selectName(nameTable, kFamilyNameId);
    face.otherNames = otherNames(nameTable);
    return face;
}

QVector<CatalogueFace> readCollectionFaces(const QString &path)
{
    if (!hasCollectionSuffix(path) || !QFileInfo::exists(path))
        return {};
    FontSource source(path);
    return readCollectionFaces(source);
}

QVector<CatalogueFace> readCollectionFaces(FontSource &source)
{
    QVector<CatalogueFace> faces;
    const bool readable = walkCollectionNameTables(source, [&](int index, const TableDirectory &,
                                                               ByteView nameTable) {
        faces.append({selectName(nameTable, kFullNameId), otherNames(nameTable), index});
    });
    return readable ? faces : QVector<CatalogueFace>();
}
