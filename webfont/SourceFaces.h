#pragma once

#include "WebFace.h"
#include "platform/FamilyFaces.h"
#include "platform/HarfBuzzHandles.h"

#include <QString>

#include <atomic>
#include <vector>

// One face a kit is cut from: where it was read, the face HarfBuzz reads
// (its bytes held by the blob for as long as HarfBuzz needs them), and what
// the kit needs to know of it.
struct SourceFace
{
    InstalledFace where;
    HbBlobPtr blob;
    HbFacePtr face;
    WebFace web;
};

// The faces of a font file, or every installed face of a family (resolved
// as subset jobs resolve family names), lightest first and upright before
// italic; two are one face only when they are one face of one file. The
// text of the refusal when one cannot be read, else empty. Stops between
// faces, with no refusal, once *cancel turns true.
QString readSourceFaces(const QString &fontPath, const QString &family, std::vector<SourceFace> *faces,
                        const std::atomic<bool> *cancel = nullptr);
