#include "scene/WallScene.h"

#include "catalogue/CFacilityModel.h"
#include "ceiling/HeightProfile.h"
#include "ceiling/PolygonOps.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CWall.h"
#include "document/SolidCeiling.h"
#include "scene/CeramicTileSize.h"
#include "scene/FacilityScene.h"
#include "scene/MeshBuffers.h"
#include "scene/PolygonTiling.h"

#include <algorithm>
#include <cmath>

using namespace irr;

namespace vs {
namespace {

constexpr double kFallbackSize = 6000;
/** Half the side of the square standing for a wall's whole plane. */
constexpr double kWholePlane = 1000000;

double positiveOr(double v, double fallback)
{
    return std::isfinite(v) && v >= 1 ? v : fallback;
}

video::IVideoDriver* driverOf(const CWall& wall)
{
    scene::ISceneNode* group = wallGroupNode(wall);
    return group ? group->getSceneManager()->getVideoDriver() : nullptr;
}

video::ITexture* textureOf(CFacilityModel* model, video::IVideoDriver* driver)
{
    return model && driver ? model->engineTexture(driver) : nullptr;
}

/** Front buffers of the surface followed by its back buffers. */
void fillTwoSided(scene::SMesh& mesh, TiledSurface surface, video::ITexture* texture)
{
    clearMeshBuffers(mesh);
    video::SMaterial material;
    material.setTexture(0, texture);
    appendMeshBuffers(mesh, surface.vertices, surface.indices, material);
    flipSurface(surface);
    appendMeshBuffers(mesh, surface.vertices, surface.indices, material);
}

scene::IMeshSceneNode* addPartNode(CWall& wall, scene::SMesh* mesh)
{
    scene::ISceneNode* group = wall.scene->group;
    scene::IMeshSceneNode* node = group->getSceneManager()->addMeshSceneNode(
        mesh, group, -1, core::vector3df(0, 0, 0), core::vector3df(0, 0, 0),
        core::vector3df(1, 1, 1), true);
    node->setAutomaticCulling(scene::EAC_OFF);
    return node;
}

void deleteSurfaceScene(WallSurfaceScene* surface)
{
    if (surface != nullptr && surface->mesh != nullptr)
        surface->mesh->drop();
    delete surface;
}

/** The surface record of a band or flat item, made (with an empty mesh and a node under the
 *  wall's group) when it has none. */
template <class Item> WallSurfaceScene& surfaceOf(CWall& wall, Item& item)
{
    if (!item.scene)
        item.scene = typename Item::ScenePtr(new WallSurfaceScene(), deleteSurfaceScene);
    WallSurfaceScene& surface = *item.scene;
    if (!surface.mesh)
        surface.mesh = new scene::SMesh();
    if (!surface.node)
        surface.node = addPartNode(wall, surface.mesh);
    return surface;
}

/** The footprints on the wall of the document's facilities that cut it. */
std::vector<PlanPolygon> cuttingFootprints(const CWall& wall)
{
    std::vector<PlanPolygon> cuts;
    if (!wall.sceneDocument)
        return cuts;
    for (const CSolidFacility* f : wallCuttingFacilities(*wall.sceneDocument, wall)) {
        const double a = f->rotateDegree * M_PI / 180;
        const double along =
            std::fabs(f->size.x * std::cos(a)) + std::fabs(f->size.z * std::sin(a));
        cuts.push_back(PlanPolygon::fromRect(f->position.x - along / 2,
                                             -(f->position.y + f->size.y),
                                             f->position.x + along / 2, -f->position.y));
    }
    return cuts;
}

void rebuildPartGeometry(CWall& wall, CWallPart& part, const std::vector<PlanPolygon>& cuts)
{
    PlanPolygon remaining = wallPartPolygon(wall, part);
    for (const auto& flat : wall.flatFacilities) {
        const RRect r = flatFacilityRect(*flat);
        remaining =
            polygonDifference(remaining, PlanPolygon::fromRect(r.left, r.top, r.right, r.bottom));
    }
    for (const PlanPolygon& cut : cuts)
        remaining = polygonDifference(remaining, cut);
    // Bands lie in the wall's plane over the parts before them: a later shown part covers its
    // stretch of the earlier ones, which leave it out rather than fight it for the same depth.
    const auto at = std::find_if(wall.wallParts.begin(), wall.wallParts.end(),
                                 [&part](const auto& p) { return p.get() == &part; });
    for (auto later = at == wall.wallParts.end() ? at : at + 1; later != wall.wallParts.end();
         ++later)
        if (*later && wallPartShown(**later))
            remaining = polygonDifference(remaining, wallPartPolygon(wall, **later));

    const core::dimension2d<double> tile = wallPartTileSize(part);
    TileGrid grid;
    grid.origin = {0, -part.definition.relativeBottom};
    grid.width = std::max(tile.Width, kMinSurfaceTileSide);
    grid.height = std::max(tile.Height, kMinSurfaceTileSide);
    const RRect bounds{0, part.definition.negatedTop(), wall.sceneLength,
                       -part.definition.relativeBottom};
    WallSurfaceScene& surface = *part.scene;
    fillTwoSided(*surface.mesh, tilePolygon(remaining, bounds, grid),
                 textureOf(part.facilityModel, driverOf(wall)));
    surface.node->setMesh(surface.mesh); // takes the buffers' materials up
}

void rebuildFlatGeometry(CWall& wall, CFlatFacility& flat)
{
    WallSurfaceScene& surface = surfaceOf(wall, flat);
    if (!surface.node->isVisible())
        return;
    const RRect r = flatFacilityRect(flat);
    TileGrid grid;
    grid.origin = {r.left, r.top};
    grid.width = r.right - r.left;
    grid.height = r.bottom - r.top;
    fillTwoSided(*surface.mesh, tilePolygon(flat.clippedPolygon, r, grid),
                 textureOf(flat.facilityModel, driverOf(wall)));
    surface.node->setMesh(surface.mesh);
}

double shownHeight(const CWall& wall)
{
    double top = 0;
    for (const auto& part : wall.wallParts)
        if (wallPartShown(*part))
            top = std::max(top, part->definition.relativeBottom + part->definition.height);
    return top > 0 && std::isfinite(top) ? top : kDefaultWallHeight;
}

scene::IMesh* faceMeshOf(const PlanPolygon& polygon)
{
    TiledSurface surface = triangulateSurface(polygon, TileGrid());
    scene::SMesh* mesh = makeMesh(surface.vertices, surface.indices);
    flipSurface(surface); // pickable from both sides
    appendMeshBuffers(*mesh, surface.vertices, surface.indices);
    return mesh;
}

void dropMesh(scene::IMesh*& mesh)
{
    if (mesh)
        mesh->drop();
    mesh = nullptr;
}

void dropSelector(scene::ITriangleSelector*& selector)
{
    if (selector)
        selector->drop();
    selector = nullptr;
}

void deleteWallScene(SolidWallScene* record)
{
    if (record == nullptr)
        return;
    dropSelector(record->faceSelector);
    dropSelector(record->planeSelector);
    dropMesh(record->faceMesh);
    dropMesh(record->planeMesh);
    delete record;
}

} // namespace

RPoint roomPlanOrigin(const CSolidDocument& document)
{
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;
    if (!root)
        return {};
    const RRect& b = root->indentedBounds;
    if (!(b.left <= b.right && b.top <= b.bottom) || !std::isfinite(b.left) ||
        !std::isfinite(b.top))
        return {};
    return {b.left, b.top};
}

WallFrame wallFrame(const CSolidDocument& document, const CWall& wall)
{
    WallFrame frame;
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;
    if (!root || wall.index < 0 || static_cast<size_t>(wall.index) >= root->indentedOutline.size())
        return frame;
    const std::vector<RPoint>& outline = root->indentedOutline;
    const RPoint& a = outline[static_cast<size_t>(wall.index)];
    const RPoint& b = outline[(static_cast<size_t>(wall.index) + 1) % outline.size()];
    const RPoint origin = roomPlanOrigin(document);
    frame.start = {a.x - origin.x, a.y - origin.y};
    frame.angle = std::atan2(b.y - a.y, b.x - a.x) * 180 / M_PI;
    frame.length = std::hypot(b.x - a.x, b.y - a.y);
    frame.valid = std::isfinite(frame.length) && std::isfinite(frame.angle);
    return frame;
}

float wallRoomSide(const CSolidDocument& document)
{
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;
    if (!root)
        return 1.0f;
    // Twice the signed area of the outline in plan axes.
    const std::vector<RPoint>& outline = root->indentedOutline;
    double area = 0;
    for (size_t i = 0; i < outline.size(); ++i) {
        const RPoint& a = outline[i];
        const RPoint& b = outline[(i + 1) % outline.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area < 0 ? -1.0f : 1.0f;
}

core::matrix4 wallMatrix(const WallFrame& frame)
{
    // The frame's z (the group's local y once stood up) points to the left of the edge in
    // x-right, y-up plan axes: the room's side for outlines of positive signed area, the other
    // side for outlines running the other way (wallRoomSide).
    core::matrix4 translate;
    translate.setTranslation(
        core::vector3df(static_cast<f32>(frame.start.x), 0, static_cast<f32>(frame.start.y)));
    core::matrix4 turn;
    turn.setRotationDegrees(core::vector3df(0, static_cast<f32>(360 - frame.angle), 0));
    core::matrix4 standUp;
    standUp.setRotationDegrees(core::vector3df(90, 0, 0));
    return translate * turn * standUp;
}

std::vector<HeightStep> wallCeilingProfile(const CSolidDocument& document, const CWall& wall)
{
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;
    if (!root || wall.index < 0 || static_cast<size_t>(wall.index) >= root->indentedOutline.size())
        return {};
    const std::vector<RPoint>& outline = root->indentedOutline;
    const RPoint& a = outline[static_cast<size_t>(wall.index)];
    const RPoint& b = outline[(static_cast<size_t>(wall.index) + 1) % outline.size()];
    return heightProfile(*root, a, b);
}

PlanPolygon wallPolygon(const CWall& wall)
{
    // The wall reaches up to the ceiling above its base line: one step per ceiling level.
    const std::vector<HeightStep> steps = wall.sceneDocument
                                              ? wallCeilingProfile(*wall.sceneDocument, wall)
                                              : std::vector<HeightStep>();
    if (steps.empty() || !(wall.sceneLength > 0))
        return PlanPolygon::fromRect(0, -wall.sceneHeight, wall.sceneLength, 0);
    PlanContour contour;
    contour.points = {{0, 0}, {wall.sceneLength, 0}};
    for (size_t i = steps.size(); i-- > 0;) {
        const double end = i + 1 < steps.size() ? steps[i + 1].distance : wall.sceneLength;
        const double start = std::clamp(steps[i].distance, 0.0, wall.sceneLength);
        contour.points.push_back({std::clamp(end, 0.0, wall.sceneLength), -steps[i].height});
        contour.points.push_back({start, -steps[i].height});
    }
    PlanPolygon polygon;
    polygon.contours.push_back(std::move(contour));
    return polygon;
}

PlanPolygon wallPartPolygon(const CWall& wall, const CWallPart& part)
{
    // A band never reaches above the ceiling, however high its definition says it is.
    return polygonIntersection(PlanPolygon::fromRect(0, part.definition.negatedTop(),
                                                     wall.sceneLength,
                                                     -part.definition.relativeBottom),
                               wallPolygon(wall));
}

RRect flatFacilityRect(const CFlatFacility& flat)
{
    IntSize size = flat.flatSize;
    if (size.width == 0 && flat.facilityModel)
        size = flat.facilityModel->defaultFlatSize();
    const double w = positiveOr(size.width, kFallbackSize);
    const double h = positiveOr(size.height, kFallbackSize);
    return {flat.position.x, flat.position.y, flat.position.x + w, flat.position.y + h};
}

core::dimension2d<double> wallPartTileSize(const CWallPart& part)
{
    return ceramicTileSize(part.ceramicTileSize, part.facilityModel);
}

bool wallPartShown(const CWallPart& part)
{
    // The stored visible flag hides nothing; only a band switched off in the wall setup is
    // hidden whatever its height.
    return part.definition.hasBand && part.definition.height > 0 &&
           std::isfinite(part.definition.height) && std::isfinite(part.definition.relativeBottom);
}

void BuildWallScene(scene::ISceneNode* roomNode, CWall& wall, CSolidDocument& document)
{
    if (!roomNode)
        return;
    scene::ISceneManager* smgr = roomNode->getSceneManager();
    const WallFrame frame = wallFrame(document, wall);
    wall.sceneDocument = &document;
    wall.sceneStart = frame.start;
    wall.sceneAngle = frame.angle;
    wall.sceneLength = frame.valid ? frame.length : 0;
    wall.sceneHeight = shownHeight(wall);
    if (!wall.scene) {
        wall.scene = CWall::ScenePtr(new SolidWallScene(), deleteWallScene);
        wall.scene->group = smgr->addDummyTransformationSceneNode(roomNode);
        wall.scene->group->setAutomaticCulling(scene::EAC_OFF);
    }
    for (auto& part : wall.wallParts)
        BuildWallPartScene(wall, *part);
    for (auto& flat : wall.flatFacilities)
        RebuildFlatFacility(wall, *flat);

    SolidWallScene& record = *wall.scene;
    dropSelector(record.faceSelector);
    dropSelector(record.planeSelector);
    dropMesh(record.faceMesh);
    dropMesh(record.planeMesh);
    record.faceMesh = faceMeshOf(wallPolygon(wall));
    record.planeMesh =
        faceMeshOf(PlanPolygon::fromRect(-kWholePlane, -kWholePlane, kWholePlane, kWholePlane));
    record.faceSelector = smgr->createTriangleSelector(record.faceMesh, record.group);
    record.planeSelector = smgr->createTriangleSelector(record.planeMesh, record.group);

    static_cast<scene::IDummyTransformationSceneNode*>(record.group)
        ->getRelativeTransformationMatrix() = wallMatrix(frame);
    record.group->updateAbsolutePosition();
}

void BuildWallPartScene(CWall& wall, CWallPart& part)
{
    if (!wallGroupNode(wall))
        return;
    if (!wallPartShown(part)) {
        if (scene::IMeshSceneNode* node = wallPartNode(part))
            node->setVisible(false);
        return;
    }
    surfaceOf(wall, part).node->setVisible(true);
    rebuildPartGeometry(wall, part, cuttingFootprints(wall));
}

void RebuildFlatFacility(CWall& wall, CFlatFacility& flat)
{
    const RRect r = flatFacilityRect(flat);
    flat.clippedPolygon = polygonIntersection(
        PlanPolygon::fromRect(r.left, r.top, r.right, r.bottom), wallPolygon(wall));
    RebuildWallCutOuts(wall);
}

void RebuildWallCutOuts(CWall& wall)
{
    if (!wallGroupNode(wall))
        return;
    const std::vector<PlanPolygon> cuts = cuttingFootprints(wall);
    for (auto& part : wall.wallParts)
        if (wallPartNode(*part) && wallPartShown(*part))
            rebuildPartGeometry(wall, *part, cuts);
    for (auto& flat : wall.flatFacilities)
        rebuildFlatGeometry(wall, *flat);
}

void SetWallPartPicture(CWall& wall, CWallPart& part, CFacilityModel* picture)
{
    part.facilityModel = picture;
    part.ceramicTileSize = IntSize{0, 0};
    if (wallPartNode(part) && wallPartShown(part))
        rebuildPartGeometry(wall, part, cuttingFootprints(wall));
}

void releaseWallScene(CWall& wall)
{
    for (auto& part : wall.wallParts)
        part->scene.reset(); // drops the mesh; the group's removal takes the node
    for (auto& flat : wall.flatFacilities) {
        flat->scene.reset();
        flat->clippedPolygon = PlanPolygon();
    }
    if (scene::ISceneNode* group = wallGroupNode(wall))
        group->remove(); // takes the band and item nodes with it
    wall.scene.reset();  // drops the picking meshes and selectors
    wall.sceneDocument = nullptr;
}

scene::ISceneNode* wallGroupNode(const CWall& wall)
{
    return wall.scene ? wall.scene->group : nullptr;
}

scene::IMesh* wallFaceMesh(const CWall& wall)
{
    return wall.scene ? wall.scene->faceMesh : nullptr;
}

scene::ITriangleSelector* wallFaceSelector(const CWall& wall)
{
    return wall.scene ? wall.scene->faceSelector : nullptr;
}

scene::ITriangleSelector* wallPlaneSelector(const CWall& wall)
{
    return wall.scene ? wall.scene->planeSelector : nullptr;
}

scene::IMeshSceneNode* wallPartNode(const CWallPart& part)
{
    return part.scene ? part.scene->node : nullptr;
}

scene::SMesh* wallPartMesh(const CWallPart& part)
{
    return part.scene ? part.scene->mesh : nullptr;
}

scene::IMeshSceneNode* flatFacilityNode(const CFlatFacility& flat)
{
    return flat.scene ? flat.scene->node : nullptr;
}

scene::SMesh* flatFacilityMesh(const CFlatFacility& flat)
{
    return flat.scene ? flat.scene->mesh : nullptr;
}

void releaseFlatFacilityScene(CFlatFacility& flat)
{
    if (scene::IMeshSceneNode* node = flatFacilityNode(flat))
        node->remove();
    flat.scene.reset();
    flat.clippedPolygon = PlanPolygon();
}

} // namespace vs
