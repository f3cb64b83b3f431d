// A free-standing 3D facility of the room (appliance, furniture, lamp...), or a group of them.
#pragma once

#include "CustomMaterial.h"
#include "SolidMath.h"

#include <array>
#include <memory>
#include <vector>

class CFacilityModel;
class CWall;

/**
 * A facility's mesh, nodes and picking while the room is shown. The scene layer defines it and
 * hands the facility its own deleter with it, so that the document never sees an engine type.
 */
struct SolidFacilityScene;

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

    /** Releases the scene record through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<SolidFacilityScene, void (*)(SolidFacilityScene*)>;
    /** The mesh, nodes and selector while shown (scene/FacilityScene.h); null otherwise. */
    ScenePtr scene{nullptr, nullptr};
    /** The node's relative matrix (engine layout, column-major 4 x 4); identity until placed. */
    std::array<float, 16> transformation{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};
