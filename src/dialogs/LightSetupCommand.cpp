#include "dialogs/LightSetupCommand.h"

#include "document/CSolidDocument.h"
#include "scene/CSceneView.h"
#include "scene/LightScene.h"

LightSetupCommand::State LightSetupCommand::capture(const CSolidLight& light)
{
    State s;
    s.data = LightData::of(light);
    s.isVisible = light.isVisible;
    if (light.document != nullptr)
        for (auto* list : {&light.document->solidLights, &light.document->defaultSolidLights})
            for (const auto& l : *list)
                s.shadows.emplace_back(l.get(), l->castShadows);
    return s;
}

LightSetupCommand::LightSetupCommand(CSceneView& wnd, CSolidLight& light, State before, State after)
    : QUndoCommand(QStringLiteral("光源设置")), wnd_(wnd), light_(light),
      before_(std::move(before)), after_(std::move(after))
{
}

void LightSetupCommand::undo()
{
    apply(before_);
}

void LightSetupCommand::redo()
{
    apply(after_);
}

void LightSetupCommand::apply(const State& state)
{
    for (const auto& [light, shadows] : state.shadows)
        light->castShadows = shadows;
    state.data.storeInto(light_);
    light_.isVisible = state.isVisible;
    vs::updateLightNode(light_);
    // The switch shows the light only while its list is the active lighting model's.
    if (light_.document != nullptr)
        vs::applyLightingModelToLights(vs::usesSimpleLighting(*light_.document), *light_.document);
    wnd_.DrawScene();
}
