// A wall of the room, standing on one edge of the room outline, with its bands and its flat
// facilities. The wall geometry and scene references come with the wall's scene node.
#pragma once

#include "CFlatFacility.h"
#include "CWallPart.h"

#include "RPoint.h"

#include <cstddef>
#include <memory>
#include <vector>

class CFacilityModel;
class CSolidDocument;

/**
 * A wall's group node and picking meshes while the room is shown. The scene layer defines it
 * and hands the wall its own deleter with it, so that the document never sees an engine type.
 */
struct SolidWallScene;

class CWall
{
public:
    CWall() = default;
    /** A wall on the outline edge from point index to the next, with no parts. */
    explicit CWall(int index) : index(index) {}

    /**
     * Returns the wall of a design without a 3D part: three bands, from the built-in models at
     * positions six, three and four of the model list (pointers may be null): a visible band
     * from the floor up to 500000, and two hidden ones at 6000..8000 and 0..6000, all with
     * the model's own tile size.
     */
    static std::unique_ptr<CWall> makeDefault(int index, CFacilityModel* sixth,
                                              CFacilityModel* third, CFacilityModel* fourth);

    /**
     * Returns a wall on edge index whose bands copy those of model (same models, tile sizes,
     * visibility and heights), without flat facilities.
     */
    static std::unique_ptr<CWall> withPartsOf(int index, const CWall& model);

    /** Position of the band part (the waist band of the wall setup) in wallParts. */
    static constexpr size_t kBandPart = 1;

    /** Returns the band part (wallParts[kBandPart]), or null when the wall has fewer parts. */
    CWallPart* bandPart() const;

    /**
     * Switches the band on or off: its has-band flag, its width (the part's height) and its
     * height above the floor (the part's relativeBottom). Does nothing without a band part; the
     * scene is rebuilt by the caller.
     */
    void setBand(bool on, double width, double heightAboveFloor);

    /** The outline edge the wall stands on. */
    int index = 0;
    /** Bands in the order read. */
    std::vector<std::unique_ptr<CWallPart>> wallParts;
    std::vector<std::unique_ptr<CFlatFacility>> flatFacilities;

    // Scene data while the room is shown.
    /** Where the wall's base line starts, in room scene axes (x, z as plan x, y). */
    RPoint sceneStart;
    /** Direction of the base line in the plan, degrees. */
    double sceneAngle = 0;
    /** Length of the base line. */
    double sceneLength = 0;
    /** Height of the wall's plane: the highest top of its shown parts. */
    double sceneHeight = 0;
    /** The document whose cutting facilities open the wall while shown; not owned. */
    CSolidDocument* sceneDocument = nullptr;
    /** Releases the scene record through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<SolidWallScene, void (*)(SolidWallScene*)>;
    /** The group node, picking meshes and selectors (scene/WallScene.h); null when not shown. */
    ScenePtr scene{nullptr, nullptr};
};
