#include "edit/FacilityLayout.h"

#include "document/CSolidDocument.h"
#include "edit/Selection.h"

#include <algorithm>

FacilityState FacilityState::of(const CSolidFacility& facility)
{
    FacilityState s;
    s.position = facility.position;
    s.rotateDegree = facility.rotateDegree;
    s.stickWall = facility.stickWall;
    s.size = facility.size;
    s.correctExtent = facility.correctExtent;
    s.customZoom = facility.customZoom;
    s.emissive = facility.emissive;
    return s;
}

void FacilityState::storeInto(CSolidFacility& facility) const
{
    facility.position = position;
    facility.rotateDegree = rotateDegree;
    facility.stickWall = stickWall;
    facility.size = size;
    facility.correctExtent = correctExtent;
    facility.customZoom = customZoom;
    facility.emissive = emissive;
}

FacilityLayout FacilityLayout::capture(const CSolidDocument& document, const Selection& selection,
                                       const std::vector<CSolidFacility*>& facilities,
                                       const std::vector<CSolidFacility*>& groups)
{
    FacilityLayout layout;
    for (const std::unique_ptr<CSolidFacility>& f : document.solidFacilities)
        if (f)
            layout.topLevel.push_back(f.get());
    for (CSolidFacility* group : groups) {
        std::vector<CSolidFacility*> members;
        for (const std::unique_ptr<CSolidFacility>& m : group->children)
            if (m)
                members.push_back(m.get());
        layout.groups.emplace_back(group, std::move(members));
    }
    for (CSolidFacility* f : facilities)
        layout.states.emplace_back(f, FacilityState::of(*f));
    layout.selection = selection.items();
    return layout;
}

FacilityState* FacilityLayout::stateOf(const CSolidFacility* facility)
{
    for (auto& [f, state] : states)
        if (f == facility)
            return &state;
    return nullptr;
}

std::vector<CSolidFacility*>* FacilityLayout::membersOf(const CSolidFacility* group)
{
    for (auto& [g, members] : groups)
        if (g == group)
            return &members;
    return nullptr;
}
