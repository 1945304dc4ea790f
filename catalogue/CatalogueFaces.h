#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// What the catalogue needs to know of one face of a registered file, read
// from its directory and its `name`, `head` and `OS/2` tables only.
struct CatalogueFace
{
    // The name the face is catalogued under: the family name of a .ttf file,
    // a member's full name in a collection (the readers' selection rule).
    QString name;
    // Every Windows-platform family name and full name, in any language.
    QStringList familyNames;
    QStringList fullNames;
    // 0 for an upright face of weight 400; larger is further from regular.
    int styleDistance = 0;
};

// The face of a .ttf file: always one entry, with an empty name when the file
// cannot be read, exactly as FontSubsetter::readFileFamilyName reads it.
CatalogueFace readFontFileFace(const QString &path);

// One entry per `name` table of a collection's members, exactly as
// readCollectionFullNames walks them; empty when the file is refused.
QVector<CatalogueFace> readCollectionFaces(const QString &path);
