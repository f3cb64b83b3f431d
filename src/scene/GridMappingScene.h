// What the scene keeps for a ceiling plane (or a bend) while it is shown: its grid node and the
// triangle selectors that picking tests. The plane holds it through CGridMapping::scene and
// knows nothing of its contents.
#pragma once

#include <irrlicht.h>

#include <array>

class CGridMapping;

/** A plane's scene objects while shown, held by CGridMapping::scene. */
struct GridMappingScene
{
    /** The plane's grid (or bend) node; owned by the scene graph. */
    irr::scene::ISceneNode* node = nullptr;
    /** Picking over the node's face mesh [0] and its picking mesh [1]; one reference each held
     *  (dropped with the record). */
    std::array<irr::scene::ITriangleSelector*, 2> selectors{};
};

namespace vs {

/** The grid or bend node showing `plane`; null while it is not shown. */
irr::scene::ISceneNode* planeNode(const CGridMapping& plane);

/** The triangle selectors of `plane` (face, picking); both null while it has none. */
std::array<irr::scene::ITriangleSelector*, 2> planeSelectors(const CGridMapping& plane);

/** The scene record of `plane`, made empty when it has none. */
GridMappingScene& planeScene(CGridMapping& plane);

/** Drops the selectors of `plane` and forgets its node (the scene graph still owns it). */
void forgetPlaneNode(CGridMapping& plane);

} // namespace vs
