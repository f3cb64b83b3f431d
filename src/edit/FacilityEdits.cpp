#include "edit/FacilityEdits.h"

#include "document/CSolidDocument.h"
#include "edit/DesignView.h"
#include "edit/FacilityLayoutCommand.h"
#include "edit/FacilityPlacement.h"
#include "edit/Selection.h"
#include "scene/WallScene.h"

#include <algorithm>
#include <cmath>

using namespace irr;

namespace {

/** How far a stuck facility's back keeps off the wall's face (as the scene places it). */
constexpr float kWallGap = 2;

template <class Change> void editSelected(DesignView& view, const QString& text, Change change)
{
    const std::vector<CSolidFacility*> items = view.selection().items();
    if (items.empty())
        return;
    CSolidDocument& document = view.document();
    FacilityLayout before = FacilityLayout::capture(document, view.selection(), items);
    FacilityLayout after = before;
    bool changed = false;
    for (auto& [f, state] : after.states)
        changed = change(*f, state) || changed;
    if (changed)
        vs::runFacilityEdit(view, text, std::move(before), std::move(after));
}

float turned(float degrees, float by)
{
    float d = std::fmod(degrees + by, 360.0f);
    return d < 0 ? d + 360.0f : d;
}

void removeFrom(std::vector<CSolidFacility*>& list, const std::vector<CSolidFacility*>& gone)
{
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&gone](CSolidFacility* f) {
                                  return std::find(gone.begin(), gone.end(), f) != gone.end();
                              }),
               list.end());
}

float squaredSize(const CSolidFacility& f)
{
    return f.size.x * f.size.x + f.size.y * f.size.y + f.size.z * f.size.z;
}

/** The selected facility with the largest size; the earlier one on a tie. */
CSolidFacility* referenceMember(const std::vector<CSolidFacility*>& members)
{
    CSolidFacility* reference = members.front();
    for (CSolidFacility* f : members)
        if (squaredSize(*f) > squaredSize(*reference))
            reference = f;
    return reference;
}

bool isDocumentWall(const CSolidDocument& document, const CWall* wall)
{
    return std::any_of(document.walls.begin(), document.walls.end(),
                       [wall](const auto& w) { return w.get() == wall; });
}

core::matrix4 translation(float x, float y, float z)
{
    core::matrix4 m;
    m.setTranslation(core::vector3df(x, y, z));
    return m;
}

core::matrix4 turnY(float degrees)
{
    core::matrix4 m;
    m.setRotationDegrees(core::vector3df(0, degrees, 0));
    return m;
}

} // namespace

namespace vs {

void deleteSelectedFacilities(DesignView& view)
{
    const std::vector<CSolidFacility*> items = view.selection().items();
    if (items.empty())
        return;
    FacilityLayout before = FacilityLayout::capture(view.document(), view.selection(), items);
    FacilityLayout after = before;
    removeFrom(after.topLevel, items);
    after.selection.clear();
    runFacilityEdit(view, QStringLiteral("删除"), std::move(before), std::move(after));
}

void turnSelectedFacilities(DesignView& view, float degrees)
{
    const QString text = degrees > 0 ? QStringLiteral("左转90度") : QStringLiteral("右转90度");
    editSelected(view, text, [degrees](CSolidFacility&, FacilityState& state) {
        state.rotateDegree = turned(state.rotateDegree, degrees);
        return true;
    });
}

void unstickSelectedFacilities(DesignView& view)
{
    CSolidDocument& document = view.document();
    editSelected(view, QStringLiteral("解除贴墙"),
                 [&document](CSolidFacility& f, FacilityState& state) {
                     if (!f.stickWall)
                         return false;
                     state = freeStandingInPlace(f, document);
                     return true;
                 });
}

void stickSelectedToFloor(DesignView& view)
{
    editSelected(view, QStringLiteral("贴地"), [](CSolidFacility&, FacilityState& state) {
        state.position.y = 0;
        return true;
    });
}

void stickSelectedToTop(DesignView& view)
{
    const double top = lowestLayerHeight(view.document());
    editSelected(view, QStringLiteral("贴顶"), [top](CSolidFacility&, FacilityState& state) {
        state.position.y = static_cast<float>(top - state.size.y);
        return true;
    });
}

void stickSelectedToWall(DesignView& view, CWall& wall, float distanceAlongWall)
{
    if (view.selection().size() != 1)
        return;
    editSelected(view, QStringLiteral("当前选择物体贴墙"),
                 [&wall, distanceAlongWall](CSolidFacility&, FacilityState& state) {
                     state.position.x = distanceAlongWall;
                     state.position.z = 0;
                     state.rotateDegree = 0;
                     state.stickWall = &wall;
                     return true;
                 });
}

void groupSelectedFacilities(DesignView& view)
{
    const std::vector<CSolidFacility*> members = view.selection().items();
    if (members.size() < 2)
        return;
    CSolidDocument& document = view.document();
    CSolidFacility* reference = referenceMember(members);
    CWall* wall = isDocumentWall(document, reference->stickWall) ? reference->stickWall : nullptr;

    // The group box, in the room or, against a wall, in the wall's frame.
    const core::matrix4 frame = wall ? wallFrameMatrix(document, *wall) : core::matrix4();
    core::aabbox3df box = facilityRoomBox(*members.front(), document, frame);
    for (CSolidFacility* f : members)
        box.addInternalBox(facilityRoomBox(*f, document, frame));
    const core::vector3df extent = box.getExtent();
    const core::vector3df c((box.MinEdge.X + box.MaxEdge.X) / 2, box.MinEdge.Y,
                            (box.MinEdge.Z + box.MaxEdge.Z) / 2);

    auto group = std::make_unique<CSolidFacility>();
    CSolidFacility* g = group.get();
    FacilityState groupState = FacilityState::of(*g);
    groupState.size = groupState.correctExtent = Vec3f{extent.X, extent.Y, extent.Z};
    groupState.rotateDegree = 0;
    groupState.customZoom = 1;
    groupState.emissive = 0;
    core::matrix4 placement;
    if (!wall) {
        groupState.position = Vec3f{c.X, c.Y, c.Z};
        placement = translation(c.X, c.Y, c.Z);
    } else {
        // Stuck to the wall, the group's box centre lands on c when its distance from the
        // wall is the box's own (see the scene's wall placement: the footprint's wall side
        // keeps position.z + 2 off the wall, the object turned half round on a +z room side).
        const float side = wallRoomSide(document);
        const float offWall = side > 0 ? box.MinEdge.Z - kWallGap : -box.MaxEdge.Z - kWallGap;
        groupState.position = Vec3f{c.X, c.Y, offWall};
        groupState.stickWall = wall;
        placement = frame * translation(c.X, c.Y, c.Z) * turnY(side > 0 ? 180.0f : 0.0f);
    }
    core::matrix4 toGroup;
    placement.getInverse(toGroup);

    FacilityLayout before = FacilityLayout::capture(document, view.selection(), members);
    before.groups.emplace_back(g, std::vector<CSolidFacility*>());
    before.states.emplace_back(g, FacilityState::of(*g));
    FacilityLayout after = before;
    for (auto& [f, state] : after.states) {
        if (f == g) {
            state = groupState;
        } else if (!wall && !f->stickWall) {
            state.position =
                Vec3f{state.position.x - c.X, state.position.y - c.Y, state.position.z - c.Z};
        } else {
            state = withPlacement(state, toGroup * facilityPlacement(*f, document));
        }
    }
    after.groups.front().second = members;
    removeFrom(after.topLevel, members);
    after.topLevel.push_back(g);
    after.selection = {g};
    std::vector<std::unique_ptr<CSolidFacility>> created;
    created.push_back(std::move(group));
    runFacilityEdit(view, QStringLiteral("组合"), std::move(before), std::move(after),
                    std::move(created));
}

void ungroupSelectedFacilities(DesignView& view)
{
    std::vector<CSolidFacility*> groups;
    std::vector<CSolidFacility*> involved;
    for (CSolidFacility* f : view.selection().items()) {
        if (!f->isGroup() || f->children.empty())
            continue;
        groups.push_back(f);
        involved.push_back(f);
        for (const std::unique_ptr<CSolidFacility>& m : f->children)
            if (m)
                involved.push_back(m.get());
    }
    if (groups.empty())
        return;
    CSolidDocument& document = view.document();
    FacilityLayout before = FacilityLayout::capture(document, view.selection(), involved, groups);
    FacilityLayout after = before;
    after.selection.clear();
    for (auto& [group, members] : after.groups) {
        const bool plain = !group->stickWall && group->rotateDegree == 0;
        const core::matrix4 placement = facilityPlacement(*group, document);
        for (CSolidFacility* m : members) {
            FacilityState& state = *after.stateOf(m);
            if (plain) {
                state.position = Vec3f{group->position.x + state.position.x,
                                       group->position.y + state.position.y,
                                       group->position.z + state.position.z};
                state.stickWall = nullptr;
            } else {
                state = withPlacement(state, placement * facilityPlacement(*m, document));
            }
        }
        const auto at = std::find(after.topLevel.begin(), after.topLevel.end(), group);
        if (at != after.topLevel.end())
            after.topLevel.insert(after.topLevel.erase(at), members.begin(), members.end());
        members.clear();
    }
    runFacilityEdit(view, QStringLiteral("解散"), std::move(before), std::move(after));
}

} // namespace vs
