// A free-standing 3D facility of the room (appliance, furniture, lamp...), or a group of them.
#pragma once

#include "CustomMaterial.h"
#include "SolidMath.h"

#include <array>
#include <memory>
#include <vector>

class CCubicCloakSceneNode;
class CCustomSceneNode;
class CFacilityModel;
class CWall;

namespace irr {
namespace scene {
class IMesh;
class ISceneManager;
class ITriangleSelector;
} // namespace scene
} // namespace irr

class CSolidFacility
{
public:
    /** A facility without model, children or materials, at the origin. */
    CSolidFacility();
    /** Deletes the members of the group (at any depth) and the custom materials. */
    ~CSolidFacility();
    CSolidFacility(const CSolidFacility&) = delete;
    CSolidFacility& operator=(const CSolidFacility&) = delete;

    /** True for a pure group: no model of its own. */
    bool isGroup() const { return facilityModel == nullptr; }

    /** True when there is something to show: a model or at least one child. */
    bool hasContent() const { return facilityModel != nullptr || !children.empty(); }

    /** The catalogue model; not owned; null for a pure group. */
    CFacilityModel* facilityModel = nullptr;
    /** Correction applied to the mesh's extent. */
    Vec3f correctExtent;
    /** Extent in x, y (height) and z, decimillimetres. */
    Vec3f size;
    /**
     * Position in scene axes, relative to the corner of the root ceiling plane's indented
     * bounds; relative to the wall when stuck to one, relative to the group for a child.
     */
    Vec3f position;
    /** Rotation about the vertical axis, degrees. */
    float rotateDegree = 0;
    /** The wall the facility is stuck to; not owned, may be null. */
    CWall* stickWall = nullptr;
    /** Zoom set by the user; -1 when not set. */
    double customZoom = -1;
    int emissive = 0;
    /** A group's members, owned. */
    std::vector<std::unique_ptr<CSolidFacility>> children;
    std::vector<std::unique_ptr<CustomMaterial>> customMaterials;

    // Scene references while the room is shown (src/scene/FacilityScene.h); all null otherwise.
    /** The mesh shown: the model's shared mesh or, with custom materials, a private copy. One
     *  reference is held (grabbed) while the node exists. */
    irr::scene::IMesh* sceneMesh = nullptr;
    /** True when sceneMesh is the facility's own copy rather than the model's mesh. */
    bool ownsSceneMesh = false;
    /** The node showing the mesh; held by its parent node. */
    CCustomSceneNode* sceneNode = nullptr;
    /** The pickable hull around the mesh box, a child of sceneNode; hidden unless selected. */
    CCubicCloakSceneNode* cloakNode = nullptr;
    /** Triangle selector of the mesh; one reference held. */
    irr::scene::ITriangleSelector* triangleSelector = nullptr;
    /** The scene manager the nodes belong to. */
    irr::scene::ISceneManager* sceneManager = nullptr;
    /** The node's relative matrix (engine layout, column-major 4 x 4); identity until placed. */
    std::array<float, 16> transformation{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};
