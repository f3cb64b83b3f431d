#include "edit/Selection.h"

#include "document/CSolidFacility.h"
#include "scene/CCubicCloakSceneNode.h"
#include "scene/FacilityScene.h"

#include <algorithm>

namespace {

void showCloak(const CSolidFacility* facility, bool shown)
{
    if (facility != nullptr && vs::cloakNode(*facility) != nullptr)
        vs::cloakNode(*facility)->setVisible(shown);
}

} // namespace

bool Selection::contains(const CSolidFacility* facility) const
{
    return std::find(items_.begin(), items_.end(), facility) != items_.end();
}

void Selection::add(CSolidFacility& facility)
{
    if (!contains(&facility))
        items_.push_back(&facility);
    showCloak(&facility, true);
}

void Selection::clear()
{
    for (CSolidFacility* facility : items_)
        showCloak(facility, false);
    items_.clear();
}

void Selection::selectOnly(CSolidFacility& facility)
{
    clear();
    add(facility);
}

void Selection::forget(const CSolidFacility* facility)
{
    if (!contains(facility))
        return;
    showCloak(facility, false);
    items_.erase(std::remove(items_.begin(), items_.end(), facility), items_.end());
}

void Selection::showCloaks()
{
    for (CSolidFacility* facility : items_)
        showCloak(facility, true);
}
