// An item on a ceiling plane's grid: the common part of panels (CTile) and hosted items
// (CHost). Indices are absolute grid indices of the plane; rectangles are grid-relative
// (relative to the plane's realGridOffset), in decimillimetres.
#pragma once

#include "RRect.h"
#include "SolidMath.h"

#include <cstdint>
#include <memory>

class CCandyType;
class CGridMapping;

/**
 * The raised box of an item while the room is shown. The scene layer defines it and hands the
 * item its own deleter with it, so that the document never sees an engine type.
 */
struct CandyTowerScene;

class CCandy
{
public:
    /** Identifier (read for hosts). */
    int32_t id = 0;
    /** The plane the item lies on; not owned. */
    CGridMapping* plane = nullptr;
    /** The catalogue type supplying size and pictures; not owned. */
    CCandyType* candyType = nullptr;
    /** First column and row covered. */
    int32_t gx = 0;
    int32_t gy = 0;
    /** Last column and row covered, inclusive. */
    int32_t lastCol = 0;
    int32_t lastRow = 0;
    /** Grid-relative rectangle: the working copy. */
    RRect rect;
    /** Grid-relative rectangle: the stored copy, equal to rect after placing. */
    RRect storedRect;
    /** Rectangle in plan-picture pixels, inclusive. */
    IRect pixelRect;
    /** 0, 90, 180 or 270. */
    int32_t rotateDegree = 0;
    /** Height by which the item is raised as a box; 0 = flat. */
    int32_t tower = 0;
    /** Index of the type's side picture to draw; -1 = the type's own plan picture. */
    int32_t side = -1;
    /** Releases the tower's scene record through the deleter the scene layer set. */
    using TowerScenePtr = std::unique_ptr<CandyTowerScene, void (*)(CandyTowerScene*)>;
    /** The raised box's nodes while shown (scene/TowerScene.h); null otherwise. */
    TowerScenePtr towerScene{nullptr, nullptr};

protected:
    CCandy() = default;
    ~CCandy() = default;
};
