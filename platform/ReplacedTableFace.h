#pragma once

#include "HarfBuzzHandles.h"

#include <QByteArray>

// The face with one table's bytes replaced and every other table read from
// it as it is: a subset of it is a subset of the font as if it had that
// table. The face is referenced, and the bytes copied, for as long as the
// new face lives.
HbFacePtr faceReplacingTable(hb_face_t *face, hb_tag_t tag, const QByteArray &table);
