// The scene node of one ceiling plane: the plane's open polygon as a flat mesh in the node's
// x-z plane (plan (x, y) is scene (x, 0, y), decimillimetres), textured with the plane's plan
// picture so that the picture lies exactly on the grid. It draws one vertex array twice: with
// triangles facing down, opaque, and with the same triangles turned over, showing the picture's
// alpha, so the ceiling is solid from below and see-through from above.
//
// Besides the drawn mesh (cut into 2000-unit squares) the node keeps a face mesh (the whole
// polygon, for picking and export) and a large picking square at the plane's height.
#pragma once

#include "scene/CSolidSceneNode.h"

#include <cstdint>
#include <vector>

class CGridMapping;

class CGridMappingSceneNode : public CSolidSceneNode
{
public:
    /** Side of the squares the drawn mesh is cut into, design units. */
    static constexpr double kSquareSize = 2000;
    /** Most squares along a side of the drawn mesh: planes longer than 51.2 m get larger
     *  squares, so that a hall's ceiling costs no more than about 130 000 triangles. */
    static constexpr int kMaxSquaresPerSide = 256;
    /** Half the side of the picking square, design units. */
    static constexpr irr::f32 kPickingHalfSize = 100000;
    /** Material parameter of the see-through pass (alpha reference). */
    static constexpr irr::f32 kTopPassParam = 0.3f;

    /** Creates the node of `plane` under `parent` with automatic culling off and stores itself
     *  in plane.sceneNode. Nothing is built until initialise. */
    CGridMappingSceneNode(CGridMapping* plane, irr::scene::ISceneNode* parent,
                          irr::scene::ISceneManager* smgr);
    ~CGridMappingSceneNode() override;

    /** Builds the drawn, face and picking meshes, loads the texture and places the node. */
    void initialise();

    /** Draws the vertices with the downward triangles (solid), then with the upward ones
     *  (transparent alpha channel). */
    void render() override;

    /** Sets the relative matrix: translation (0, hoist, 0). */
    virtual void place();
    /** Reflects the plan y (scene z) about the line y = axisSum / 2 (y' = axisSum - y): the
     *  vertices of the drawn and face meshes, with the two index lists exchanged and the face
     *  mesh's triangles reversed so they keep facing down. */
    virtual void mirror(double axisSum);

    /** Replaces the texture by one made from the plane's picture (created and painted first
     *  when the plane has none); the previous texture is removed from the driver. */
    void updateTexture();
    /** Removes the node's texture from the driver (called when the scene is released). */
    void releaseTexture();

    /** The plane the node shows; not owned. */
    CGridMapping* plane() const { return plane_; }
    /** The drawn mesh: buffers of at most 65535 vertices, triangles facing down. */
    irr::scene::SMesh* drawMesh() const { return drawMesh_; }
    /** The turned-over triangles of drawn buffer `i` (over the same vertices). */
    const std::vector<irr::u16>& reversedIndices(irr::u32 i) const { return reversed_.at(i); }
    /** The whole open polygon, triangles facing down; used for picking. */
    irr::scene::SMesh* faceMesh() const { return faceMesh_; }
    /** Two triangles facing down, a square of half-size kPickingHalfSize at height 0. */
    irr::scene::SMesh* pickingMesh() const { return pickingMesh_; }
    /** The current texture (layer 0 of the material); null before one was made. */
    irr::video::ITexture* texture() const { return material_.getTexture(0); }

protected:
    /** Drawn after the solid nodes: the half of the plane seen from above is see-through, and
     *  blending it before the floor and walls are drawn would let them cover it. */
    irr::scene::E_SCENE_NODE_RENDER_PASS renderPass() const override
    {
        return irr::scene::ESNRP_TRANSPARENT;
    }
    /** Reverses every triangle of every buffer of mesh (second and third index swapped). */
    static void reverseTriangles(irr::scene::SMesh& mesh);
    /** Exchanges the drawn buffers' index lists with the reversed ones. */
    void exchangeIndexLists();

private:
    void buildDrawMesh();
    void buildFaceMesh();
    void buildPickingMesh();
    void updateBoundingBox();
    irr::core::vector2df textureCoords(double x, double y) const;

    CGridMapping* plane_;
    irr::scene::SMesh* drawMesh_ = nullptr;
    std::vector<std::vector<irr::u16>> reversed_;
    irr::scene::SMesh* faceMesh_ = nullptr;
    irr::scene::SMesh* pickingMesh_ = nullptr;
};
