#include "scene/DisplayPreferences.h"

#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "document/SolidViewState.h"
#include "scene/CeilingScene.h"
#include "scene/LightScene.h"

#include <algorithm>

using namespace irr;

namespace vs {
namespace {

const SolidViewState& stateOf(const CSolidDocument& document)
{
    static const SolidViewState defaults;
    return document.viewState ? *document.viewState : defaults;
}

} // namespace

uint8_t roofBackAlpha(const SolidViewState& state)
{
    if (!state.roofBackSemitransparent)
        return 0;
    const int percent = std::clamp(state.roofBackAlphaPercent, 0, 100);
    return static_cast<uint8_t>(percent * 255 / 100);
}

void applyRoofDisplay(CSolidDocument& document)
{
    if (!document.ceiling)
        return;
    const SolidViewState& state = stateOf(document);
    applyCeilingDisplay(*document.ceiling, roofBackAlpha(state), state.roofUseLighting);
}

void applyAmbient(scene::ISceneManager* smgr, int ambientColor)
{
    if (!smgr)
        return;
    // A COLORREF, as the system colour dialog gives it and saved designs hold it: 0x00BBGGRR.
    const auto channel = [&](int shift) { return ((ambientColor >> shift) & 0xFF) / 255.0f; };
    smgr->setAmbientLight(video::SColorf(channel(0), channel(8), channel(16), 1));
}

void applyLightingModel(CSolidDocument& document, bool simpleLighting)
{
    applyLightingModelToLights(simpleLighting, document);
}

void applyDisplayPreferences(CSolidDocument& document, scene::ISceneManager* smgr)
{
    const SolidViewState& state = stateOf(document);
    applyAmbient(smgr, state.ambientColor);
    applyRoofDisplay(document);
    applyLightingModel(document, state.simpleLighting);
}

} // namespace vs
