#include "scene/TowerScene.h"

#include "catalogue/CCandyType.h"
#include "document/CCandy.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "scene/EngineTexture.h"
#include "scene/GridMappingScene.h"
#include "scene/MeshBuffers.h"

#include <irrlicht.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace irr;

namespace vs {
namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

/** Takes grid-relative points (plan x, height, plan y) into the grid node's frame: turned by
 *  rotateDegree and moved to realGridOffset, then mirrored about the root's indented bounds
 *  while the room is shown inverted. */
class GridFrame
{
public:
    explicit GridFrame(const CGridMapping& plane)
    {
        const double a = plane.rotateDegree * kDegreesToRadians;
        cos_ = std::cos(a);
        sin_ = std::sin(a);
        offset_ = plane.realGridOffset;
        const SolidCeiling* ceiling = plane.ceiling;
        if (ceiling && ceiling->room && ceiling->room->inverted && ceiling->root) {
            mirrored_ = true;
            axisSum_ = ceiling->root->indentedBounds.top + ceiling->root->indentedBounds.bottom;
        }
    }

    core::vector3df point(double x, double height, double y) const
    {
        const double px = x * cos_ - y * sin_ + offset_.x;
        double pz = x * sin_ + y * cos_ + offset_.y;
        if (mirrored_)
            pz = axisSum_ - pz;
        return {f32(px), f32(height), f32(pz)};
    }

    core::vector3df direction(double x, double height, double y) const
    {
        const double px = x * cos_ - y * sin_;
        double pz = x * sin_ + y * cos_;
        if (mirrored_)
            pz = -pz;
        return {f32(px), f32(height), f32(pz)};
    }

    /** The two triangles of a quad v0 v1 v2 v3, turned over when mirrored. */
    std::vector<uint32_t> quadTriangles() const
    {
        if (mirrored_)
            return {1, 0, 2, 2, 0, 3};
        return {0, 1, 2, 0, 2, 3};
    }

private:
    double cos_ = 1;
    double sin_ = 0;
    RPoint offset_;
    bool mirrored_ = false;
    double axisSum_ = 0;
};

bool gammaCorrected(const CGridMapping& plane)
{
    const CSolidDocument* room = plane.ceiling ? plane.ceiling->room : nullptr;
    return room && room->viewState && room->viewState->gammaCorrection;
}

/** Quarter turns of the item's pictures: (360 - rotateDegree) / 90. */
int quarterTurns(int rotateDegree)
{
    const int turns = ((360 - rotateDegree) / 90) % 4;
    return turns < 0 ? turns + 4 : turns;
}

video::ITexture* typeTexture(video::IVideoDriver* driver, CCandyType& type, int sideIndex,
                             bool srgb)
{
    const Picture& picture = sideIndex < 0 ? type.planPicture() : type.sidePicture(sideIndex);
    if (picture.isNull())
        return nullptr;
    char name[96];
    std::snprintf(name, sizeof name, "candy-%d-%p-%s%d%s.bmp", type.id, static_cast<void*>(&type),
                  sideIndex < 0 ? "plan" : "side", sideIndex < 0 ? 0 : sideIndex,
                  srgb ? "-srgb" : "");
    return makeEngineTexture(driver, picture.image(), name, srgb);
}

scene::ISceneNode* addQuadNode(scene::ISceneManager* smgr, scene::ISceneNode* parent,
                               const std::vector<video::S3DVertex>& vertices,
                               const std::vector<uint32_t>& indices, video::ITexture* texture)
{
    scene::SMesh* mesh = makeMesh(vertices, indices);
    setMeshTexture(*mesh, texture);
    scene::IMeshSceneNode* node = smgr->addMeshSceneNode(mesh, parent);
    mesh->drop();
    if (node)
        node->setAutomaticCulling(scene::EAC_OFF);
    return node;
}

void deleteTowerScene(CandyTowerScene* tower)
{
    delete tower;
}

} // namespace

int buildTower(CCandy& candy, scene::ISceneManager* smgr)
{
    removeTower(candy);
    if (candy.tower < 1 || !candy.plane || !planeNode(*candy.plane) || !candy.candyType || !smgr)
        return 0;
    CGridMapping& plane = *candy.plane;
    CCandyType& type = *candy.candyType;
    scene::ISceneNode* parent = planeNode(plane);
    video::IVideoDriver* driver = smgr->getVideoDriver();
    const bool srgb = gammaCorrected(plane);
    const GridFrame frame(plane);
    const double depth = -double(candy.tower);
    const video::SColor white(255, 255, 255, 255);
    const RRect& r = candy.rect;
    const std::array<RPoint, 4> corners = {
        RPoint{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    const int turns = quarterTurns(candy.rotateDegree);
    const std::array<core::vector2df, 4> uv = {core::vector2df(0, 0), core::vector2df(1, 0),
                                               core::vector2df(1, 1), core::vector2df(0, 1)};

    std::vector<video::S3DVertex> top;
    const core::vector3df down = frame.direction(0, -1, 0);
    for (int i = 0; i < 4; ++i)
        top.emplace_back(frame.point(corners[i].x, depth, corners[i].y), down, white,
                         uv[size_t((i + turns) % 4)]);
    candy.towerScene = CCandy::TowerScenePtr(new CandyTowerScene, deleteTowerScene);
    candy.towerScene->top =
        addQuadNode(smgr, parent, top, frame.quadTriangles(), typeTexture(driver, type, -1, srgb));

    for (int k = 0; k < 4; ++k) {
        const RPoint& p = corners[size_t(k)];
        const RPoint& q = corners[size_t((k + 1) % 4)];
        // Outward normal of the side running from corner k to corner k + 1 (clockwise on the
        // plan): the side direction turned a quarter towards plan -y.
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        const double len = std::hypot(dx, dy);
        const core::vector3df outward =
            len > 0 ? frame.direction(dy / len, 0, -dx / len) : core::vector3df(0, 0, 0);
        const std::vector<video::S3DVertex> side = {
            {frame.point(p.x, 0, p.y), outward, white, {0, 0}},
            {frame.point(q.x, 0, q.y), outward, white, {1, 0}},
            {frame.point(q.x, depth, q.y), outward, white, {1, 1}},
            {frame.point(p.x, depth, p.y), outward, white, {0, 1}},
        };
        candy.towerScene->sides[size_t(k)] =
            addQuadNode(smgr, parent, side, frame.quadTriangles(),
                        typeTexture(driver, type, (k + turns) % 4, srgb));
    }
    return 5;
}

void removeTower(CCandy& candy)
{
    if (!candy.towerScene)
        return;
    auto drop = [](scene::ISceneNode*& node) {
        if (node)
            node->remove();
        node = nullptr;
    };
    drop(candy.towerScene->top);
    for (scene::ISceneNode*& side : candy.towerScene->sides)
        drop(side);
    candy.towerScene.reset();
}

void forgetTower(CCandy& candy)
{
    candy.towerScene.reset();
}

scene::ISceneNode* towerTop(const CCandy& candy)
{
    return candy.towerScene ? candy.towerScene->top : nullptr;
}

std::array<scene::ISceneNode*, 4> towerSides(const CCandy& candy)
{
    return candy.towerScene ? candy.towerScene->sides : std::array<scene::ISceneNode*, 4>{};
}

} // namespace vs
