#pragma once

#include "KeepList.h"
#include "sfnt/ByteView.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <memory>

class QFile;

// How a subset is written: a standalone font (.ttf, or .otf for CFF
// outlines), or compressed for the web (.woff2).
enum class OutputFormat { Sfnt, Woff2 };

// How a write of a subset went: what the file holds, or why it is not there.
struct WrittenSubset
{
    quint64 size = 0; // of the file written
    unsigned glyphCount = 0;
    KeepList missing; // characters of the keep list the subset does not map
    QString error;    // the system's reason, when the file could not be written
};

// What a subset job did: the font it subset, and the file it wrote or why not.
struct SubsetResult
{
    enum Status {
        Written,
        NotAFont,               // the chosen file holds no TrueType or CFF font
        UnusableName,           // the face's name cannot be a file name
        WouldReplaceSource,     // the output is the very file the font comes from
        NothingCovers,          // neither the font nor the default face has a character of the text
        DefaultFaceUnavailable, // the default face was needed and could not be loaded
        SubsetFailed,           // the subsetting service refused the font
        WriteFailed,            // written.error says why
    };
    // Why the default face was subset in place of the font asked for.
    enum Fallback { NoFallback, FamilyNotInstalled, FamilyNotLoadable, TextNotCovered };

    Status status = SubsetFailed;
    Fallback fallback = NoFallback;
    QString requested;  // the family or file asked for
    QString face;       // the font subset: the family, the file's family name, or the default face
    QString sourcePath; // the file that font was read from
    QString outputPath;
    WrittenSubset written;
};

// The subsetting engine: one font in memory, the characters a subset keeps,
// the desktop's default face and the catalogue of installed fonts. The font
// is a standalone sfnt with TrueType or CFF outlines.
//
// A job calls a load (loadTrueTypeFile or loadSystemFont), then setKeepList,
// then writeSubset.
class FontSubsetter
{
public:
    enum class Setup {
        Full,     // builds the installed-font catalogue and reads the default face
        FontOnly, // only loads fonts and reads their names (short-lived engines)
    };

    explicit FontSubsetter(Setup setup = Setup::Full);
    ~FontSubsetter();

    FontSubsetter(const FontSubsetter &) = delete;
    FontSubsetter &operator=(const FontSubsetter &) = delete;

    // Clears the loaded font, then reads the file whole. False only when the
    // file name's suffix is neither "ttf" nor "otf"; an unreadable file loads
    // as no font.
    bool loadTrueTypeFile(const QString &path);

    // What setKeepList did with the loaded font.
    enum class Coverage {
        Covered,                  // it covers the list, or the list is empty: kept
        FellBack,                 // it covers none of it: the default face's font, which does, was loaded
        DefaultFaceCoversNothing, // the default face's font was loaded, and covers none of it either
        DefaultFaceUnavailable,   // the default face's font was needed and could not be loaded
    };
    // Sorts and de-duplicates the list; when the loaded font covers none of
    // it, loads the default face's font in its place.
    Coverage setKeepList(KeepList list);
    bool coversAnyKeepUnit() const;

    // Writes the subset of the loaded font to path, replacing the file only
    // when every byte of the subset was written and flushed. False on any
    // failure, with the system's reason in written->error for I/O.
    bool writeSubset(const QString &path, WrittenSubset *written = nullptr, OutputFormat format = OutputFormat::Sfnt);

    // True when the loaded bytes are a standalone TrueType or CFF font whose
    // directory and tables lie within them.
    bool holdsSfntFont() const;
    bool holdsCffFont() const;

    // Font names (see sfnt/NameReader.h for the selection rule).
    ByteView findTable(quint8 index) const;
    QString readFamilyName() const;
    static QString readFileFamilyName(const QString &path);

    // Installed fonts.
    void loadRegistryFonts();
    // The registered file of a family (the default face's when the family is
    // not catalogued), joined to the fonts folder.
    QString fontFilePath(const QString &family) const;
    // The family's member of an installed collection, as the per-user folder
    // holds it, when that copy is whole and as new as the collection; null
    // otherwise.
    QString findExtractedFont(const QString &family) const;
    // The standalone font of an installed family (of the default face, when
    // the family is not catalogued), extracting its collection member into
    // the per-user folder when needed; the collection's own path when no
    // member can be had.
    QString systemFontPath(const QString &family);
    bool loadSystemFont(const QString &family);

    // Subsets an installed family (or the default face, when the catalogue
    // does not know the family or its font cannot be loaded) into
    // outputFolder/<face>.ttf, .otf or .woff2.
    SubsetResult subsetSystemFont(const QString &outputFolder, const QString &family, const KeepList &keepList,
                                  OutputFormat format = OutputFormat::Sfnt);
    // Subsets the font file at path into outputFolder/<its base name>.ttf,
    // .otf or .woff2 (the default face, under its own name, when the font
    // covers none of the keep list).
    SubsetResult subsetFontFile(const QString &outputFolder, const QString &path, const KeepList &keepList,
                                OutputFormat format = OutputFormat::Sfnt);

    // Fields, in this order. fontData is null exactly when fontBytes is empty.
    QByteArray fontBytes;
    const uchar *fontData = nullptr;
    QString defaultFace;
    QMap<QString, QString> familyFiles;
    KeepList keepList;

private:
    // Installed fonts are mapped rather than read: a 16 MB CJK font then
    // costs neither a copy nor as much fresh memory. Only package managers
    // and this program write them, by renaming new files into place, so a
    // mapping never sees a file cut short. A font file the user chose is
    // read whole, so that nothing holds it open (a USB stick, say) after
    // the job.
    enum class Reading { Whole, Mapped };
    bool loadFont(const QString &path, Reading reading);
    // The file whose mapping fontBytes refers to, when it was mapped.
    std::unique_ptr<QFile> mappedFile;

    void clearFont();
    // Whether the catalogue resolves the family (catalogue/FamilyLookup.h),
    // and the face it resolves to: the default face when it does not.
    bool isCataloguedFamily(const QString &family) const;
    QString catalogueFace(const QString &family) const;
    SubsetResult subsetLoadedFont(SubsetResult result, const QString &outputFolder, const QString &baseName,
                                  const KeepList &list, OutputFormat format);
};
