#include "FontCatalogue.h"

#include "FamilyLookup.h"
#include "NamedFace.h"
#include "engine/FontSubsetter.h"
#include "platform/NameFolding.h"
#include "sfnt/FileSuffix.h"

#include <QVector>

namespace {

// The face among those that answer to a name that the name means, by the
// one rule; among equals, the one registered last.
CataloguedFace meantFace(const QVector<RegisteredFace> &faces)
{
    const RegisteredFace *meant = nullptr;
    for (const RegisteredFace &face : faces) {
        if (!hasFontSuffix(face.file) && !hasCollectionSuffix(face.file))
            continue;
        if (!meant || !(faceRank(*meant) < faceRank(face)))
            meant = &face;
    }
    return meant ? CataloguedFace{meant->file, meant->index} : CataloguedFace();
}

// Every installed face that answers to the name: by its family or full
// name, or by either with its foundry ("c059 [ukwn]").
QVector<RegisteredFace> facesAnsweringTo(const QString &name, NameComparison comparison)
{
    QVector<RegisteredFace> faces = registeredFacesNamed(name, comparison);
    QString family, foundry;
    if (splitFoundry(name, &family, &foundry)) {
        for (const RegisteredFace &face : registeredFacesNamed(family, comparison)) {
            if (foldedName(face.foundry) == foundry)
                faces.append(face);
        }
    }
    // Each part in registration order; among equals, the last face wins, so
    // a face of the family from the foundry over one with the whole name.
    return faces;
}

} // namespace

void FontSubsetter::loadRegistryFonts()
{
    familyFiles.includeInstalledFonts();
}

void FontCatalogue::clear()
{
    m_entered.clear();
    m_found.clear();
    m_foundIgnoringBlanks.clear();
}

CataloguedFace FontCatalogue::face(const QString &foldedName) const
{
    const auto entered = m_entered.constFind(foldedName);
    if (entered != m_entered.cend() || !m_installed)
        return entered != m_entered.cend() ? *entered : CataloguedFace();
    const auto found = m_found.constFind(foldedName);
    if (found != m_found.cend())
        return *found;
    return *m_found.insert(foldedName, meantFace(facesAnsweringTo(foldedName, NameComparison::Folded)));
}

CataloguedFace FontCatalogue::faceIgnoringBlanks(const QString &foldedName) const
{
    if (!m_installed)
        return {};
    const auto found = m_foundIgnoringBlanks.constFind(foldedName);
    if (found != m_foundIgnoringBlanks.cend())
        return *found;
    return *m_foundIgnoringBlanks.insert(foldedName,
                                         meantFace(facesAnsweringTo(foldedName, NameComparison::FoldedIgnoringBlanks)));
}
