#include "scene/GridMappingScene.h"

#include "document/CGridMapping.h"

namespace vs {
namespace {

void deletePlaneScene(GridMappingScene* record)
{
    if (record == nullptr)
        return;
    for (irr::scene::ITriangleSelector* selector : record->selectors)
        if (selector != nullptr)
            selector->drop();
    delete record;
}

} // namespace

irr::scene::ISceneNode* planeNode(const CGridMapping& plane)
{
    return plane.scene ? plane.scene->node : nullptr;
}

std::array<irr::scene::ITriangleSelector*, 2> planeSelectors(const CGridMapping& plane)
{
    if (!plane.scene)
        return {};
    return plane.scene->selectors;
}

GridMappingScene& planeScene(CGridMapping& plane)
{
    if (!plane.scene)
        plane.scene = CGridMapping::ScenePtr(new GridMappingScene(), deletePlaneScene);
    return *plane.scene;
}

void forgetPlaneNode(CGridMapping& plane)
{
    plane.scene.reset();
}

} // namespace vs
