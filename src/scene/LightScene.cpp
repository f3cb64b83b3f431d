#include "scene/LightScene.h"

#include "document/CSolidDocument.h"
#include "document/CSolidLight.h"
#include "document/SolidViewState.h"
#include "scene/SceneEngine.h"

using namespace irr;

namespace vs {
namespace {

/** Lights point down: the engine's light direction (0, 0, 1) turned about x. */
const core::vector3df kLightTurn(90, 0, 0);
constexpr u32 kMarkerSegments = 16;

video::SColorf colour(const Colorf& c)
{
    return video::SColorf(c.r, c.g, c.b, c.a);
}

core::vector3df vector(const Vec3f& v)
{
    return core::vector3df(v.x, v.y, v.z);
}

void addMarker(CSolidLight& light, scene::ISceneManager* smgr, scene::ISceneNode* parent)
{
    scene::IMeshSceneNode* marker = smgr->addSphereSceneNode(
        lightMarkerRadius, kMarkerSegments, parent, -1, vector(light.position), kLightTurn);
    if (marker == nullptr)
        return;
    marker->setMaterialFlag(video::EMF_LIGHTING, false);
    marker->setMaterialFlag(video::EMF_WIREFRAME, true);
    marker->setVisible(light.markerShown);
    light.scene->marker = marker;
    light.scene->markerSelector = smgr->createTriangleSelector(marker->getMesh(), marker);
}

void showLight(CSolidLight& light, bool active)
{
    if (scene::ILightSceneNode* node = lightNode(light))
        node->setVisible(active && light.isVisible);
    if (scene::IMeshSceneNode* marker = lightMarkerNode(light))
        marker->setVisible(active && light.markerShown);
}

void deleteLightScene(SolidLightScene* record)
{
    if (record != nullptr && record->markerSelector != nullptr)
        record->markerSelector->drop();
    delete record;
}

template <typename Fn> void forEachLight(std::vector<std::unique_ptr<CSolidLight>>& lights, Fn fn)
{
    for (std::unique_ptr<CSolidLight>& light : lights)
        if (light)
            fn(*light);
}

} // namespace

scene::ILightSceneNode* lightNode(const CSolidLight& light)
{
    return light.scene ? light.scene->light : nullptr;
}

scene::IMeshSceneNode* lightMarkerNode(const CSolidLight& light)
{
    return light.scene ? light.scene->marker : nullptr;
}

scene::ITriangleSelector* lightMarkerSelector(const CSolidLight& light)
{
    return light.scene ? light.scene->markerSelector : nullptr;
}

video::SLight engineLight(const CSolidLight& light)
{
    video::SLight data;
    data.AmbientColor = colour(light.ambientColor);
    data.DiffuseColor = colour(light.diffuseColor);
    data.SpecularColor = colour(light.specularColor);
    data.Attenuation = vector(light.attenuation);
    data.OuterCone = light.outerCone;
    data.InnerCone = light.innerCone;
    data.Falloff = light.falloff;
    data.Position = vector(light.position);
    data.Direction = vector(light.direction);
    data.Radius = light.radius;
    switch (light.type) {
    case CSolidLight::Spot:
        data.Type = video::ELT_SPOT;
        break;
    case CSolidLight::Directional:
        data.Type = video::ELT_DIRECTIONAL;
        break;
    default:
        data.Type = video::ELT_POINT;
        break;
    }
    data.CastShadows = light.castShadows;
    return data;
}

void buildLightNode(CSolidLight& light, scene::ISceneNode* parent)
{
    releaseLightNode(light);
    scene::ISceneManager* smgr = sceneManager();
    if (smgr == nullptr)
        return;
    scene::ILightSceneNode* node = smgr->addLightSceneNode(
        parent, vector(light.position), colour(light.diffuseColor), light.radius, -1);
    if (node == nullptr)
        return;
    light.scene = CSolidLight::ScenePtr(new SolidLightScene(), deleteLightScene);
    light.scene->light = node;
    updateLightNode(light);
    addMarker(light, smgr, parent);
}

void buildLightNodes(CSolidDocument& document, scene::ISceneNode* roomNode)
{
    forEachLight(document.solidLights, [&](CSolidLight& l) { buildLightNode(l, roomNode); });
    forEachLight(document.defaultSolidLights, [&](CSolidLight& l) { buildLightNode(l, roomNode); });
    applyLightingModelToLights(usesSimpleLighting(document), document);
}

void releaseLightNode(CSolidLight& light)
{
    if (!light.scene)
        return;
    if (light.scene->marker != nullptr)
        light.scene->marker->remove();
    if (light.scene->light != nullptr)
        light.scene->light->remove();
    light.scene.reset(); // drops the marker's selector
}

void releaseLightNodes(CSolidDocument& document)
{
    forEachLight(document.solidLights, releaseLightNode);
    forEachLight(document.defaultSolidLights, releaseLightNode);
}

void updateLightNode(CSolidLight& light)
{
    previewLightNode(light, light);
}

void previewLightNode(CSolidLight& light, const CSolidLight& values)
{
    if (scene::ILightSceneNode* node = lightNode(light)) {
        const video::SLight data = engineLight(values);
        // setRadius also rewrites the attenuation, so the whole record goes in last.
        node->setRadius(data.Radius);
        node->setLightType(data.Type);
        node->setLightData(data);
        node->setPosition(data.Position);
        node->setRotation(kLightTurn);
        node->setVisible(values.isVisible);
        node->updateAbsolutePosition();
    }
    if (scene::IMeshSceneNode* marker = lightMarkerNode(light)) {
        marker->setPosition(vector(values.position));
        marker->updateAbsolutePosition();
    }
}

void applyLightingModelToLights(bool simpleLighting, CSolidDocument& document)
{
    forEachLight(document.solidLights, [&](CSolidLight& l) { showLight(l, !simpleLighting); });
    forEachLight(document.defaultSolidLights,
                 [&](CSolidLight& l) { showLight(l, simpleLighting); });
}

void showLightMarkers(bool show, bool simpleLighting, CSolidDocument& document)
{
    auto& active = simpleLighting ? document.defaultSolidLights : document.solidLights;
    forEachLight(active, [&](CSolidLight& l) { setLightMarkerShown(l, show); });
}

void showLightMarkers(bool show, CSolidDocument& document)
{
    showLightMarkers(show, usesSimpleLighting(document), document);
}

void setLightMarkerShown(CSolidLight& light, bool show)
{
    light.markerShown = show;
    if (scene::IMeshSceneNode* marker = lightMarkerNode(light))
        marker->setVisible(show);
}

bool usesSimpleLighting(const CSolidDocument& document)
{
    return document.viewState == nullptr || document.viewState->simpleLighting;
}

} // namespace vs
