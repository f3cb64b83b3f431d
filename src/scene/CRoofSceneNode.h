// The group node the whole ceiling hangs under, at the base ceiling height above the floor. It
// draws nothing itself; the grid nodes of the ceiling planes are its descendants. While the
// ceiling is shown it also holds the scene hooks the ceiling model calls.
#pragma once

#include "scene/CSolidSceneNode.h"

#include <memory>

class CeilingSceneHooks;
class SolidCeiling;

class CRoofSceneNode : public CSolidSceneNode
{
public:
    /** Height of the ceiling's reference level above the floor, decimillimetres. */
    static constexpr irr::f32 kBaseCeilingHeight = 24000;

    /** Creates the roof of `ceiling` under `parent` (the root when null), translated to the
     *  base ceiling height, with one default material and automatic culling off. */
    CRoofSceneNode(SolidCeiling* ceiling, irr::scene::ISceneNode* parent,
                   irr::scene::ISceneManager* smgr);
    ~CRoofSceneNode() override;

    /** The ceiling the node shows; not owned, may be null. */
    SolidCeiling* ceiling() const { return ceiling_; }

    /** Keeps the scene hooks for as long as the node lives. */
    void setHooks(std::unique_ptr<CeilingSceneHooks> hooks);
    /** The hooks kept by the node, or null. */
    CeilingSceneHooks* hooks() const { return hooks_.get(); }

private:
    SolidCeiling* ceiling_;
    std::unique_ptr<CeilingSceneHooks> hooks_;
};
