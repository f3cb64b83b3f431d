// Building blocks for the ceiling scene tests: panel and section-bar types made in code, small
// ceiling trees built directly with the load steps, and snapshots of engine meshes.
#pragma once

#include "SceneTestDevice.h"

#include "catalogue/CCandyType.h"
#include "catalogue/CSectionBarType.h"
#include "catalogue/HostCallbacks.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"

#include <irrlicht.h>

#include <memory>
#include <string>
#include <vector>

namespace ceilingscene {

/** A clip-in panel type (kind 1) of the given size; `callbacks` supply its pictures. */
std::unique_ptr<CCandyType> makeType(int id, int width, int height, int tower = 0,
                                     const HostCallbacks* callbacks = nullptr);

/** Host callbacks whose four side textures are distinct small PNG pictures and whose plan
 *  pictures are one PNG picture. */
const HostCallbacks& pictureCallbacks();

/** A section-bar type with the profile text. */
std::unique_ptr<CSectionBarType> makeBarType(int id, const std::string& profile);

/** A profile of one square contour side x side, pivot at its first corner, plain colour
 *  `colour` ("#RRGGBB") or the picture field when not empty. */
std::string squareProfile(double side, const std::string& colour = "#0000FF",
                          const std::string& pictureField = "");

/** A document whose ceiling root is the rectangle (0, 0)-(right, bottom) with square cells of
 *  `grid`; the root's outlines, bounds and cells are finished, its polygons are not. */
std::unique_ptr<CSolidDocument> makeDocument(double right, double bottom, int grid = 3000);

/** The root plane of document. */
CGridMapping& rootOf(CSolidDocument& document);

/** Adds a (not docked) child plane with a rectangular outline and hoist; outlines finished. */
CGridMapping& addChild(CGridMapping& parent, double left, double top, double right, double bottom,
                       double hoist = 0);

/** Adds a tile of type at the absolute cell (gx, gy), as the reader does. */
CTile* addTile(CGridMapping& plane, CCandyType& type, int gx, int gy, int tower = 0);

/** Finishes the tree under plane as the reader does after loading (children first). */
void finishTree(CGridMapping& plane);

/** Vertices and indices of every buffer of a mesh, for comparisons. */
struct MeshSnapshot
{
    std::vector<irr::video::S3DVertex> vertices;
    std::vector<irr::u16> indices;
    bool operator==(const MeshSnapshot& o) const
    {
        return vertices == o.vertices && indices == o.indices;
    }
    bool operator!=(const MeshSnapshot& o) const { return !(*this == o); }
};

/** Copies the vertices and indices of every buffer of mesh (in buffer order). */
MeshSnapshot snapshot(const irr::scene::IMesh& mesh);

/** Updates the absolute transformations of the whole scene. */
void updateScene(irr::scene::ISceneManager* smgr);

/** The engine normal (b - a) x (c - a) of triangle t of buffer b of mesh, in mesh space. */
irr::core::vector3df triangleNormal(const irr::scene::IMesh& mesh, irr::u32 b, irr::u32 t);

} // namespace ceilingscene
