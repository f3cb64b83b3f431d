// The common base of the module's own scene nodes: shared registration for the automatic
// pass, a bounding box, an optional single material, and an explicit relative matrix.
//
// Irrlicht composes a node's relative transformation from position, rotation and scale. Nodes
// of this module may instead be placed by an explicit matrix: when it is not the identity it
// replaces the composed one. Engine nodes that must be placed by a matrix (wall groups, towers,
// section-bar quads) hang under an IDummyTransformationSceneNode carrying it instead.
#pragma once

#include <irrlicht.h>

class CSolidSceneNode : public irr::scene::ISceneNode
{
public:
    /** Creates the node under `parent` (or the root when null) with id -1 at the origin; the
     *  parent holds it. `hasMaterial` gives the node one material of its own (count 1). */
    CSolidSceneNode(irr::scene::ISceneNode* parent, irr::scene::ISceneManager* smgr,
                    bool hasMaterial = false);

    /** Registers the node for the automatic pass when visible, then its children. */
    void OnRegisterSceneNode() override;
    /** Nothing by default: most nodes draw through child mesh nodes. */
    void render() override {}
    const irr::core::aabbox3d<irr::f32>& getBoundingBox() const override { return box_; }
    /** The explicit matrix when it is not the identity, else position, rotation (degrees) and a
     *  scale that differs from 1 by more than 0.000001. */
    irr::core::matrix4 getRelativeTransformation() const override;
    irr::u32 getMaterialCount() const override { return hasMaterial_ ? 1 : 0; }
    irr::video::SMaterial& getMaterial(irr::u32 index) override;

    /** Sets the explicit relative matrix (identity: back to position, rotation and scale). */
    void setRelativeTransformationMatrix(const irr::core::matrix4& matrix) { matrix_ = matrix; }
    /** The explicit relative matrix (identity when unset). */
    const irr::core::matrix4& relativeTransformationMatrix() const { return matrix_; }
    /** Replaces the bounding box. */
    void setBoundingBox(const irr::core::aabbox3d<irr::f32>& box) { box_ = box; }

protected:
    /** The pass the node registers for: the automatic one unless a node draws see-through
     *  parts itself and must come after every solid node, whatever order those are sorted in. */
    virtual irr::scene::E_SCENE_NODE_RENDER_PASS renderPass() const
    {
        return irr::scene::ESNRP_AUTOMATIC;
    }

    irr::video::SMaterial material_;

private:
    irr::core::aabbox3d<irr::f32> box_{-1, -1, -1, 1, 1, 1};
    irr::core::matrix4 matrix_;
    bool hasMaterial_;
};
