#include "edit/CeilingRefresh.h"

#include "ceiling/GridLayout.h"
#include "ceiling/PlanPicture.h"
#include "document/CGridMapping.h"
#include "document/CSolidLight.h"
#include "edit/DesignView.h"
#include "scene/LightScene.h"
#include "scene/TowerScene.h"

namespace vs {

void repaintPlane(CGridMapping& plane, const IRect& pixelRect, const PlanHighlight* highlight)
{
    if (!isEmptyRect(pixelRect))
        repaintPlanRect(plane, pixelRect, highlight);
}

void repaintBends(const std::vector<CGridMapping*>& bends)
{
    for (CGridMapping* bend : bends)
        if (bend != nullptr)
            repaintPlanRect(*bend, bend->pixelRect);
}

void refreshHostScene(DesignView& view, CHost& host)
{
    if (host.tower > 0 && view.sceneManager() != nullptr)
        buildTower(host, view.sceneManager());
    if (host.light != nullptr)
        updateLightNode(*host.light);
}

} // namespace vs
