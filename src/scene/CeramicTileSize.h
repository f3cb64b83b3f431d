// The tile size of a surface laid with a facility model's picture: floors and wall bands.
#pragma once

#include "platform/IntSize.h"

#include <irrlicht.h>

class CFacilityModel;

namespace vs {

/** The size (decimillimetres) a surface covered with `model` is tiled with: `explicitSize`
 *  times the model's picture scale factors when both its sides are set, otherwise the model's
 *  natural tile size; 6000 for a side that is missing, below 1 or not finite. */
irr::core::dimension2d<double> ceramicTileSize(IntSize explicitSize, CFacilityModel* model);

} // namespace vs
