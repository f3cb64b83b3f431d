// A flat item on a wall: a door, a window or a picture.
#pragma once

#include "RPoint.h"
#include "platform/IntSize.h"

class CFacilityModel;

class CFlatFacility
{
public:
    /** The catalogue model; not owned, may be null. */
    CFacilityModel* facilityModel = nullptr;
    /** Width and height; (0, 0) means the model's own size. */
    IntSize flatSize;
    /** x along the wall from its start, y height, in decimillimetres. */
    RPoint position;
    // The item's scene references are added by the wall's scene node (not owned here).
};
