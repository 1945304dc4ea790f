#include "CatalogueFaces.h"

#include "platform/NameFolding.h"
#include "sfnt/FileSuffix.h"
#include "sfnt/FontSource.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableDirectory.h"
#include "sfnt/TableTags.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr quint16 kMacStyleBold = 0x0001;
constexpr quint16 kMacStyleItalic = 0x0002;
constexpr int kSlantedOrBoldPenalty = 10000;

int styleDistance(FontSource &source, const TableDirectory &directory)
{
    quint16 macStyle = 0, usWeightClass = 400;
    if (const TableRecord *head = findTableRecord(directory, tableTags.at(TagHead))) {
        const QByteArray bytes = source.read(quint64(head->offset) + 44, 2);
        ByteView(bytes.constData(), quint64(bytes.size())).readU16(0, &macStyle);
    }
    if (const TableRecord *os2 = findTableRecord(directory, tableTags.at(TagOS2))) {
        const QByteArray bytes = source.read(quint64(os2->offset) + 4, 2);
        ByteView(bytes.constData(), quint64(bytes.size())).readU16(0, &usWeightClass);
    }
    const bool slantedOrBold = macStyle & (kMacStyleBold | kMacStyleItalic);
    return (slantedOrBold ? kSlantedOrBoldPenalty : 0) + qAbs(int(usWeightClass) - 400);
}

QStringList otherNames(ByteView nameTable)
{
    return windowsNames(nameTable, kFamilyNameId) + windowsNames(nameTable, kFullNameId)
            + windowsNames(nameTable, kTypographicFamilyNameId);
}

} // namespace

bool CatalogueFace::answersTo(const QString &foldedFamily) const
{
    if (foldedName(name) == foldedFamily)
        return true;
    return std::any_of(otherNames.cbegin(), otherNames.cend(),
                       [&](const QString &other) { return foldedName(other) == foldedFamily; });
}

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
    face.styleDistance = styleDistance(source, directory);
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
    const bool readable = walkCollectionNameTables(source, [&](int index, const TableDirectory &member,
                                                               ByteView nameTable) {
        faces.append({selectName(nameTable, kFullNameId), otherNames(nameTable), styleDistance(source, member), index});
    });
    return readable ? faces : QVector<CatalogueFace>();
}
