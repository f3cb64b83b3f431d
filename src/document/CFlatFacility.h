// A flat item on a wall: a door, a window or a picture.
#pragma once

#include "RPoint.h"
#include "document/PlanPolygon.h"
#include "platform/IntSize.h"

class CFacilityModel;
namespace irr {
namespace scene {
class IMeshSceneNode;
class SMesh;
} // namespace scene
} // namespace irr

class CFlatFacility
{
public:
    /** The catalogue model; not owned, may be null. */
    CFacilityModel* facilityModel = nullptr;
    /** Width and height; (0, 0) means the model's own size. */
    IntSize flatSize;
    /** x along the wall from its start, y height, in decimillimetres. */
    RPoint position;

    // Scene data while the room is shown.
    /** The item's rectangle clipped to its wall's plane, in the wall's local plan axes. */
    PlanPolygon clippedPolygon;
    /** The item's mesh node under its wall's group node; owned by the scene graph. */
    irr::scene::IMeshSceneNode* sceneNode = nullptr;
    /** Front and back faces showing the item's picture, held while shown. */
    irr::scene::SMesh* sceneMesh = nullptr;
};
