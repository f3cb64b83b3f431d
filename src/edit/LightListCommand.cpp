#include "edit/LightListCommand.h"

#include "document/CSolidDocument.h"
#include "edit/CeilingEdits.h"
#include "edit/DesignView.h"
#include "edit/EditCommand.h"
#include "scene/CRoomSceneNode.h"
#include "scene/LightScene.h"

#include <algorithm>

LightListCommand::LightListCommand(DesignView& view, const QString& text,
                                   std::vector<CSolidLight*> before,
                                   std::vector<CSolidLight*> after,
                                   std::vector<std::unique_ptr<CSolidLight>> created)
    : QUndoCommand(text), view_(view), before_(std::move(before)), after_(std::move(after)),
      held_(std::move(created))
{
}

LightListCommand::~LightListCommand() = default;

void LightListCommand::undo()
{
    apply(before_);
}

void LightListCommand::redo()
{
    apply(after_);
}

void LightListCommand::apply(const std::vector<CSolidLight*>& lights)
{
    CSolidDocument& document = view_.document();
    std::vector<std::unique_ptr<CSolidLight>> pool = std::move(held_);
    held_.clear();
    for (std::unique_ptr<CSolidLight>& light : document.solidLights)
        pool.push_back(std::move(light));
    document.solidLights.clear();
    for (CSolidLight* light : lights) {
        const auto at = std::find_if(pool.begin(), pool.end(),
                                     [light](const auto& l) { return l.get() == light; });
        if (at == pool.end())
            continue;
        document.solidLights.push_back(std::move(*at));
        pool.erase(at);
    }
    for (std::unique_ptr<CSolidLight>& light : pool) {
        vs::releaseLightNode(*light);
        held_.push_back(std::move(light));
    }
    if (document.roomNode) {
        for (std::unique_ptr<CSolidLight>& light : document.solidLights)
            if (!vs::lightNode(*light))
                vs::buildLightNode(*light, document.roomNode);
        vs::applyLightingModelToLights(vs::usesSimpleLighting(document), document);
    }
    view_.DrawScene();
}

namespace vs {

namespace {

std::vector<CSolidLight*> userLights(const CSolidDocument& document)
{
    std::vector<CSolidLight*> lights;
    for (const std::unique_ptr<CSolidLight>& light : document.solidLights)
        lights.push_back(light.get());
    return lights;
}

} // namespace

void deleteLight(DesignView& view, CSolidLight& light)
{
    if (light.isMain)
        return;
    if (light.host) {
        deleteCeilingHost(view, *light.host);
        return;
    }
    const std::vector<CSolidLight*> before = userLights(view.document());
    std::vector<CSolidLight*> after = before;
    const auto at = std::find(after.begin(), after.end(), &light);
    if (at == after.end())
        return;
    after.erase(at);
    runEdit(view, std::make_unique<LightListCommand>(view, QStringLiteral("删除"), before, after));
}

void addLight(DesignView& view, std::unique_ptr<CSolidLight> light)
{
    if (!light)
        return;
    const std::vector<CSolidLight*> before = userLights(view.document());
    std::vector<CSolidLight*> after = before;
    after.push_back(light.get());
    std::vector<std::unique_ptr<CSolidLight>> created;
    created.push_back(std::move(light));
    runEdit(view, std::make_unique<LightListCommand>(view, QStringLiteral("放置光源"), before,
                                                     after, std::move(created)));
}

} // namespace vs
