// The polygon-tiling builder shared by the ceiling planes, the floor, the wall parts and the flat
// facilities: a plan polygon (decimillimetres) cut along a grid of tiles into textured triangles
// lying in the scene's x-z plane (plan (x, y) becomes scene (x, 0, y)).
#pragma once

#include "document/PlanPolygon.h"
#include "document/RPoint.h"
#include "document/RRect.h"

#include <irrlicht.h>

#include <cstdint>
#include <vector>

namespace vs {

/** Vertices and triangle indices (32-bit; MeshBuffers splits them for the engine). */
struct TiledSurface
{
    std::vector<irr::video::S3DVertex> vertices;
    /** Triangles facing down: the engine's triangle normal (b - a) x (c - a) points to -y and
        the vertex normals are (0, -1, 0). */
    std::vector<uint32_t> indices;

    /** True when there is no triangle. */
    bool empty() const { return indices.size() < 3; }
};

/** How tiles are laid over the plan. */
struct TileGrid
{
    /** The corner of one tile (plan units); the grid repeats from it in both directions. */
    RPoint origin;
    /** Tile width and height (plan units); values below 1 or not finite are read as 1. */
    double width = 2000;
    double height = 2000;
};

/** Smallest side of a wall or floor tile drawn (1 cm): a smaller ceramic tile is drawn at this
    size, so that no wall or floor asks for millions of tiles. */
constexpr double kMinSurfaceTileSide = 100;

/** Largest number of grid cells tilePolygon cuts (about that many; cells an edge crosses may add
    a few); with smaller tiles several tiles share one cell and the texture repeats inside it (u,
    v run beyond 1), so absurd tile sizes stay bounded. A 100 m x 100 m floor of 600 mm tiles
    needs 28 000 cells; the walls, bands, floor and ceiling of a room 100 km a side, the largest
    a design may describe, fit the scene's triangle budget together. */
constexpr uint64_t kMaxTilingCells = 32768;

/** Cuts polygon (odd winding rule, holes allowed) along the tile grid, within `bounds` (the
    polygon's own bounds when `bounds` is empty or not finite), into
    triangles. Each cell gets its own vertices with texture coordinates u = (x - cellLeft) / width,
    v = (y - cellTop) / height, so a picture covers each tile once. Cells wholly inside are two
    triangles; cells an edge crosses are intersected with the polygon. Colour opaque white,
    normals (0, -1, 0). Empty or degenerate polygons give an empty surface. */
TiledSurface tilePolygon(const PlanPolygon& polygon, const RRect& bounds, const TileGrid& grid);

/** Triangulates polygon whole (no tiling): u = (x - origin.x) / width, v = (y - origin.y) /
    height with the grid's size; normals and orientation as tilePolygon. */
TiledSurface triangulateSurface(const PlanPolygon& polygon, const TileGrid& grid);

/** Returns indices with the first two of every triangle swapped (the faces turned over); a
    trailing incomplete triangle is dropped. */
std::vector<uint32_t> reversedTriangles(const std::vector<uint32_t>& indices);

/** Turns the surface over in place: normals negated and triangles reversed. */
void flipSurface(TiledSurface& surface);

/** Returns the bounding rectangle of every finite point of polygon ({0,0,0,0} when none). */
RRect polygonBounds(const PlanPolygon& polygon);

} // namespace vs
