#pragma once

#include "KeepList.h"
#include "base/ByteView.h"
#include "catalogue/FontCatalogue.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <future>
#include <memory>

class QFile;
struct FamilyLookup;

// How a subset is written: a standalone font (.ttf, or .otf for CFF
// outlines), or compressed for the web (.woff2).
enum class OutputFormat { Sfnt, Woff2 };

// Why loaded bytes are not a font the engine can subset.
struct FontProblem
{
    enum Kind {
        None,
        Unreadable,        // the file could not be opened or read; detail is the system's reason
        Collection,        // a collection (ttcf) where a standalone font was expected
        NotAFont,          // no TrueType or CFF offset table at its start
        DamagedDirectory,  // no tables, or a directory that runs past the end of the bytes
        TableOutside,      // a table lies outside the bytes; detail is its tag
        Woff2Damaged,      // a WOFF2 file the decoder refused
        Woff2TooLarge,     // a WOFF2 file whose font would be larger than kMaxDecodedWoff2Bytes
    };
    Kind kind = None;
    QString detail;
};

// How a write of a subset went: what the file holds, or why it is not there.
struct WrittenSubset
{
    enum Failure {
        NoFailure,
        ServiceRefused,  // the subsetting service made no font
        TextLost,        // the font covers the text, its subset maps none of it
        Woff2Refused,    // the WOFF2 encoder refused the subset
        WriteRefused,    // error says why
    };
    Failure failure = NoFailure;
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
        NotAFont,               // the chosen file holds no usable font; problem says why
        UnusableName,           // the face's name cannot be a file name
        WouldReplaceSource,     // the output is the very file the font comes from
        NothingCovers,          // neither the font nor the default face has a character of the text
        DefaultFaceUnavailable, // the default face was needed and could not be loaded
        SubsetFailed,           // the subsetting service refused the font
        TextLost,               // the subset maps none of the characters the font covers
        Woff2Failed,            // the WOFF2 encoder refused the subset
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
    QString defaultFace; // the default face, when the job needed it
    FontProblem problem; // of the chosen file (NotAFont), or of the family's font (FamilyNotLoadable)
    QString problemPath; // the file the problem is of
    // Why the family's member of a collection was subset from the collection
    // itself rather than from a per-user copy; empty when it was not.
    QString storeError;
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
        Full,     // looks families up among the installed fonts and reads the default face when first needed
        FontOnly, // only loads fonts and reads their names (short-lived engines)
    };

    explicit FontSubsetter(Setup setup = Setup::Full);
    ~FontSubsetter();

    FontSubsetter(const FontSubsetter &) = delete;
    FontSubsetter &operator=(const FontSubsetter &) = delete;

    // Clears the loaded font, then loads the file (see isSafeToMap for which
    // files are mapped and which are read); a .woff2 file is decoded, and
    // fontBytes holds the sfnt font it holds. False only when the file
    // name's suffix is none of "ttf", "otf" and "woff2"; an unreadable or
    // undecodable file loads as no font.
    bool loadTrueTypeFile(const QString &path);

    // What setKeepList did with the loaded font.
    enum class Coverage {
        Covered,                  // it covers the list, or the list is empty: kept
        FellBack,                 // it covers none of it: the default face's font, which does, was loaded
        DefaultFaceCoversNothing, // the default face's font was loaded, and covers none of it either
        DefaultFaceUnavailable,   // the default face's font was needed and could not be loaded
    };
    // Sorts and de-duplicates the list; when the loaded font covers none of
    // it, loads the default face's font in its place. A list of control
    // characters only (line breaks) is an empty text: no font draws them.
    Coverage setKeepList(KeepList list);
    // Whether the loaded font maps a drawn character of the keep list to a glyph.
    bool coversAnyKeepUnit() const;

    // Writes the subset of the loaded font to path, replacing the file only
    // when every byte of the subset was written and flushed, and never when
    // the subset maps none of the text the font covers. False on any
    // failure, with which in written->failure and the system's reason in
    // written->error for I/O.
    bool writeSubset(const QString &path, WrittenSubset *written = nullptr, OutputFormat format = OutputFormat::Sfnt);

    // True when the loaded bytes are a standalone TrueType or CFF font (or a
    // collection's face loaded by index) whose directory and tables lie
    // within them.
    bool holdsSfntFont() const;
    // Why they are not; kind None when they are.
    FontProblem fontProblem() const;
    bool holdsCffFont() const;

    // Font names (see sfnt/NameReader.h for the selection rule).
    ByteView findTable(quint8 index) const;
    QString readFamilyName() const;
    static QString readFileFamilyName(const QString &path);

    // Installed fonts.
    void loadRegistryFonts();
    // Opens the catalogue to the installed fonts (each name is looked up in
    // fontconfig's cache when first asked for), once, for an engine set up
    // Full; nothing for one set up FontOnly or already loaded.
    void loadInstalledFonts();
    // The desktop's default face, asked for once a job needs it (defaultFace
    // holds it then).
    const QString &defaultFaceName();
    // The registered file of a family (the default face's when the family is
    // not catalogued), joined to the fonts folder.
    QString fontFilePath(const QString &family);
    // The family's member of an installed collection, as the per-user folder
    // holds it, when that copy is whole and as new as the collection; null
    // otherwise.
    QString findExtractedFont(const QString &family);
    // The standalone font of an installed family (of the default face, when
    // the family is not catalogued), extracting its collection member into
    // the per-user folder when needed; the collection's own path when no
    // copy can be had (loadSystemFont then loads the member from it).
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
    FontCatalogue familyFiles;
    KeepList keepList;

private:
    // Whether loadInstalledFonts has work left to do, and whether the
    // default face is still to be asked for.
    bool installedFontsPending = false;
    bool defaultFacePending = false;

    // An installed font or a file the user chose is mapped when nobody but
    // root can cut it short (see isSafeToMap), and read whole otherwise. A
    // face of a collection is loaded by its index in the collection.
    bool loadFont(const QString &path, int faceIndex = -1);
    // The file whose mapping fontBytes refers to, when it was mapped.
    std::unique_ptr<QFile> mappedFile;
    QString readError;      // why the last file could not be opened or read
    FontProblem::Kind decodeProblem = FontProblem::None; // why a WOFF2 file could not be decoded
    int faceIndex = -1;     // the loaded collection's face, or -1 for a standalone font
    quint32 fontOffset = 0; // of the loaded face's offset table

    // Where an installed family's font is: a file, or a collection's face
    // when no per-user copy of it can be had yet (storeError says why, or
    // the copy is being written by memberCopy while the job reads the face).
    struct SystemFont
    {
        QString path;
        int faceIndex = -1;
        QString storeError;
    };
    // A member's first per-user copy is made before the member is loaded
    // from it, or, for a subset, written beside the job, which reads the
    // member from its collection meanwhile: the subset does not need the copy
    // (16 MB written and synced for a CJK member take as long as its subset).
    enum class MemberCopy { Made, MadeBeside };
    SystemFont resolveSystemFont(const QString &family, MemberCopy copy = MemberCopy::Made);
    bool loadResolvedFont(const SystemFont &font);
    // The copy written beside, one at a time; the result is its error, empty
    // once it is stored.
    std::future<QString> memberCopy;
    QString finishMemberCopy();

    void clearFont();
    // Whether the catalogue resolves the family (catalogue/FamilyLookup.h),
    // and the face it resolves to: the default face when it does not.
    bool isCataloguedFamily(const QString &family);
    QString catalogueFace(const QString &family);
    // The catalogue's lookup of the family (catalogue/FamilyLookup.h), or of
    // the default face when it does not know the family; and the index in
    // its collection of the face fontFilePath's file holds for the family.
    FamilyLookup lookUpFamilyOrDefault(const QString &family);
    int catalogueFaceIndex(const QString &family);
    SubsetResult subsetInstalledFamily(const QString &outputFolder, const QString &family, const KeepList &keepList,
                                       OutputFormat format);
    SubsetResult subsetLoadedFont(SubsetResult result, const QString &outputFolder, const QString &baseName,
                                  const KeepList &list, OutputFormat format);
};
