#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class FontSource;

// The names of one face of a font file, read from its directory and its
// `name` table only. (The catalogue takes installed faces' names from
// fontconfig: these are of files a job opens.)
struct CatalogueFace
{
    // The name the face goes by: the family name of a font file, a member's
    // full name in a collection (the readers' selection rule).
    QString name;
    // Every Windows-platform family name, full name and typographic family
    // name, in any language.
    QStringList otherNames;
    // The member's index in its collection.
    int memberIndex = 0;
};

// The face of a .ttf or .otf file: always one entry, with an empty name when
// the file cannot be read, exactly as FontSubsetter::readFileFamilyName reads it.
CatalogueFace readFontFileFace(const QString &path);

// One entry per `name` table of a .ttc or .otc collection's members, exactly
// as readCollectionFullNames walks them; empty when the file is refused.
QVector<CatalogueFace> readCollectionFaces(const QString &path);
// The same on a collection already open.
QVector<CatalogueFace> readCollectionFaces(FontSource &source);
