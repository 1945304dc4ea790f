#pragma once

#include "platform/FamilyFaces.h"

#include <QMap>
#include <QString>
#include <QVector>

// How a family list names a family that two foundries make: "C059 [UKWN]".
QString foundryQualifiedName(const QString &family, const QString &foundry);

// What a family name finds in the catalogue (folded names to registered files).
struct FamilyLookup
{
    // The face the font is known by, and the output named after: the name as
    // given; the family alone when a foundry was given with it; for a
    // generic family, the family of the font fontconfig draws it with.
    QString face;
    // The registered file; empty when the catalogue has no such family.
    QString file;
};

// Looks a family up by its own name, as "family [foundry]" (that foundry's
// file when the catalogue has one, else any file of the family), and as a
// generic family ("Sans Serif", "Monospace").
FamilyLookup lookUpFamily(const QMap<QString, QString> &familyFiles, const QString &family);

// Every installed face of the family the name resolves to, as lookUpFamily
// resolves it for a subset: by its own name, as "family [foundry]" or as a
// generic family. Faces of the foundry whose file the lookup chose, when
// fontconfig lists the family under several; empty when the family is not
// installed.
QVector<InstalledFace> lookUpFamilyFaces(const QMap<QString, QString> &familyFiles, const QString &family);
