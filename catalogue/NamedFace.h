#pragma once

#include "platform/FontRegistry.h"

#include <tuple>

// How near a face that answers to a name is to the face the name means;
// the lower, the nearer.
using FaceRank = std::tuple<int, double, double, double>;

// The one rule by which a name means a face. A face whose family the name
// is comes before one whose full name it is (another file's full name never
// takes a family's name); among those, the family's regular face: upright,
// then nearest to normal width, then nearest to weight 400. A family named
// with a style ("Noto Sans Mono SemiCondensed") or a face's full name
// ("Noto Sans Mono Bold") so still means that face.
FaceRank faceRank(const RegisteredFace &face);
