// The room design while it is shown: ceiling, floor, walls, free-standing facilities, lights,
// view state and the data of an applied static sample. The XML reader fills it, the scene and
// the dialogs read and change it, the XML writer saves its 3D part.
//
// Lengths are decimillimetres. 3D positions are in scene axes (x = plan x, y = height,
// z = plan y) relative to the left/top corner of the root ceiling plane's indented bounds.
#pragma once

#include "CHollowPolygon.h"
#include "CSolidFacility.h"
#include "CSolidLight.h"
#include "CWall.h"
#include "RPoint.h"
#include "SolidFloor.h"
#include "SolidMath.h"
#include "SolidViewState.h"
#include "platform/IntSize.h"
#include "platform/Picture.h"

#include <memory>
#include <string>
#include <vector>

class CRoomSceneNode;
class CVantrelSolidView;
class SolidCeiling;

/**
 * The room's scene content while it is shown. The scene layer defines it and sets it together
 * with the deleter that releases it (drops the engine nodes), so the document holds the scene
 * without knowing the engine.
 */
struct SolidSceneRoot;

class CSolidDocument
{
public:
    /** Releases the scene root through the deleter the scene layer set. */
    using SceneRootPtr = std::unique_ptr<SolidSceneRoot, void (*)(SolidSceneRoot*)>;

    /** An empty document: no ceiling, floor, walls, facilities, lights, scene or view state. */
    CSolidDocument();
    /**
     * Deletes, in this order, the solid facilities, the lights, the default lights and the
     * walls (whose scene references point into the scene), then the ceiling, the floor with
     * its scene objects, the scene root and the view state.
     */
    ~CSolidDocument();
    CSolidDocument(const CSolidDocument&) = delete;
    CSolidDocument& operator=(const CSolidDocument&) = delete;

    /** Returns the first wall standing on outline edge index, or null. */
    CWall* wallByIndex(int index) const;

    /** The design's name (read, not written back). */
    std::string name;
    /** Null for a new document. */
    std::unique_ptr<SolidCeiling> ceiling;
    /** Null for a new document. */
    std::unique_ptr<SolidFloor> floor;
    /** One wall per edge of the room outline, in outline order. */
    std::vector<std::unique_ptr<CWall>> walls;
    std::vector<std::unique_ptr<CSolidFacility>> solidFacilities;
    std::vector<std::unique_ptr<CSolidLight>> solidLights;
    /** The lights of the simple lighting model; never empty once a design is read. */
    std::vector<std::unique_ptr<CSolidLight>> defaultSolidLights;
    /** Null while the room is not shown. */
    SceneRootPtr sceneRoot{nullptr, nullptr};
    /** The node holding the whole room while it is shown; owned by the scene graph. */
    CRoomSceneNode* roomNode = nullptr;
    /** The design view showing the document, used to refresh it; not owned, may be null. */
    CVantrelSolidView* view = nullptr;
    /** Null until read or until the design view saves its state. */
    std::unique_ptr<SolidViewState> viewState;

    // The applied static sample.
    std::vector<RPoint> staticSolidProjectedPoints;
    IntSize staticSolidSampleImgSize;
    /** 0 = none. */
    int staticSolidSampleId = 0;
    /** The sample's photo; null picture for none. */
    Picture samplePhoto;
    /** The sample's mask, placed at staticSolidRect; null picture for none. */
    Picture sampleMask;
    std::vector<std::unique_ptr<CHollowPolygon>> staticPolygons;
    IRect staticSolidRect;

    /** True while the scene is shown mirrored for the invertTop preference. */
    bool inverted = false;
};
