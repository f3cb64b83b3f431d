// The walls in the scene: per wall a group node standing on its base line, per band a tiled
// mesh node with the doors, windows and pictures cut out, per flat item a mesh node showing its
// picture once over its rectangle, and the wall's two picking meshes.
//
// A wall's local plane has x along the base line from its start and plan y = -height above
// the floor; the group node's matrix stands that plane up along the base line. Lengths are
// decimillimetres, angles degrees.
#pragma once

#include "document/PlanPolygon.h"
#include "document/RPoint.h"
#include "document/RRect.h"

#include <irrlicht.h>

class CFacilityModel;
class CFlatFacility;
class CSolidDocument;
class CWall;
class CWallPart;

/** A wall's scene objects while shown, held by CWall::scene. */
struct SolidWallScene
{
    /** The group node placed on the base line (a dummy transformation node); owned by the
     *  scene graph. */
    irr::scene::ISceneNode* group = nullptr;
    /** Triangles of the wall's face, and of its whole plane, in the group's local space; one
     *  reference each held (dropped with the record). */
    irr::scene::IMesh* faceMesh = nullptr;
    irr::scene::IMesh* planeMesh = nullptr;
    /** Picking over faceMesh; over planeMesh (dragging a door beyond the wall's edges); one
     *  reference each held (dropped with the record). */
    irr::scene::ITriangleSelector* faceSelector = nullptr;
    irr::scene::ITriangleSelector* planeSelector = nullptr;
};

/** A band's or a flat item's scene objects while its wall is shown, held by CWallPart::scene
 *  and CFlatFacility::scene. */
struct WallSurfaceScene
{
    /** The mesh node under the wall's group node; owned by the scene graph. */
    irr::scene::IMeshSceneNode* node = nullptr;
    /** The front and back faces; one reference held (dropped with the record). */
    irr::scene::SMesh* mesh = nullptr;
};

namespace vs {

/** The group node of `wall` standing on its base line; null while the wall is not shown. */
irr::scene::ISceneNode* wallGroupNode(const CWall& wall);

/** Triangles of the wall's face in its group's local space; null while not shown. */
irr::scene::IMesh* wallFaceMesh(const CWall& wall);

/** Picking over the wall's face; null while not shown. */
irr::scene::ITriangleSelector* wallFaceSelector(const CWall& wall);

/** Picking over the wall's whole plane (dragging a door beyond the wall's edges); null while
 *  not shown. */
irr::scene::ITriangleSelector* wallPlaneSelector(const CWall& wall);

/** The band's mesh node under its wall's group node; null while it has none. */
irr::scene::IMeshSceneNode* wallPartNode(const CWallPart& part);

/** The band's front and back faces; null while it has none. */
irr::scene::SMesh* wallPartMesh(const CWallPart& part);

/** The flat item's mesh node under its wall's group node; null while it has none. */
irr::scene::IMeshSceneNode* flatFacilityNode(const CFlatFacility& flat);

/** The flat item's front and back faces; null while it has none. */
irr::scene::SMesh* flatFacilityMesh(const CFlatFacility& flat);

/** Removes the flat item's node from its wall's group, drops its mesh and forgets its clipped
 *  polygon (before the item leaves its wall). Nothing happens while it has no node. */
void releaseFlatFacilityScene(CFlatFacility& flat);

/** Height given to a wall none of whose bands is shown. */
constexpr double kDefaultWallHeight = 24000;

/** The base line of a wall in room scene axes. */
struct WallFrame
{
    RPoint start;
    /** Plan direction of the base line, degrees. */
    double angle = 0;
    double length = 0;
    /** False when the wall's edge does not exist (no ceiling, index out of range). */
    bool valid = false;
};

/** The plan point that the room's scene origin stands for: the left/top corner of the root
 *  ceiling plane's indented bounds ((0, 0) without a ceiling or with empty bounds). */
RPoint roomPlanOrigin(const CSolidDocument& document);

/** The wall on edge `wall.index` of the root plane's indented outline (from that point to the
 *  next), relative to roomPlanOrigin. */
WallFrame wallFrame(const CSolidDocument& document, const CWall& wall);

/**
 * Which side of its walls' frames the room lies on: +1 the frame's +z side, -1 its -z side.
 *
 * A wall's frame (wallMatrix before the stand-up) has x along the base line, at plan angle a,
 * and z = (-sin a, cos a) in plan (x, y): x turned 90 degrees counter-clockwise in x-right,
 * y-up axes, i.e. to the left of the edge. An outline of positive signed area in those axes
 * (clockwise as the plan is drawn, y down; every bundled design runs so) has the room on the
 * +z side of every wall: in the group's standing plane that is local y > 0, the side the
 * bands' second (back) buffers face. An outline running the other way has the room on the -z
 * side, local y < 0, facing the bands' first (front) buffers. A degenerate outline (no area)
 * counts as +1. Facilities stuck to a wall put their front on this side, and a renderer that
 * skips walls whose inner side faces away from the camera must ask the same question: the
 * camera sees a wall's inner side when its local y has this sign.
 */
float wallRoomSide(const CSolidDocument& document);

/** Translation to the start (x, 0, z) x rotation about y by (360 - angle) x rotation about x by
 *  90 degrees: local plan (x, y) lands at height -y on the base line. */
irr::core::matrix4 wallMatrix(const WallFrame& frame);

/** The wall's face in its local plan: (0, -height) to (length, 0) from the scene fields. */
PlanPolygon wallPolygon(const CWall& wall);

/** The band's rectangle (0, -(bottom + height)) to (length, -bottom) on its wall. */
PlanPolygon wallPartPolygon(const CWall& wall, const CWallPart& part);

/** The item's rectangle (x, y) to (x + width, y + height) with its explicit size, or the
 *  model's natural flat size when none is set (6000 for a missing side). */
RRect flatFacilityRect(const CFlatFacility& flat);

/** The band's tile size: explicit size times the picture scale, else the model's natural tile
 *  size (6000 for a missing side). */
irr::core::dimension2d<double> wallPartTileSize(const CWallPart& part);

/** True when the part is shown: of a positive (finite) height and, for a wall's band part, with
 *  its has-band flag set. The stored visible flag does not count. */
bool wallPartShown(const CWallPart& part);

/** Builds the scene of `wall` under `roomNode`: the group node (once), every band, every flat
 *  item, the two picking meshes and their selectors, then places the group on the base line.
 *  Does nothing without a room node. */
void BuildWallScene(irr::scene::ISceneNode* roomNode, CWall& wall, CSolidDocument& document);

/** Hides a band that is not shown; otherwise shows it (creating its mesh node under the wall's
 *  group node) and rebuilds its geometry and texture. Does nothing while the wall has no group. */
void BuildWallPartScene(CWall& wall, CWallPart& part);

/** Clips the item's rectangle to the wall's face, stores it, then rebuilds the wall's
 *  cut-outs. */
void RebuildFlatFacility(CWall& wall, CFlatFacility& flat);

/** Rebuilds every shown band (its face minus every flat item's rectangle and every cutting
 *  facility's footprint, tiled front and back) and every visible flat item's mesh (its clipped
 *  polygon with one tile of its own size). Does nothing while the wall has no group. */
void RebuildWallCutOuts(CWall& wall);

/** Gives the band a new picture (model), resets its explicit tile size and, while shown,
 *  re-tiles and re-textures it. */
void SetWallPartPicture(CWall& wall, CWallPart& part, CFacilityModel* picture);

/** Removes the wall's nodes, drops its meshes and selectors and clears every scene pointer of
 *  the wall, its bands and its flat items. */
void releaseWallScene(CWall& wall);

} // namespace vs
