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
    light.markerNode = marker;
    light.markerSelector = smgr->createTriangleSelector(marker->getMesh(), marker);
}

void showLight(CSolidLight& light, bool active)
{
    if (light.lightNode != nullptr)
        light.lightNode->setVisible(active && light.isVisible);
    if (light.markerNode != nullptr)
        light.markerNode->setVisible(active && light.markerShown);
}

template <typename Fn> void forEachLight(std::vector<std::unique_ptr<CSolidLight>>& lights, Fn fn)
{
    for (std::unique_ptr<CSolidLight>& light : lights)
        if (light)
            fn(*light);
}

} // namespace

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
    light.lightNode = node;
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
    if (light.markerSelector != nullptr)
        light.markerSelector->drop();
    light.markerSelector = nullptr;
    if (light.markerNode != nullptr)
        light.markerNode->remove();
    light.markerNode = nullptr;
    if (light.lightNode != nullptr)
        light.lightNode->remove();
    light.lightNode = nullptr;
}

void releaseLightNodes(CSolidDocument& document)
{
    forEachLight(document.solidLights, releaseLightNode);
    forEachLight(document.defaultSolidLights, releaseLightNode);
}

void updateLightNode(CSolidLight& light)
{
    if (light.lightNode != nullptr) {
        const video::SLight data = engineLight(light);
        // setRadius also rewrites the attenuation, so the whole record goes in last.
        light.lightNode->setRadius(data.Radius);
        light.lightNode->setLightType(data.Type);
        light.lightNode->setLightData(data);
        light.lightNode->setPosition(data.Position);
        light.lightNode->setRotation(kLightTurn);
        light.lightNode->setVisible(light.isVisible);
        light.lightNode->updateAbsolutePosition();
    }
    if (light.markerNode != nullptr) {
        light.markerNode->setPosition(vector(light.position));
        light.markerNode->updateAbsolutePosition();
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
    if (light.markerNode != nullptr)
        light.markerNode->setVisible(show);
}

bool usesSimpleLighting(const CSolidDocument& document)
{
    return document.viewState == nullptr || document.viewState->simpleLighting;
}

} // namespace vs
