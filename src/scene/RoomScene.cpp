#include "scene/RoomScene.h"

#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "scene/CCustomSceneNode.h"
#include "scene/CFloorSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/CeilingScene.h"
#include "scene/FacilityScene.h"
#include "scene/LightScene.h"
#include "scene/SceneBudget.h"
#include "scene/WallScene.h"

using namespace irr;

namespace vs {
namespace {

void deleteFloorScene(SolidFloorScene* scene)
{
    if (scene && scene->selector)
        scene->selector->drop();
    delete scene;
}

void buildFloor(CSolidDocument& document, scene::ISceneNode* roomNode)
{
    SolidFloor* floor = document.floor.get();
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;
    if (!floor || !root)
        return;
    SolidFloor::ScenePtr scene(new SolidFloorScene(), deleteFloorScene);
    scene::ISceneManager* smgr = roomNode->getSceneManager();
    scene->node = new CFloorSceneNode(*floor, *root, roomPlanOrigin(document), roomNode, smgr);
    scene->node->drop(); // the room node holds it
    scene->selector = smgr->createTriangleSelector(scene->node->mesh(), scene->node);
    floor->scene = std::move(scene);
}

void releaseFloor(CSolidDocument& document)
{
    SolidFloor* floor = document.floor.get();
    if (!floor || !floor->scene)
        return;
    if (floor->scene->node)
        floor->scene->node->remove();
    floor->scene.reset();
}

} // namespace

void BuildRoomScene(scene::ISceneNode* root, CSolidDocument& document)
{
    if (!root)
        return;
    ReleaseRoomScene(document);
    SceneBudget budget;
    scene::ISceneManager* smgr = root->getSceneManager();
    auto* room = new CRoomSceneNode(&document, root, smgr);
    room->drop();
    document.roomNode = room;
    if (document.ceiling)
        buildCeilingScene(document, room);
    buildFloor(document, room);
    for (auto& facility : document.solidFacilities)
        if (facility)
            buildFacilityNode(*facility, room, document);
    for (auto& wall : document.walls)
        if (wall)
            BuildWallScene(room, *wall, document);
    buildLightNodes(document, room);
}

void ReleaseRoomScene(CSolidDocument& document)
{
    if (!document.roomNode)
        return;
    releaseLightNodes(document);
    for (auto& wall : document.walls)
        if (wall)
            releaseWallScene(*wall);
    releaseFacilityNodes(document);
    releaseFloor(document);
    if (document.ceiling)
        releaseCeilingScene(document);
    document.roomNode->remove();
    document.roomNode = nullptr;
}

void ShowRoomParts(bool showMarkers, CSolidDocument& document, bool full)
{
    if (document.floor && document.floor->scene && document.floor->scene->node)
        document.floor->scene->node->setVisible(full);
    for (auto& wall : document.walls)
        if (wall && wallGroupNode(*wall))
            wallGroupNode(*wall)->setVisible(full);
    for (auto& facility : document.solidFacilities)
        if (CCustomSceneNode* node = facility ? facilityNode(*facility) : nullptr)
            node->setVisible(full);
    showLightMarkers(showMarkers, document);
}

void rebuildFloor(CSolidDocument& document)
{
    if (!document.roomNode)
        return;
    const bool visible = !(document.floor && document.floor->scene && document.floor->scene->node &&
                           !document.floor->scene->node->isVisible());
    releaseFloor(document);
    buildFloor(document, document.roomNode);
    if (document.floor && document.floor->scene && document.floor->scene->node)
        document.floor->scene->node->setVisible(visible);
}

} // namespace vs
