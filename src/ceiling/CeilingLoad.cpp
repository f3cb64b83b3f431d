#include "ceiling/CeilingLoad.h"

#include "ceiling/Bends.h"
#include "ceiling/GridFunctions.h"
#include "ceiling/GridLayout.h"
#include "document/CGridMapping.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace vs {

namespace {

int32_t addSaturated(int32_t a, int32_t b)
{
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t(a) + b, INT32_MIN, INT32_MAX));
}

void requireFinite(double v, const char* what)
{
    if (!std::isfinite(v))
        throw std::invalid_argument(std::string("ceiling plane: ") + what + " is not a number");
}

int depthOf(const CGridMapping& plane)
{
    int depth = 0;
    for (const CGridMapping* p = plane.parent; p != nullptr && depth <= kMaxPlaneDepth;
         p = p->parent)
        ++depth;
    return depth;
}

} // namespace

void resolveDock(CGridMapping& plane, const std::vector<int>& dockNumbers)
{
    if (dockNumbers.size() < 4)
        throw std::invalid_argument("ceiling plane: a dock needs four numbers");
    const CGridMapping* parent = plane.parent;
    if (parent == nullptr)
        throw std::invalid_argument("ceiling plane: a dock without a parent plane");
    if (parent->specialGridCol(dockNumbers[0]) == nullptr ||
        parent->specialGridCol(dockNumbers[1]) == nullptr)
        throw std::invalid_argument("ceiling plane: dock names no special column of the parent");
    if (parent->specialGridRow(dockNumbers[2]) == nullptr ||
        parent->specialGridRow(dockNumbers[3]) == nullptr)
        throw std::invalid_argument("ceiling plane: dock names no special row of the parent");
    plane.dockCols[0] = dockNumbers[0];
    plane.dockCols[1] = dockNumbers[1];
    plane.dockRows[0] = dockNumbers[2];
    plane.dockRows[1] = dockNumbers[3];
    plane.hasDock = true;
}

void finishOutlines(CGridMapping& plane)
{
    if (depthOf(plane) > kMaxPlaneDepth)
        throw std::invalid_argument("ceiling plane: planes nested too deeply");
    for (const RPoint& p : plane.outlinePoints) {
        requireFinite(p.x, "an outline point");
        requireFinite(p.y, "an outline point");
    }
    requireFinite(plane.realGridOffset.x, "the grid offset");
    requireFinite(plane.realGridOffset.y, "the grid offset");
    requireFinite(plane.indent, "the indent");
    requireFinite(plane.rotateDegree, "the rotation");
    requireFinite(plane.hoist, "the hoist");
    requireFinite(plane.bendHeight, "the bend height");
    normaliseSpecials(plane.specialGridCols);
    normaliseSpecials(plane.specialGridRows);
    computeDerivedOutlines(plane);
    computeBoundsAndCells(plane);
}

bool addLoadedTile(CGridMapping& plane, std::unique_ptr<CTile> tile)
{
    if (tile == nullptr || tile->candyType == nullptr)
        return false;
    tile->plane = &plane;
    tile->gx = addSaturated(tile->gx, plane.originCol);
    tile->gy = addSaturated(tile->gy, plane.originRow);
    placeTile(*tile);
    indexTile(plane, tile.get());
    plane.tiles.push_back(std::move(tile));
    return true;
}

bool addLoadedHost(CGridMapping& plane, std::unique_ptr<CHost> host)
{
    if (host == nullptr || host->candyType == nullptr)
        return false;
    host->plane = &plane;
    if (host->freePosition) {
        host->rect.left += plane.alignedBoundRRect.left;
        host->rect.top += plane.alignedBoundRRect.top;
    } else {
        host->gx = addSaturated(host->gx, plane.originCol);
        host->gy = addSaturated(host->gy, plane.originRow);
    }
    placeHost(*host);
    plane.hosts.push_back(std::move(host));
    return true;
}

void linkSplitLines(CGridMapping& plane)
{
    for (size_t i = 0; i < plane.splitLines.size(); ++i) {
        CSplitLine& line = *plane.splitLines[i];
        line.owner = &plane;
        line.child = nullptr;
        size_t child;
        if (line.hoistSide == CSplitLine::NextLower)
            child = i + 1;
        else if (line.hoistSide == CSplitLine::NextHigher)
            child = i;
        else
            continue;
        if (child >= plane.children.size())
            throw std::invalid_argument("split line " + std::to_string(i) +
                                        ": linked child plane " + std::to_string(child) +
                                        " does not exist");
        line.child = plane.children[child].get();
        if (line.sectionLine != nullptr)
            line.sectionLine->owner = line.child;
    }
}

void computeSplitLevels(CGridMapping& plane)
{
    if (plane.splitLines.empty())
        return;
    std::vector<double> level{0};
    for (const auto& line : plane.splitLines) {
        double next = level.back();
        if (line->hoistSide == CSplitLine::NextLower)
            next -= line->hoist;
        else if (line->hoistSide == CSplitLine::NextHigher)
            next += line->hoist;
        level.push_back(next);
    }
    const double lowest = *std::min_element(level.begin(), level.end());
    for (size_t i = 0; i < plane.children.size() && i < level.size(); ++i)
        plane.children[i]->hoist = level[i] - lowest;
}

void finishPlaneTree(CGridMapping& plane)
{
    linkSplitLines(plane);
    computeSplitLevels(plane);
    computePolygons(plane);
    buildBends(plane);
}

} // namespace vs
