// A flat item on a wall: a door, a window or a picture.
#pragma once

#include "RPoint.h"
#include "document/PlanPolygon.h"
#include "platform/IntSize.h"

#include <memory>

class CFacilityModel;

/**
 * The mesh node and mesh of a band or a flat item while its wall is shown. The scene layer
 * defines it and hands the record its own deleter with it.
 */
struct WallSurfaceScene;

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
    /** Releases the scene record through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<WallSurfaceScene, void (*)(WallSurfaceScene*)>;
    /** The item's mesh node and its front and back faces while shown (scene/WallScene.h). */
    ScenePtr scene{nullptr, nullptr};
};
