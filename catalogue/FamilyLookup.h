#pragma once

#include "FontCatalogue.h"
#include "platform/FamilyFaces.h"

#include <QString>
#include <QVector>

// How a family list names a family that two foundries make: "C059 [UKWN]".
QString foundryQualifiedName(const QString &family, const QString &foundry);
// The family and the foundry of such a name (folded or not); false for a name without one.
bool splitFoundry(const QString &name, QString *family, QString *foundry);

// What a family name finds in the catalogue.
struct FamilyLookup
{
    // The face the font is known by, and the output named after: the name as
    // given; the family alone when a foundry was given with it; for a
    // generic family, the family of the font fontconfig draws it with.
    QString face;
    // The registered file; empty when the catalogue has no such family.
    QString file;
    int index = 0; // of the face in the file, when it is a collection
};

// Looks a family up by its own name, as "family [foundry]" (that foundry's
// face when the catalogue has one, else the family's), as a generic family
// ("Sans Serif", "Monospace"), and last by a name that differs from it only
// in blanks.
FamilyLookup lookUpFamily(const FontCatalogue &familyFiles, const QString &family);

// Every installed face of the family the name resolves to, as lookUpFamily
// resolves it for a subset: by its own name, as "family [foundry]" or as a
// generic family. Faces of the foundry whose file the lookup chose, when
// fontconfig lists the family under several; empty when the family is not
// installed.
QVector<InstalledFace> lookUpFamilyFaces(const FontCatalogue &familyFiles, const QString &family);
