// The waist band of the walls: the second part of each wall carries it (visible flag, width
// as the part's height, height above the floor as its lower edge).
#pragma once

#include "document/CWallPart.h"

#include <optional>
#include <vector>

class CSolidDocument;

namespace vs {

/** Index of the wall part that is the waist band. */
constexpr std::size_t kWaistBandPart = 1;

/** The band definition of every wall, in wall order; nothing for a wall without the part. */
std::vector<std::optional<CWallPartDefinition>> waistBands(const CSolidDocument& doc);

/** Gives every wall that has the part its band definition from `bands` (same order) and
 *  rebuilds the wall's scene while it is shown. */
void setWaistBands(CSolidDocument& doc,
                   const std::vector<std::optional<CWallPartDefinition>>& bands);

/** The same definition for every wall that has the part. */
std::vector<std::optional<CWallPartDefinition>>
uniformWaistBands(const CSolidDocument& doc, bool on, double width, double height);

} // namespace vs
