#include "FontSubsetter.h"

#include "CmapCoverage.h"
#include "KeepList.h"
#include "catalogue/CatalogueFaces.h"
#include "platform/DefaultFace.h"
#include "platform/FontPackage.h"
#include "sfnt/FileSuffix.h"
#include "sfnt/FontSource.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableDirectory.h"
#include "sfnt/TableTags.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdlib>

FontSubsetter::FontSubsetter(Setup setup)
{
    if (setup == Setup::FontOnly)
        return;
    loadRegistryFonts();
    defaultFace = desktopDefaultFace();
}

FontSubsetter::~FontSubsetter()
{
    familyFiles.clear();
    clearFont();
}

void FontSubsetter::clearFont()
{
    fontData = nullptr;
    fontBytes.clear();
}

bool FontSubsetter::loadTrueTypeFile(const QString &path)
{
    clearFont();
    if (!hasSuffix(path, QLatin1String("ttf")))
        return false;

    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        fontBytes = file.readAll();
    fontData = fontBytes.isEmpty() ? nullptr : reinterpret_cast<const uchar *>(fontBytes.constData());
    return true;
}

void FontSubsetter::setKeepList(KeepList list)
{
    keepList = sortedKeepList(list);

    if (!coversAnyKeepUnit()) {
        clearFont();
        loadSystemFont(defaultFace);
    }
}

bool FontSubsetter::coversAnyKeepUnit() const
{
    return cmapCoversAny(findTable(TagCmap), keepList);
}

bool FontSubsetter::writeSubset(const QString &path)
{
    // The count travels as 16 bits; of a list holding every code unit, drop
    // U+FFFF, a noncharacter that no font maps.
    KeepList units = keepList;
    if (units.size() > 0xFFFF)
        units.removeAll(0xFFFF);

    uchar *buffer = nullptr;
    quint32 bufferSize = 0;
    quint32 bytesWritten = 0;
    const quint16 flags = FontPackage::FlagSubset;
    const quint32 status = createFontPackage(
            fontData, quint32(fontBytes.size()), &buffer, &bufferSize, &bytesWritten, flags, 0,
            FontPackage::StandaloneSubset, FontPackage::AllLanguages, FontPackage::PlatformMicrosoft,
            FontPackage::EncodingUnicodeBmp, units.constData(), quint16(units.size()),
            std::malloc, std::realloc, std::free, nullptr);

    bool written = false;
    if (status == FontPackage::Ok && buffer && bytesWritten > 0 && bytesWritten <= bufferSize) {
        // Written beside the target and renamed over it only when complete.
        QSaveFile output(path);
        if (output.open(QIODevice::WriteOnly)
            && output.write(reinterpret_cast<const char *>(buffer), bytesWritten) == qint64(bytesWritten))
            written = output.commit();
    }
    std::free(buffer);
    return written;
}

bool FontSubsetter::holdsTrueTypeFont() const
{
    FontSource source(fontBytes);
    TableDirectory directory;
    if (!readTableDirectory(source, 0, &directory) || directory.records.isEmpty())
        return false;
    if (directory.sfntVersion != kTrueTypeVersion && directory.sfntVersion != kAppleTrueTypeVersion)
        return false;
    // A truncated file: its directory points past the end.
    const ByteView font(fontData, quint64(fontBytes.size()));
    return std::all_of(directory.records.cbegin(), directory.records.cend(), [&](const TableRecord &record) {
        return font.contains(record.offset, record.length);
    });
}

ByteView FontSubsetter::findTable(quint8 index) const
{
    if (!fontData || index >= tableTags.size())
        return {};
    FontSource source(fontBytes);
    TableDirectory directory;
    if (!readTableDirectory(source, 0, &directory))
        return {};
    const TableRecord *record = findTableRecord(directory, tableTags.at(index));
    if (!record)
        return {};
    // A table whose range runs past the end of the font is a missing table.
    return ByteView(fontData, quint64(fontBytes.size())).slice(record->offset, record->length);
}

QString FontSubsetter::readFamilyName() const
{
    return selectName(findTable(TagName), kFamilyNameId);
}

QString FontSubsetter::readFileFamilyName(const QString &path)
{
    return readFontFileFace(path).name;
}
