#include "edit/Picker.h"

#include "ceiling/GridLayout.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "edit/DesignView.h"
#include "scene/CCubicCloakSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/CeilingScene.h"
#include "scene/FacilityScene.h"
#include "scene/GridMappingScene.h"
#include "scene/LightScene.h"
#include "scene/RoomScene.h"
#include "scene/WallScene.h"

#include <cmath>
#include <limits>

using namespace irr;

namespace vs {
namespace {

void updateTree(scene::ISceneNode* node)
{
    node->updateAbsolutePosition();
    for (scene::ISceneNode* child : node->getChildren())
        updateTree(child);
}

/** Distances closer than this (design units) are equal: coplanar surfaces hit by one ray give
 *  the same distance up to rounding, and the tie order must decide between them. */
constexpr f32 kTieDistance = 0.5f;

/** One pick candidate: its squared distance from the ray's start and its hit point. */
struct Hit
{
    bool found = false;
    f32 distanceSq = std::numeric_limits<f32>::max();
    core::vector3df point;
};

Hit hitOf(scene::ISceneCollisionManager* collisions, const core::line3df& ray,
          scene::ITriangleSelector* selector)
{
    Hit hit;
    if (selector == nullptr)
        return hit;
    core::triangle3df triangle;
    scene::ISceneNode* node = nullptr;
    if (!collisions->getCollisionPoint(ray, selector, hit.point, triangle, node))
        return hit;
    hit.found = true;
    hit.distanceSq = hit.point.getDistanceFromSQ(ray.start);
    return hit;
}

/** True when `hit` beats `best`: found, and nearer by more than kTieDistance. */
bool wins(const Hit& hit, const Hit& best)
{
    if (!hit.found)
        return false;
    if (!best.found)
        return true;
    return std::sqrt(hit.distanceSq) < std::sqrt(best.distanceSq) - kTieDistance;
}

/** The room node's transformation (identity without one). */
core::matrix4 roomTransformation(const CSolidDocument& doc)
{
    return doc.roomNode != nullptr ? doc.roomNode->getAbsoluteTransformation() : core::matrix4();
}

/** The side of a wall that faces the room, in world axes. */
core::vector3df wallRoomNormal(const CSolidDocument& doc, const CWall& wall)
{
    core::matrix4 turn;
    turn.setRotationDegrees(core::vector3df(0, static_cast<f32>(360 - wall.sceneAngle), 0));
    core::vector3df normal(0, 0, wallRoomSide(doc));
    turn.rotateVect(normal);
    roomTransformation(doc).rotateVect(normal);
    return normal;
}

void pickCeilingPart(DesignView& view, const core::line3df& ray, PickResult& best, Hit& bestHit)
{
    CSolidDocument& doc = view.document();
    if (!doc.ceiling || !doc.ceiling->root)
        return;
    const CeilingPick found = pickCeiling(*doc.ceiling->root, ray, view.sceneManager());
    if (found.plane == nullptr || planeNode(*found.plane) == nullptr)
        return;
    const f32 d = found.point.getDistanceFromSQ(ray.start);
    if (!wins({true, d, found.point}, bestHit))
        return;
    CGridMapping& plane = *found.plane;
    core::matrix4 toPlane;
    planeNode(plane)->getAbsoluteTransformation().getInverse(toPlane);
    core::vector3df local = found.point;
    toPlane.transformVect(local);
    RPoint p{local.X, local.Z};
    // A mirrored plane (invertTop) carries its vertices mirrored; bends mirror their base line.
    const CGridMapping* root = doc.ceiling->root.get();
    const bool bend = plane.parent == nullptr && &plane != root;
    if (doc.inverted && !bend)
        p.y = root->indentedBounds.top + root->indentedBounds.bottom - p.y;
    const RPoint g = gridRelativePoint(plane, p);
    best = PickResult();
    best.kind = PickResult::Kind::Ceiling;
    best.point = found.point;
    best.plane = &plane;
    best.ceilingX = p.x;
    best.ceilingY = p.y;
    best.col = colAt(plane, g.x + plane.realGridOffset.x).index;
    best.row = rowAt(plane, g.y + plane.realGridOffset.y).index;
    best.host = plane.hostAt(g);
    bestHit = {true, d, found.point};
}

void pickFloor(scene::ISceneCollisionManager* collisions, CSolidDocument& doc,
               const core::line3df& ray, PickResult& best, Hit& bestHit)
{
    if (!doc.floor || !doc.floor->scene || doc.floor->scene->selector == nullptr)
        return;
    // Seen from above only: the ray must run down through the floor, whatever the winding of
    // its triangles.
    core::vector3df up(0, 1, 0);
    roomTransformation(doc).rotateVect(up);
    if (!(ray.getVector().dotProduct(up) < 0))
        return;
    const Hit hit = hitOf(collisions, ray, doc.floor->scene->selector);
    if (!wins(hit, bestHit))
        return;
    best = PickResult();
    best.kind = PickResult::Kind::Floor;
    best.point = hit.point;
    bestHit = hit;
}

CWallPart* wallPartAt(CWall& wall, double height)
{
    // A later shown part covers the earlier ones where they overlap.
    for (auto it = wall.wallParts.rbegin(); it != wall.wallParts.rend(); ++it) {
        const CWallPartDefinition& d = (*it)->definition;
        if (wallPartShown(**it) && height >= d.relativeBottom &&
            height <= d.relativeBottom + d.height)
            return it->get();
    }
    return nullptr;
}

CFlatFacility* flatAt(CWall& wall, double x, double planY)
{
    for (auto it = wall.flatFacilities.rbegin(); it != wall.flatFacilities.rend(); ++it) {
        const RRect r = flatFacilityRect(**it);
        if (x >= r.left && x <= r.right && planY >= r.top && planY <= r.bottom)
            return it->get();
    }
    return nullptr;
}

void pickWalls(scene::ISceneCollisionManager* collisions, CSolidDocument& doc,
               const core::line3df& ray, PickResult& best, Hit& bestHit)
{
    CWall* nearest = nullptr;
    Hit nearestHit;
    for (auto& wall : doc.walls) {
        if (wallFaceSelector(*wall) == nullptr || wallGroupNode(*wall) == nullptr)
            continue;
        // Seen from the room's side only: from outside the room a wall lets the pick through.
        if (!(ray.getVector().dotProduct(wallRoomNormal(doc, *wall)) < 0))
            continue;
        const Hit hit = hitOf(collisions, ray, wallFaceSelector(*wall));
        if (wins(hit, nearestHit)) {
            nearest = wall.get();
            nearestHit = hit;
        }
    }
    if (nearest == nullptr || !wins(nearestHit, bestHit))
        return;
    core::matrix4 toWall;
    wallGroupNode(*nearest)->getAbsoluteTransformation().getInverse(toWall);
    core::vector3df local = nearestHit.point;
    toWall.transformVect(local);
    // The wall's local plan: x along the wall, plan y = -height.
    best = PickResult();
    best.kind = PickResult::Kind::Wall;
    best.point = nearestHit.point;
    best.wall = nearest;
    best.wallPoint = core::vector2df(local.X, -local.Z);
    best.wallPart = wallPartAt(*nearest, -local.Z);
    best.flat = flatAt(*nearest, local.X, local.Z);
    bestHit = nearestHit;
}

void pickFacilities(scene::ISceneCollisionManager* collisions, CSolidDocument& doc,
                    const core::line3df& ray, PickResult& best, Hit& bestHit)
{
    CSolidFacility* nearest = nullptr;
    int nearestFace = -1;
    Hit nearestHit;
    for (auto& facility : doc.solidFacilities) {
        CCubicCloakSceneNode* cloak = cloakNode(*facility);
        if (cloak == nullptr)
            continue;
        for (int face = 0; face < 6; ++face) {
            const Hit hit = hitOf(collisions, ray, cloak->faceSelector(face));
            if (wins(hit, nearestHit)) {
                nearest = facility.get();
                nearestFace = face;
                nearestHit = hit;
            }
        }
    }
    if (nearest == nullptr || !wins(nearestHit, bestHit))
        return;
    cloakNode(*nearest)->faceIndex = nearestFace;
    best = PickResult();
    best.kind = PickResult::Kind::Facility;
    best.point = nearestHit.point;
    best.facility = nearest;
    best.faceIndex = nearestFace;
    bestHit = nearestHit;
}

void pickMarkers(scene::ISceneCollisionManager* collisions, CSolidDocument& doc,
                 const core::line3df& ray, PickResult& best, Hit& bestHit)
{
    for (auto& light : doc.solidLights) {
        if (!light->markerShown || lightMarkerNode(*light) == nullptr ||
            !lightMarkerNode(*light)->isVisible() || lightMarkerSelector(*light) == nullptr)
            continue;
        const Hit hit = hitOf(collisions, ray, lightMarkerSelector(*light));
        // The sphere's near side only: the hit must face the ray's start.
        const core::vector3df outwards = hit.point - lightMarkerNode(*light)->getAbsolutePosition();
        if (!hit.found || !(outwards.dotProduct(ray.getVector()) < 0) || !wins(hit, bestHit))
            continue;
        best = PickResult();
        best.kind = PickResult::Kind::LightMarker;
        best.point = hit.point;
        best.light = light.get();
        bestHit = hit;
    }
}

} // namespace

void updateSceneTransformations(DesignView& view)
{
    scene::ISceneManager* smgr = view.sceneManager();
    if (smgr == nullptr)
        return;
    updateTree(smgr->getRootSceneNode());
    // The camera's view matrix follows its position and target only when the scene is drawn;
    // a pick may come before the next frame.
    if (scene::ICameraSceneNode* camera = view.activeCamera())
        camera->render();
}

bool pickRay(DesignView& view, int x, int y, core::line3df& ray)
{
    scene::ISceneManager* smgr = view.sceneManager();
    scene::ICameraSceneNode* camera = view.activeCamera();
    if (smgr == nullptr || camera == nullptr)
        return false;
    updateSceneTransformations(view);
    ray = smgr->getSceneCollisionManager()->getRayFromScreenCoordinates(core::position2di(x, y),
                                                                        camera);
    return true;
}

PickResult pick(DesignView& view, int x, int y)
{
    PickResult result;
    core::line3df ray;
    if (!pickRay(view, x, y, ray))
        return result;
    scene::ISceneCollisionManager* collisions = view.sceneManager()->getSceneCollisionManager();
    CSolidDocument& doc = view.document();
    Hit best;
    // Candidates in the tie order: a later one must be strictly nearer to win.
    pickCeilingPart(view, ray, result, best);
    if (view.ceilingOnly())
        return result;
    pickFloor(collisions, doc, ray, result, best);
    pickWalls(collisions, doc, ray, result, best);
    pickFacilities(collisions, doc, ray, result, best);
    pickMarkers(collisions, doc, ray, result, best);
    return result;
}

RPoint gridRelativePoint(const CGridMapping& plane, const RPoint& p)
{
    const double dx = p.x - plane.realGridOffset.x, dy = p.y - plane.realGridOffset.y;
    if (plane.rotateDegree == 0)
        return {dx, dy};
    const double a = -plane.rotateDegree * M_PI / 180.0;
    return {dx * std::cos(a) - dy * std::sin(a), dx * std::sin(a) + dy * std::cos(a)};
}

core::vector3df worldToRoom(DesignView& view, const core::vector3df& world)
{
    core::matrix4 toRoom;
    roomTransformation(view.document()).getInverse(toRoom);
    core::vector3df p = world;
    toRoom.transformVect(p);
    return p;
}

core::line3df worldToRoom(DesignView& view, const core::line3df& world)
{
    return {worldToRoom(view, world.start), worldToRoom(view, world.end)};
}

} // namespace vs
