#pragma once

#include <QHash>
#include <QMap>
#include <QString>

// The face a font name means.
struct CataloguedFace
{
    QString file;  // as registered; empty when the name means no face
    int index = 0; // of the face in its collection
};

// The installed-font catalogue: font names, case folded (foldedName), to
// the face each means (faceRank, and among equals the face registered
// last): every family and full name, in any language, of every installed
// .ttf, .otf, .ttc and .otc face, and each of them as "family [foundry]"
// with the face's foundry. A name is looked up in fontconfig's cache when it
// is first asked for, and kept; no font file is opened. Names entered by
// hand come before the installed fonts.
class FontCatalogue
{
public:
    // Answers from the installed fonts too, not only from names entered by hand.
    void includeInstalledFonts() { m_installed = true; }
    void insert(const QString &foldedName, const QString &file) { m_entered.insert(foldedName, {file, 0}); }
    void clear();

    CataloguedFace face(const QString &foldedName) const;
    // The file of face(); empty when the name means none.
    QString value(const QString &foldedName) const { return face(foldedName).file; }
    // The face of a catalogued name that differs from this one only in
    // blanks: fontconfig keeps one of a face's names that differ so ("Noto
    // Sans Meetei Mayek", not "Noto Sans MeeteiMayek"), but the other still
    // finds it.
    CataloguedFace faceIgnoringBlanks(const QString &foldedName) const;

private:
    bool m_installed = false;
    QMap<QString, CataloguedFace> m_entered;
    mutable QHash<QString, CataloguedFace> m_found;
    mutable QHash<QString, CataloguedFace> m_foundIgnoringBlanks;
};
