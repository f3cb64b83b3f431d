// The ceiling of a room design: the header flags read from the design element and the tree of
// ceiling planes under the root CGridMapping.
#pragma once

#include <memory>

class CGridMapping;
class CRoofSceneNode;
class CSolidDocument;
class CeilingSceneHooks;

class SolidCeiling
{
public:
    SolidCeiling();
    /** Deletes the plane tree. */
    ~SolidCeiling();
    SolidCeiling(const SolidCeiling&) = delete;
    SolidCeiling& operator=(const SolidCeiling&) = delete;

    /** The room is rectangular. */
    bool squareRoom = false;
    /** The ceiling is made of strip panels (bands). */
    bool isBand = false;
    /** Bands run vertically (columns); kept false when isBand is false. */
    bool bandVertical = false;
    /** The room document the ceiling belongs to; not owned, may be null. */
    CSolidDocument* room = nullptr;
    /** The top ceiling plane; null until read. */
    std::unique_ptr<CGridMapping> root;
    /** The ceiling's scene group node while shown; owned by the scene graph. */
    CRoofSceneNode* roofNode = nullptr;
    /** The scene's side of panel and picture changes while shown; not owned, may be null. */
    CeilingSceneHooks* sceneHooks = nullptr;
};
