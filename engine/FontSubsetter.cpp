#include "FontSubsetter.h"

#include "CmapCoverage.h"
#include "KeepList.h"
#include "catalogue/CatalogueFaces.h"
#include "platform/DefaultFace.h"
#include "platform/FileStatus.h"
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

FontSubsetter::FontSubsetter(Setup setup) : installedFontsPending(setup == Setup::Full)
{
}

FontSubsetter::~FontSubsetter()
{
    familyFiles.clear();
    clearFont();
}

void FontSubsetter::loadInstalledFonts()
{
    // A job on a font file that covers its text never needs the installed
    // fonts, nor fontconfig, which costs more than most subsets to start.
    if (!installedFontsPending)
        return;
    installedFontsPending = false;
    loadRegistryFonts();
    defaultFacePending = true;
}

const QString &FontSubsetter::defaultFaceName()
{
    // Asked of fontconfig only when a job needs it: a family that is found
    // and covers its text never does.
    loadInstalledFonts();
    if (defaultFacePending) {
        defaultFacePending = false;
        defaultFace = desktopDefaultFace();
    }
    return defaultFace;
}

void FontSubsetter::clearFont()
{
    fontData = nullptr;
    fontBytes.clear();
    mappedFile.reset();
    readError.clear();
    decodeProblem = FontProblem::None;
    faceIndex = -1;
    fontOffset = 0;
}

bool FontSubsetter::loadTrueTypeFile(const QString &path)
{
    return loadFont(path);
}

bool FontSubsetter::loadFont(const QString &path, int index)
{
    clearFont();
    const bool woff2 = index < 0 && hasWoff2Suffix(path);
    if (index < 0 && !hasFontSuffix(path) && !woff2)
        return false;

    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly)) {
        readError = file->errorString();
        return true;
    }
    const qint64 size = file->size();
    const uchar *mapped = size > 0 && isSafeToMap(path) ? file->map(0, size) : nullptr;
    if (mapped) {
        fontBytes = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), qsizetype(size));
        mappedFile = std::move(file);
    } else {
        fontBytes = file->readAll();
        if (file->error() != QFileDevice::NoError) {
            readError = file->errorString();
            fontBytes.clear();
        }
    }
    if (woff2 && readError.isEmpty()) {
        Woff2Refusal refusal = Woff2Refusal::None;
        fontBytes = decodeWoff2(ByteView(fontBytes.constData(), quint64(fontBytes.size())), &refusal);
        mappedFile.reset(); // the file's bytes were decoded into fontBytes' own
        if (refusal != Woff2Refusal::None)
            decodeProblem = refusal == Woff2Refusal::TooLarge ? FontProblem::Woff2TooLarge : FontProblem::Woff2Damaged;
    }
    fontData = fontBytes.isEmpty() ? nullptr : reinterpret_cast<const uchar *>(fontBytes.constData());

    if (index >= 0 && fontData) {
        FontSource source(fontBytes);
        QVector<quint32> offsets;
        faceIndex = index;
        // A face the collection does not have is a missing font.
        fontOffset = readCollectionOffsets(source, &offsets) && index < offsets.size() ? offsets.at(index)
                                                                                        : quint32(fontBytes.size());
    }
    return true;
}

FontSubsetter::Coverage FontSubsetter::setKeepList(KeepList list)
{
    keepList = sortedKeepList(list);
    // An empty text is no reason to take another font: what remains is .notdef.
    if (drawnCharacters(keepList).isEmpty() || coversAnyKeepUnit())
        return Coverage::Covered;

    clearFont();
    loadInstalledFonts();
    if (!loadSystemFont(defaultFaceName()) || !holdsSfntFont())
        return Coverage::DefaultFaceUnavailable;
    return coversAnyKeepUnit() ? Coverage::FellBack : Coverage::DefaultFaceCoversNothing;
}

bool FontSubsetter::coversAnyKeepUnit() const
{
    return cmapCoversAny(findTable(TagCmap), drawnCharacters(keepList));
}

bool FontSubsetter::writeSubset(const QString &path, WrittenSubset *written, OutputFormat format)
{
    WrittenSubset ownResult;
    WrittenSubset &result = written ? *written : ownResult;
    result = WrittenSubset();

    uchar *buffer = nullptr;
    quint32 bufferSize = 0;
    quint32 bytesWritten = 0;
    const quint16 flags = FontPackage::FlagSubset | (faceIndex >= 0 ? FontPackage::FlagCollection : 0);
    const quint32 status = createFontPackage(
            fontData, quint32(fontBytes.size()), &buffer, &bufferSize, &bytesWritten, flags,
            quint16(std::max(faceIndex, 0)), FontPackage::StandaloneSubset, FontPackage::AllLanguages,
            FontPackage::PlatformMicrosoft, FontPackage::EncodingUcs4, keepList.constData(), quint32(keepList.size()),
            std::malloc, std::realloc, std::free, nullptr);
    const std::unique_ptr<uchar, decltype(&std::free)> ownedBuffer(buffer, std::free);
    if (status != FontPackage::Ok || !buffer || bytesWritten == 0 || bytesWritten > bufferSize) {
        result.failure = WrittenSubset::ServiceRefused;
        return false;
    }

    // The subset as it will be read: a font that covers the text must give a
    // subset that maps some of it (HarfBuzz 6.0 drops a format 13 cmap, and
    // the subset then has no cmap at all). Checked before any compression.
    const ByteView subset(buffer, bytesWritten);
    const FontContents contents = fontContents(subset, keepList);
    const KeepList drawn = drawnCharacters(keepList);
    if (!drawn.isEmpty() && coversAnyKeepUnit()
        && std::all_of(drawn.cbegin(), drawn.cend(),
                       [&](quint32 c) { return std::binary_search(contents.unmapped.cbegin(), contents.unmapped.cend(), c); })) {
        result.failure = WrittenSubset::TextLost;
        return false;
    }

    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(buffer), qsizetype(bytesWritten));
    if (format == OutputFormat::Woff2) {
        bytes = encodeWoff2(subset);
        if (bytes.isEmpty()) {
            result.failure = WrittenSubset::Woff2Refused;
            return false;
        }
    }

    // Written beside the target and renamed over it only when complete. A
    // write that fails only when the buffer is flushed (a full disk) must not
    // reach commit(), which would put the short file in place.
    QSaveFile output(path);
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() || !output.flush()) {
        result.failure = WrittenSubset::WriteRefused;
        result.error = output.errorString();
        output.cancelWriting();
        return false;
    }
    if (!output.commit()) {
        result.failure = WrittenSubset::WriteRefused;
        result.error = output.errorString();
        return false;
    }
    result.size = quint64(bytes.size());
    result.glyphCount = contents.glyphCount;
    result.missing = contents.unmapped;
    return true;
}

bool FontSubsetter::holdsSfntFont() const
{
    return fontProblem().kind == FontProblem::None;
}

FontProblem FontSubsetter::fontProblem() const
{
    FontProblem problem;
    const ByteView bytes(fontData, quint64(fontBytes.size()));
    quint32 version = 0;
    if (!readError.isEmpty()) {
        problem.kind = FontProblem::Unreadable;
        problem.detail = readError;
        return problem;
    }
    if (decodeProblem != FontProblem::None) {
        problem.kind = decodeProblem;
        return problem;
    }
    if (bytes.readU32(0, &version) && version == kCollectionTag && faceIndex < 0) {
        problem.kind = FontProblem::Collection;
        return problem;
    }
    if (!bytes.readU32(fontOffset, &version) || !isFontVersion(version)) {
        problem.kind = FontProblem::NotAFont;
        return problem;
    }
    FontSource source(fontBytes);
    TableDirectory directory;
    if (!readTableDirectory(source, fontOffset, &directory) || directory.records.isEmpty()) {
        problem.kind = FontProblem::DamagedDirectory;
        return problem;
    }
    // A truncated file: its directory points past the end.
    for (const TableRecord &record : directory.records) {
        if (!bytes.contains(record.offset, record.length)) {
            problem.kind = FontProblem::TableOutside;
            const char tag[4] = {char(record.tag >> 24), char(record.tag >> 16), char(record.tag >> 8), char(record.tag)};
            problem.detail = QString::fromLatin1(tag, 4);
            return problem;
        }
    }
    return problem;
}

bool FontSubsetter::holdsCffFont() const
{
    quint32 sfntVersion = 0;
    return ByteView(fontData, quint64(fontBytes.size())).readU32(fontOffset, &sfntVersion)
            && sfntVersion == kCffVersion;
}

ByteView FontSubsetter::findTable(quint8 index) const
{
    if (!fontData || index >= tableTags.size())
        return {};
    FontSource source(fontBytes);
    TableDirectory directory;
    if (!readTableDirectory(source, fontOffset, &directory))
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
