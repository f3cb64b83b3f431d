// The ceiling height along a plan line of a plane, used by the photo-realistic export.
#pragma once

#include "document/RPoint.h"

#include <vector>

class CGridMapping;

namespace vs {

/** Height of the ceiling's base above the floor, decimillimetres. */
constexpr double kBaseCeilingHeight = 24000;

/** One step of a height profile: from `distance` along the line on, the ceiling is `height`. */
struct HeightStep
{
    double distance = 0;
    double height = 0;
};

/** Returns the steps along the line from `from` to `to`: heights are kBaseCeilingHeight plus the
 *  hoist of the split child the step lies in; a plane without split lines gives one step
 *  (0, kBaseCeilingHeight). Distances run from `from`, scaled to the line's length. */
std::vector<HeightStep> heightProfile(const CGridMapping& plane, const RPoint& from,
                                      const RPoint& to);

} // namespace vs
