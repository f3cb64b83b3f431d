// Building blocks for the ceiling tests: panel types made directly, planes with a rectangular
// outline, and a recording fake of the scene hooks.
#pragma once

#include "catalogue/CCandyType.h"
#include "ceiling/CeilingLoad.h"
#include "ceiling/GridLayout.h"
#include "document/CGridMapping.h"
#include "document/CeilingSceneHooks.h"
#include "document/SolidCeiling.h"

#include <memory>
#include <string>
#include <vector>

namespace ceilingtest {

/** Returns a clip-in panel type of the given size (no pictures, no host callbacks). */
inline std::unique_ptr<CCandyType> makeType(int id, int width, int height, int rotation = 0,
                                            int tower = 0)
{
    CandyTypeInfo info;
    info.id = id;
    info.name = "type " + std::to_string(id);
    info.kind = 1;
    info.nominalWidth = width;
    info.nominalHeight = height;
    info.width = width;
    info.height = height;
    info.rotateDegree = rotation;
    info.tower = tower;
    return std::make_unique<CCandyType>(info, nullptr);
}

/** Sets a rectangular outline on plane. */
inline void setRect(CGridMapping& plane, double left, double top, double right, double bottom)
{
    plane.outlinePoints = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

/** Returns a root plane with a rectangular outline and grid, its outlines and cells finished. */
inline std::unique_ptr<CGridMapping> makePlane(SolidCeiling& ceiling, double right, double bottom,
                                               int grid = 3000)
{
    auto plane = std::make_unique<CGridMapping>(&ceiling, nullptr);
    plane->gridWidth = grid;
    plane->gridHeight = grid;
    setRect(*plane, 0, 0, right, bottom);
    vs::finishOutlines(*plane);
    return plane;
}

/** Adds a tile of type at the absolute cell (gx, gy) the way the reader does. */
inline CTile* addTile(CGridMapping& plane, CCandyType& type, int gx, int gy)
{
    auto tile = std::make_unique<CTile>();
    tile->candyType = &type;
    tile->gx = gx - plane.originCol;
    tile->gy = gy - plane.originRow;
    tile->width = type.width;
    tile->height = type.height;
    CTile* raw = tile.get();
    vs::addLoadedTile(plane, std::move(tile));
    return raw;
}

/** Records every call of the scene hooks. */
class RecordingHooks : public CeilingSceneHooks
{
public:
    void tileAdded(CTile& tile) override { added.push_back(&tile); }
    void tileRemoved(CTile& tile) override
    {
        removed.push_back(&tile);
        removedCells.push_back({tile.gx, tile.gy, tile.lastCol, tile.lastRow});
    }
    void pictureChanged(CGridMapping& plane) override { pictures.push_back(&plane); }

    std::vector<CTile*> added;
    /** Pointers of removed tiles; only compared, never dereferenced (the tiles are deleted). */
    std::vector<CTile*> removed;
    std::vector<IRect> removedCells;
    std::vector<CGridMapping*> pictures;
};

/** A fit of single runs given as (first, last) pairs. */
inline FitResult fitOf(std::vector<std::pair<int, int>> runs)
{
    FitResult fit;
    for (auto [first, last] : runs) {
        FitRun run;
        run.first = first;
        run.last = last;
        run.cellCount = last - first + 1;
        fit.runs.push_back(run);
    }
    if (!fit.runs.empty()) {
        fit.first = fit.runs.front().first;
        fit.last = fit.runs.back().last;
    }
    return fit;
}

} // namespace ceilingtest
