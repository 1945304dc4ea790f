#include "NamedFace.h"

namespace {

constexpr double kNormalWidth = 100;
constexpr double kRegularWeight = 400;
constexpr double kUpright = 0;

// How far the value is from the span: 0 when a variable face's axis reaches it.
double distance(const StyleSpan &span, double value)
{
    if (value < span.low)
        return span.low - value;
    return value > span.high ? value - span.high : 0;
}

} // namespace

FaceRank faceRank(const RegisteredFace &face)
{
    return {face.familyAnswers ? 0 : 1, distance(face.slant, kUpright), distance(face.width, kNormalWidth),
            distance(face.weight, kRegularWeight)};
}
