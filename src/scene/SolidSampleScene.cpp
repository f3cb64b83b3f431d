#include "scene/SolidSampleScene.h"

#include "ceiling/SolidSampleMapping.h"
#include "document/CSolidDocument.h"
#include "scene/CCustomSceneNode.h"
#include "scene/CFloorSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/RoomScene.h"
#include "scene/SceneBudget.h"
#include "scene/WallScene.h"

namespace vs {
namespace {

/** Whether the room's floor-level parts (floor, walls, facilities) are shown now. */
bool roomPartsShown(const CSolidDocument& document)
{
    if (document.floor && document.floor->scene && document.floor->scene->node)
        return document.floor->scene->node->isVisible();
    for (const auto& wall : document.walls)
        if (wallGroupNode(*wall) != nullptr)
            return wallGroupNode(*wall)->isVisible();
    return true;
}

} // namespace

void exchangeShownSolidContents(CSolidDocument& document, SolidContents& contents)
{
    irr::scene::ISceneNode* room = document.roomNode;
    if (room == nullptr || contents.walls.size() != document.walls.size()) {
        exchangeSolidContents(document, contents); // (refuses contents of another room)
        return;
    }
    const bool shown = roomPartsShown(document);
    releaseFacilityNodes(document);
    for (auto& wall : document.walls)
        releaseWallScene(*wall);
    exchangeSolidContents(document, contents);

    SceneBudget budget;
    for (auto& facility : document.solidFacilities) {
        buildFacilityNode(*facility, room, document);
        if (CCustomSceneNode* node = facilityNode(*facility))
            node->setVisible(shown);
    }
    for (auto& wall : document.walls) {
        BuildWallScene(room, *wall, document);
        if (wallGroupNode(*wall) != nullptr)
            wallGroupNode(*wall)->setVisible(shown);
    }
}

} // namespace vs
