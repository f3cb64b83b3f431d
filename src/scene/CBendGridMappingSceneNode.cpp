#include "scene/CBendGridMappingSceneNode.h"

#include <cmath>

using namespace irr;

CBendGridMappingSceneNode::CBendGridMappingSceneNode(CGridMapping* plane, const RPoint& start,
                                                     const RPoint& end, scene::ISceneNode* parent,
                                                     scene::ISceneManager* smgr)
    : CGridMappingSceneNode(plane, parent, smgr), start_(start), end_(end)
{
}

void CBendGridMappingSceneNode::place()
{
    const double dx = end_.x - start_.x;
    const double dy = end_.y - start_.y;
    const double degrees = std::atan2(dy, dx) * 180.0 / 3.14159265358979323846;
    core::matrix4 standUp;
    standUp.setRotationDegrees({-90, 0, 0});
    core::matrix4 turn;
    turn.setRotationDegrees({0, static_cast<f32>(-degrees), 0});
    core::matrix4 move;
    move.setTranslation({static_cast<f32>(start_.x), 0, static_cast<f32>(start_.y)});
    core::matrix4 m = move * turn * standUp;
    // A matrix that happens to be the identity would fall back to position and rotation, which
    // are the identity as well.
    setRelativeTransformationMatrix(m);
}

void CBendGridMappingSceneNode::mirror(double axisSum)
{
    start_.y = axisSum - start_.y;
    end_.y = axisSum - end_.y;
    if (drawMesh())
        exchangeIndexLists();
    if (faceMesh())
        reverseTriangles(*faceMesh());
    place();
}
