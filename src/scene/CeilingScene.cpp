#include "scene/CeilingScene.h"
#include "scene/WallScene.h"

#include "ceiling/PlanPicture.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSolidLight.h"
#include "document/SolidCeiling.h"
#include "scene/CBendGridMappingSceneNode.h"
#include "scene/CRoofSceneNode.h"
#include "scene/GridMappingScene.h"
#include "scene/LightScene.h"
#include "scene/SectionBarScene.h"
#include "scene/TowerScene.h"

#include <limits>
#include <memory>

using namespace irr;

// ---- Hooks ----

void CCeilingSceneHooks::tileAdded(CTile& tile)
{
    vs::buildTower(tile, smgr_);
}

void CCeilingSceneHooks::tileRemoved(CTile& tile)
{
    vs::removeTower(tile);
}

void CCeilingSceneHooks::pictureChanged(CGridMapping& plane)
{
    if (auto* node = dynamic_cast<CGridMappingSceneNode*>(vs::planeNode(plane)))
        node->updateTexture();
}

namespace vs {
namespace {

CGridMappingSceneNode* gridNode(const CGridMapping& plane)
{
    return dynamic_cast<CGridMappingSceneNode*>(planeNode(plane));
}

/** Visits plane, its bends, its split lines' bends and all descendants. */
template <typename Visit> void forEachPlane(CGridMapping& plane, const Visit& visit)
{
    visit(plane);
    for (auto& bend : plane.bends)
        if (bend)
            visit(*bend);
    for (auto& line : plane.splitLines)
        if (line->bend)
            visit(*line->bend);
    for (auto& child : plane.children)
        forEachPlane(*child, visit);
}

/** Every section line of plane: its trustee lines and its split lines' bars. */
template <typename Visit> void forEachSectionLine(CGridMapping& plane, const Visit& visit)
{
    for (auto& line : plane.trusteeSectionLines)
        visit(*line);
    for (auto& split : plane.splitLines)
        if (split->sectionLine)
            visit(*split->sectionLine);
}

template <typename Visit> void forEachCandy(CGridMapping& plane, const Visit& visit)
{
    for (auto& tile : plane.tiles)
        visit(*tile);
    for (auto& host : plane.hosts)
        visit(*host);
}

void addBendNode(CGridMapping& bend, const RPoint& start, const RPoint& end,
                 scene::ISceneNode* parent, scene::ISceneManager* smgr)
{
    auto* node = new CBendGridMappingSceneNode(&bend, start, end, parent, smgr);
    node->initialise();
    node->drop();
}

void addDockBends(CGridMapping& child, scene::ISceneNode* parent, scene::ISceneManager* smgr)
{
    const RRect& b = child.outlineBounds;
    const RPoint corners[4] = {
        {b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}};
    for (int k = 0; k < 4; ++k)
        if (child.bends[size_t(k)])
            addBendNode(*child.bends[size_t(k)], corners[k], corners[(k + 1) % 4], parent, smgr);
}

void buildPlane(CGridMapping& plane, scene::ISceneNode* parent, scene::ISceneManager* smgr)
{
    if (plane.isSplit()) {
        for (auto& child : plane.children)
            buildPlane(*child, parent, smgr);
        for (auto& line : plane.splitLines) {
            if (line->bend && line->child && planeNode(*line->child))
                addBendNode(*line->bend, line->bendStart, line->bendEnd, planeNode(*line->child),
                            smgr);
            else if (line->sectionLine)
                buildSectionBar(*line->sectionLine, parent, smgr);
        }
    } else {
        auto* node = new CGridMappingSceneNode(&plane, parent, smgr);
        node->initialise();
        node->drop();
        GridMappingScene& record = planeScene(plane);
        record.selectors[0] = smgr->createTriangleSelector(node->faceMesh(), node);
        record.selectors[1] = smgr->createTriangleSelector(node->pickingMesh(), node);
        for (auto& child : plane.children) {
            addDockBends(*child, node, smgr);
            buildPlane(*child, node, smgr);
        }
        forEachCandy(plane, [&](CCandy& candy) { buildTower(candy, smgr); });
    }
    for (auto& line : plane.trusteeSectionLines)
        buildSectionBar(*line, parent, smgr);
}

void forgetPlaneScene(CGridMapping& plane)
{
    if (CGridMappingSceneNode* node = gridNode(plane))
        node->releaseTexture();
    forgetPlaneNode(plane); // drops the selectors
    forEachCandy(plane, [](CCandy& candy) { forgetTower(candy); });
    forEachSectionLine(plane, [](CSectionLine& line) { forgetSectionBar(line); });
}

void invertPlane(CGridMapping& plane, double axisSum, double lightAxisSum,
                 scene::ISceneManager* smgr)
{
    for (auto& host : plane.hosts)
        if (host->light) {
            host->light->position.z = static_cast<f32>(lightAxisSum - host->light->position.z);
            updateLightNode(*host->light);
        }
    if (CGridMappingSceneNode* node = gridNode(plane)) {
        node->mirror(axisSum);
        scene::ITriangleSelector*& face = planeScene(plane).selectors[0];
        if (face) {
            face->drop();
            face = smgr->createTriangleSelector(node->faceMesh(), node);
        }
    }
    for (auto& bend : plane.bends)
        if (bend && gridNode(*bend))
            gridNode(*bend)->mirror(axisSum);
    for (auto& line : plane.splitLines)
        if (line->bend && gridNode(*line->bend))
            gridNode(*line->bend)->mirror(axisSum);
    // Towers are rebuilt in the new frame (the document's inverted flag is already flipped).
    forEachCandy(plane, [&](CCandy& candy) {
        if (towerTop(candy))
            buildTower(candy, smgr);
    });
    forEachSectionLine(plane, [&](CSectionLine& line) { mirrorSectionBar(line, axisSum); });
    for (auto& child : plane.children)
        invertPlane(*child, axisSum, lightAxisSum, smgr);
}

void pickPlane(CGridMapping& plane, const core::line3df& ray, scene::ISceneCollisionManager& cm,
               CeilingPick& best, double& bestDistance)
{
    if (scene::ITriangleSelector* face = planeSelectors(plane)[0]) {
        core::vector3df point;
        core::triangle3df triangle;
        scene::ISceneNode* hitNode = nullptr;
        if (cm.getCollisionPoint(ray, face, point, triangle, hitNode) &&
            triangle.isFrontFacing(point - ray.start)) {
            const double distance = point.getDistanceFromSQ(ray.start);
            if (distance < bestDistance) {
                bestDistance = distance;
                best.plane = &plane;
                best.point = point;
            }
        }
    }
    for (auto& child : plane.children)
        pickPlane(*child, ray, cm, best, bestDistance);
}

} // namespace

void buildCeilingScene(CSolidDocument& document, scene::ISceneNode* roomNode)
{
    SolidCeiling* ceiling = document.ceiling.get();
    if (!ceiling || !ceiling->root || !roomNode || !roomNode->getSceneManager())
        return;
    releaseCeilingScene(document);
    scene::ISceneManager* smgr = roomNode->getSceneManager();
    auto* roof = new CRoofSceneNode(ceiling, roomNode, smgr);
    roof->drop();
    // The room's floor, walls, facilities and lights stand relative to the corner of the root
    // plane's indented bounds; the ceiling keeps its plan coordinates under a roof moved there.
    const RPoint origin = roomPlanOrigin(document);
    irr::core::matrix4 placement = roof->relativeTransformationMatrix();
    placement.setTranslation({static_cast<float>(-origin.x), CRoofSceneNode::kBaseCeilingHeight,
                              static_cast<float>(-origin.y)});
    roof->setRelativeTransformationMatrix(placement);
    ceiling->roofNode = roof;
    roof->setHooks(std::make_unique<CCeilingSceneHooks>(smgr));
    ceiling->sceneHooks = roof->hooks();
    buildPlane(*ceiling->root, roof, smgr);
}

void releaseCeilingScene(CSolidDocument& document)
{
    SolidCeiling* ceiling = document.ceiling.get();
    if (!ceiling)
        return;
    if (ceiling->root)
        forEachPlane(*ceiling->root, forgetPlaneScene);
    if (ceiling->roofNode && ceiling->sceneHooks == ceiling->roofNode->hooks())
        ceiling->sceneHooks = nullptr;
    if (ceiling->roofNode)
        ceiling->roofNode->remove();
    ceiling->roofNode = nullptr;
}

void invertCeiling(CSolidDocument& document)
{
    SolidCeiling* ceiling = document.ceiling.get();
    if (!ceiling || !ceiling->root || !ceiling->roofNode)
        return;
    const RRect& b = ceiling->root->indentedBounds;
    if (!(b.top <= b.bottom))
        return;
    document.inverted = !document.inverted;
    // The ceiling mirrors in plan coordinates under its roof; lights stand relative to the
    // room's corner, so their axis is moved by it.
    const double corner = roomPlanOrigin(document).y;
    invertPlane(*ceiling->root, b.top + b.bottom, b.top + b.bottom - 2 * corner,
                ceiling->roofNode->getSceneManager());
}

CeilingPick pickCeiling(CGridMapping& plane, const core::line3df& ray, scene::ISceneManager* smgr)
{
    CeilingPick best;
    if (!smgr || !smgr->getSceneCollisionManager())
        return best;
    double bestDistance = std::numeric_limits<double>::infinity();
    pickPlane(plane, ray, *smgr->getSceneCollisionManager(), best, bestDistance);
    return best;
}

void applyCeilingDisplay(SolidCeiling& ceiling, uint8_t backAlpha, bool lighting)
{
    if (!ceiling.root)
        return;
    forEachPlane(*ceiling.root, [&](CGridMapping& plane) {
        if (plane.picture.isNull())
            plane.pictureAlpha = backAlpha;
        else
            setPictureAlpha(plane, backAlpha);
        if (scene::ISceneNode* node = planeNode(plane))
            node->setMaterialFlag(video::EMF_LIGHTING, lighting);
    });
}

} // namespace vs
