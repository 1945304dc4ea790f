#pragma once

#include <QString>
#include <QVector>

// One installed face: its file and, in a collection, its index.
struct InstalledFace
{
    QString file;
    int index = 0;
    QString foundry; // as fontconfig reports it; empty when it gives none
};

// Every installed face of the family (Regular, Bold, Light…), by any of the
// family's names, case folded, as fontconfig lists them; sorted by file and
// index, so the order never depends on fontconfig's. Named instances of a
// variable font are left out: the variable face itself is listed once.
QVector<InstalledFace> installedFamilyFaces(const QString &family);
