// The floor covering of a room.
#pragma once

#include "platform/IntSize.h"

#include <memory>

class CFacilityModel;

/**
 * The floor's mesh and texture while the room is shown. The scene layer defines it and hands
 * the floor its own deleter with it, so that the document never sees an engine type.
 */
struct SolidFloorScene;

class SolidFloor
{
public:
    /** Releases the floor's scene objects through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<SolidFloorScene, void (*)(SolidFloorScene*)>;

    /** The catalogue model used as covering; not owned, may be null. */
    CFacilityModel* facilityModel = nullptr;
    /** Tile width and height in decimillimetres; (0, 0) means the model's own size. */
    IntSize ceramicTileSize;
    /** The floor mesh and texture built by the scene layer, owned; null while not shown. */
    ScenePtr scene{nullptr, nullptr};
};
