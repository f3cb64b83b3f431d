// The scene nodes of a solid facility: its mesh (the model's shared mesh, or a private copy
// while it has custom materials), the custom node showing it, the pickable cloak around it,
// the nodes of its group members, its brightness and its placement in the room or on a wall.
//
// Lengths are decimillimetres, angles degrees. Scene axes: x = plan x, y = height, z = plan y.
// A facility's matrix is relative to its parent node: the room node for a top-level facility,
// the group's node for a member.
#pragma once

#include <irrlicht.h>

#include <vector>

class CCubicCloakSceneNode;
class CCustomSceneNode;
class CFacilityModel;
class CSolidDocument;
class CSolidFacility;
class CWall;
class DesignCatalogue;

/** A facility's scene objects while shown, held by CSolidFacility::scene. */
struct SolidFacilityScene
{
    /** The mesh shown: the model's shared mesh or, with custom materials, a private copy. One
     *  reference is held (dropped with the record). */
    irr::scene::IMesh* mesh = nullptr;
    /** True when mesh is the facility's own copy rather than the model's mesh. */
    bool ownsMesh = false;
    /** The node showing the mesh; held by its parent node. */
    CCustomSceneNode* node = nullptr;
    /** The pickable hull around the mesh box, a child of node; hidden unless selected. */
    CCubicCloakSceneNode* cloak = nullptr;
    /** Triangle selector of the mesh; one reference held (dropped with the record). */
    irr::scene::ITriangleSelector* selector = nullptr;
    /** The scene manager the nodes belong to. */
    irr::scene::ISceneManager* sceneManager = nullptr;
};

namespace vs {

/** The node showing `facility`; null while it is not shown. */
CCustomSceneNode* facilityNode(const CSolidFacility& facility);

/** The pickable hull around the mesh box of `facility`; null while it is not shown. */
CCubicCloakSceneNode* cloakNode(const CSolidFacility& facility);

/** The mesh `facility` shows (shared or its own copy); null while not shown or without one. */
irr::scene::IMesh* facilityMesh(const CSolidFacility& facility);

/** True when the mesh `facility` shows is its own copy rather than the model's mesh. */
bool ownsFacilityMesh(const CSolidFacility& facility);

/** The triangle selector of the mesh `facility` shows; null while it has none. */
irr::scene::ITriangleSelector* facilitySelector(const CSolidFacility& facility);

/** The scene manager the nodes of `facility` belong to; null while it is not shown. */
irr::scene::ISceneManager* facilitySceneManager(const CSolidFacility& facility);

/**
 * Builds the nodes of `facility` and of its group members (at any depth) under `parent`: the
 * custom node with the mesh, its triangle selector and the hidden cloak of the mesh box, then
 * brightness and transformation. A facility that already has its node is only moved under
 * `parent` (and refreshed). `materials` resolves the model's default materials when its mesh
 * is first loaded (the module's catalogue when null). Does nothing without a scene manager.
 */
void buildFacilityNode(CSolidFacility& facility, irr::scene::ISceneNode* parent,
                       CSolidDocument& document, DesignCatalogue* materials = nullptr);

/**
 * Removes the nodes of `facility` and of its group members from the scene, drops the mesh and
 * selector references and clears every scene pointer. Does nothing for a facility without a node.
 */
void releaseFacilityNode(CSolidFacility& facility);

/** Releases the nodes of every solid facility of `document`. */
void releaseFacilityNodes(CSolidDocument& document);

/**
 * Sets `facility.emissive` (clamped to 0..100) and gives every material of the shown mesh the
 * emissive grey emissive * 255 / 100; the node's mesh node is made anew so that it takes the
 * materials up. The model's shared mesh is never changed: its node's materials are.
 */
void setFacilityBrightness(CSolidFacility& facility, int emissive);

/**
 * Gives every mesh buffer i the custom material with index i (the texture of its model in
 * layer 0 with the material's offset, scale and rotation as texture matrix) or, without one,
 * the model's own material. A facility that gets its first custom material switches to a
 * private copy of the model's mesh; one whose custom materials were all removed goes back to
 * the shared mesh. Re-applies the brightness. Does nothing without a node.
 */
void ApplyCustomMaterials(CSolidFacility& facility);

/** The model's mesh turned into the facility's axes: y and z exchanged for a z-up model, then
 *  the base rotation. */
irr::core::matrix4 modelTurn(const CFacilityModel& model);

/**
 * Returns the facility's relative matrix: the object matrix (model base rotation, with y and z
 * exchanged first for a z-up model; bottom centre of the turned mesh box at the origin; scale
 * size / correctExtent) followed by the placement: turned by rotateDegree and moved to
 * position when free standing; in the frame of its wall when stuck to one (x along the wall,
 * y the height, the footprint kept position.z + 2 off the wall's face on the room side). A
 * stuck facility at rotateDegree 0 has its back (the mesh box's largest z) against the wall
 * and its front (smallest z) towards the room, whichever way the outline runs
 * (wallRoomSide); other angles turn it the way they turn a free-standing one. Group members
 * are always placed relative to their group.
 */
irr::core::matrix4 facilityMatrix(const CSolidFacility& facility, const CSolidDocument& document);

/**
 * Recomputes the facility's matrix, stores it in `facility.transformation` and sets it as its
 * node's explicit relative matrix (when it has a node).
 */
void updateFacilityTransformation(CSolidFacility& facility, const CSolidDocument& document);

/**
 * Sticks a top-level facility to `wall`: rotateDegree := angle, position := (distanceAlongWall,
 * position.y, 0), and brightness and transformation are re-applied. The facility thereby joins
 * the wall's facility list and, when its model cuts walls, the wall's cutting list, whose
 * cut-outs are then rebuilt. A facility stuck to another wall leaves that one first. A null
 * wall only unsticks (as unstickFacility) and re-applies the transformation.
 */
void stickFacilityToWall(CSolidFacility& facility, float angle, float distanceAlongWall,
                         CWall* wall, CSolidDocument& document);

/**
 * Takes `facility` off its wall (rebuilding the wall's cut-outs when it was in the cutting
 * list) and clears stickWall; position and rotation stay as they were. Call before deleting a
 * stuck facility. Nothing happens for a free-standing facility.
 */
void unstickFacility(CSolidFacility& facility);

/**
 * The wall's facility list: the top-level facilities of `document` stuck to `wall`, in
 * document order. The lists are derived from stickWall so that they never hold a facility
 * that was deleted or moved to another wall.
 */
std::vector<CSolidFacility*> wallFacilities(const CSolidDocument& document, const CWall& wall);

/** The wall's cutting list: those of wallFacilities whose model cuts an opening in walls. */
std::vector<CSolidFacility*> wallCuttingFacilities(const CSolidDocument& document,
                                                   const CWall& wall);

/** True when a facility stuck to a wall cuts an opening in it (model flag bit 0 or 1). */
bool cutsWall(const CSolidFacility& facility);

} // namespace vs
