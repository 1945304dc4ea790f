#include "FontSubsetter.h"

#include "CmapCoverage.h"
#include "KeepList.h"
#include "catalogue/CatalogueFaces.h"
#include "platform/DefaultFace.h"
#include "platform/FontPackage.h"
#include "platform/UnicodeCmap.h"
#include "platform/Woff2.h"
#include "sfnt/FileSuffix.h"
#include "sfnt/FontSource.h"
#include "sfnt/NameReader.h"
#include "sfnt/TableDirectory.h"
#include "sfnt/TableTags.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdlib>
#include <memory>

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
    mappedFile.reset();
}

bool FontSubsetter::loadTrueTypeFile(const QString &path)
{
    return loadFont(path, Reading::Whole);
}

bool FontSubsetter::loadFont(const QString &path, Reading reading)
{
    clearFont();
    if (!hasFontSuffix(path))
        return false;

    auto file = std::make_unique<QFile>(path);
    if (file->open(QIODevice::ReadOnly)) {
        const qint64 size = file->size();
        const uchar *mapped = reading == Reading::Mapped && size > 0 ? file->map(0, size) : nullptr;
        if (mapped) {
            fontBytes = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), qsizetype(size));
            mappedFile = std::move(file);
        } else {
            fontBytes = file->readAll();
        }
    }
    fontData = fontBytes.isEmpty() ? nullptr : reinterpret_cast<const uchar *>(fontBytes.constData());
    return true;
}

FontSubsetter::Coverage FontSubsetter::setKeepList(KeepList list)
{
    keepList = sortedKeepList(list);
    // An empty text is no reason to take another font: what remains is .notdef.
    if (keepList.isEmpty() || coversAnyKeepUnit())
        return Coverage::Covered;

    clearFont();
    if (!loadSystemFont(defaultFace) || !holdsSfntFont())
        return Coverage::DefaultFaceUnavailable;
    return coversAnyKeepUnit() ? Coverage::FellBack : Coverage::DefaultFaceCoversNothing;
}

bool FontSubsetter::coversAnyKeepUnit() const
{
    return cmapCoversAny(findTable(TagCmap), keepList);
}

bool FontSubsetter::writeSubset(const QString &path, WrittenSubset *written, OutputFormat format)
{
    WrittenSubset ownResult;
    WrittenSubset &result = written ? *written : ownResult;
    result = WrittenSubset();

    uchar *buffer = nullptr;
    quint32 bufferSize = 0;
    quint32 bytesWritten = 0;
    const quint32 status = createFontPackage(
            fontData, quint32(fontBytes.size()), &buffer, &bufferSize, &bytesWritten, FontPackage::FlagSubset, 0,
            FontPackage::StandaloneSubset, FontPackage::AllLanguages, FontPackage::PlatformMicrosoft,
            FontPackage::EncodingUcs4, keepList.constData(), quint32(keepList.size()), std::malloc, std::realloc,
            std::free, nullptr);
    const std::unique_ptr<uchar, decltype(&std::free)> ownedBuffer(buffer, std::free);
    if (status != FontPackage::Ok || !buffer || bytesWritten == 0 || bytesWritten > bufferSize)
        return false;
    const ByteView subset(buffer, bytesWritten);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(buffer), qsizetype(bytesWritten));
    if (format == OutputFormat::Woff2) {
        bytes = encodeWoff2(subset);
        if (bytes.isEmpty())
            return false;
    }

    // Written beside the target and renamed over it only when complete. A
    // write that fails only when the buffer is flushed (a full disk) must not
    // reach commit(), which would put the short file in place.
    QSaveFile output(path);
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() || !output.flush()) {
        result.error = output.errorString();
        output.cancelWriting();
        return false;
    }
    if (!output.commit()) {
        result.error = output.errorString();
        return false;
    }
    const FontContents contents = fontContents(subset, keepList);
    result.size = quint64(bytes.size());
    result.glyphCount = contents.glyphCount;
    result.missing = contents.unmapped;
    return true;
}

bool FontSubsetter::holdsSfntFont() const
{
    FontSource source(fontBytes);
    TableDirectory directory;
    if (!readTableDirectory(source, 0, &directory) || directory.records.isEmpty()
        || !isFontVersion(directory.sfntVersion))
        return false;
    // A truncated file: its directory points past the end.
    const ByteView font(fontData, quint64(fontBytes.size()));
    return std::all_of(directory.records.cbegin(), directory.records.cend(), [&](const TableRecord &record) {
        return font.contains(record.offset, record.length);
    });
}

bool FontSubsetter::holdsCffFont() const
{
    quint32 sfntVersion = 0;
    return ByteView(fontData, quint64(fontBytes.size())).readU32(0, &sfntVersion) && sfntVersion == kCffVersion;
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
