// The ceiling in the scene: the roof node at the base height, a grid node per drawn plane, bend
// nodes, towers and section bars; inverting the ceiling for the invertTop preference; picking a
// ceiling plane; and the scene side of the ceiling model's changes (CeilingSceneHooks).
#pragma once

#include "document/CeilingSceneHooks.h"

#include <irrlicht.h>

#include <cstdint>

class CGridMapping;
class CSolidDocument;
class SolidCeiling;

/** The scene's answer to the ceiling model's changes while the ceiling is shown: towers built
 *  for added tiles and removed for removed ones, textures replaced after repaints. */
class CCeilingSceneHooks : public CeilingSceneHooks
{
public:
    explicit CCeilingSceneHooks(irr::scene::ISceneManager* smgr) : smgr_(smgr) {}

    /** Builds the tile's tower nodes (none for tower 0). */
    void tileAdded(CTile& tile) override;
    /** Removes the tile's tower nodes. */
    void tileRemoved(CTile& tile) override;
    /** Replaces the texture of the plane's grid node by one of its repainted picture. */
    void pictureChanged(CGridMapping& plane) override;

private:
    irr::scene::ISceneManager* smgr_;
};

namespace vs {

/** A ceiling plane hit by a ray and the hit point (scene coordinates); plane is null when the
 *  ray hits none. */
struct CeilingPick
{
    CGridMapping* plane = nullptr;
    irr::core::vector3df point;
};

/** Builds the ceiling of `document` under `roomNode`: the roof node (stored in the ceiling's
 *  roofNode), the plane tree with bends, towers and section bars, and the scene hooks (set on
 *  the ceiling's sceneHooks). Replaces a ceiling scene already built. Does nothing without a
 *  ceiling, a root plane, a room node or a scene manager. */
void buildCeilingScene(CSolidDocument& document, irr::scene::ISceneNode* roomNode);

/** Clears every scene reference of the ceiling (grid nodes, selectors, towers, section bars,
 *  hooks), removes the planes' textures from the driver and the roof node from the scene. Safe
 *  to call when nothing is shown. */
void releaseCeilingScene(CSolidDocument& document);

/** Mirrors the shown ceiling about the y range of the root plane's indentedBounds: hosts'
 *  lights, grid and bend nodes (rebuilding the face selectors), towers and section bars; then
 *  flips document.inverted. Inverting twice restores every vertex and index list. */
void invertCeiling(CSolidDocument& document);

/** Tests `ray` (from its start) against the face meshes of `plane` and every descendant; a hit
 *  counts when the hit triangle faces the ray's start, and the hit nearest the start wins.
 *  Absolute transformations are those of the last scene update. */
CeilingPick pickCeiling(CGridMapping& plane, const irr::core::line3df& ray,
                        irr::scene::ISceneManager* smgr);

/** Sets the roof's see-through alpha (written into every plan picture, textures replaced) and
 *  the lighting flag of every grid and bend node. */
void applyCeilingDisplay(SolidCeiling& ceiling, uint8_t backAlpha, bool lighting);

} // namespace vs
