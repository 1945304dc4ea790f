#pragma once

#include "sfnt/ByteView.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVector>

using KeepList = QVector<quint16>;

// The subsetting engine: one TrueType font in memory, the characters a subset
// keeps, the desktop's default face and the catalogue of installed fonts.
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
    // file name's suffix is not "ttf"; an unreadable file loads as no font.
    bool loadTrueTypeFile(const QString &path);

    // Sorts and de-duplicates the list, and falls back to the default face's
    // font when the loaded font covers none of it.
    void setKeepList(KeepList list);
    bool coversAnyKeepUnit() const;

    // Writes the subset of the loaded font to path, replacing the file only
    // when the subset was made and written whole. False on any failure.
    bool writeSubset(const QString &path);

    // True when the loaded bytes are a standalone TrueType font whose
    // directory and tables lie within them.
    bool holdsTrueTypeFont() const;

    // Font names (see sfnt/NameReader.h for the selection rule).
    ByteView findTable(quint8 index) const;
    QString readFamilyName() const;
    static QString readFileFamilyName(const QString &path);

    // Installed fonts.
    void loadRegistryFonts();
    // The registered file of a family (the default face's when the family is
    // not catalogued), joined to the fonts folder.
    QString fontFilePath(const QString &family) const;
    QString findExtractedFont(const QString &family) const;
    // The standalone .ttf of an installed family, splitting its collection
    // into the per-user folder when needed; the collection's own path when
    // no member matches.
    QString systemFontPath(const QString &family);
    bool loadSystemFont(const QString &family);

    struct SystemSubset
    {
        enum Status { Written, UnusableName, WouldReplaceSource, WriteFailed };
        Status status = WriteFailed;
        QString face;       // the family, or the default face it fell back to
        QString outputPath; // outputFolder/face.ttf
    };
    // Subsets an installed family (or the default face, when the catalogue
    // does not know the family) into outputFolder/<face>.ttf.
    SystemSubset subsetSystemFont(const QString &outputFolder, const QString &family, const KeepList &keepList);

    // Fields, in this order. fontData is null exactly when fontBytes is empty.
    QByteArray fontBytes;
    const uchar *fontData = nullptr;
    QString defaultFace;
    QMap<QString, QString> familyFiles;
    KeepList keepList;

private:
    void clearFont();
};
