#include "edit/FacilityLayoutCommand.h"

#include "document/CSolidDocument.h"
#include "edit/DesignView.h"
#include "edit/EditCommand.h"
#include "edit/Selection.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/WallScene.h"

#include <algorithm>
#include <set>

namespace {

using FacilityPool = std::vector<std::unique_ptr<CSolidFacility>>;

std::unique_ptr<CSolidFacility> takeFrom(FacilityPool& pool, CSolidFacility* facility)
{
    const auto at = std::find_if(pool.begin(), pool.end(),
                                 [facility](const auto& f) { return f.get() == facility; });
    if (at == pool.end())
        return nullptr;
    std::unique_ptr<CSolidFacility> taken = std::move(*at);
    pool.erase(at);
    return taken;
}

void addUnique(std::vector<CSolidFacility*>& list, CSolidFacility* facility)
{
    if (facility && std::find(list.begin(), list.end(), facility) == list.end())
        list.push_back(facility);
}

/** Every facility whose place in the lists, fields or members differ between the layouts. */
std::vector<CSolidFacility*> involvedIn(const FacilityLayout& a, const FacilityLayout& b)
{
    std::vector<CSolidFacility*> involved;
    for (const FacilityLayout* layout : {&a, &b}) {
        for (const auto& [f, state] : layout->states)
            addUnique(involved, f);
        for (const auto& [group, members] : layout->groups) {
            addUnique(involved, group);
            for (CSolidFacility* m : members)
                addUnique(involved, m);
        }
    }
    for (CSolidFacility* f : a.topLevel)
        if (std::find(b.topLevel.begin(), b.topLevel.end(), f) == b.topLevel.end())
            addUnique(involved, f);
    for (CSolidFacility* f : b.topLevel)
        if (std::find(a.topLevel.begin(), a.topLevel.end(), f) == a.topLevel.end())
            addUnique(involved, f);
    return involved;
}

void addCutWalls(std::set<CWall*>& walls, const std::vector<CSolidFacility*>& facilities)
{
    for (CSolidFacility* f : facilities)
        if (f->stickWall && vs::cutsWall(*f))
            walls.insert(f->stickWall);
}

bool isTopLevel(const CSolidDocument& document, const CSolidFacility* facility)
{
    return std::any_of(document.solidFacilities.begin(), document.solidFacilities.end(),
                       [facility](const auto& f) { return f.get() == facility; });
}

} // namespace

FacilityLayoutCommand::FacilityLayoutCommand(DesignView& view, const QString& text,
                                             FacilityLayout before, FacilityLayout after,
                                             std::vector<std::unique_ptr<CSolidFacility>> created)
    : QUndoCommand(text), view_(view), before_(std::move(before)), after_(std::move(after)),
      held_(std::move(created))
{
}

FacilityLayoutCommand::~FacilityLayoutCommand() = default;

void FacilityLayoutCommand::undo()
{
    apply(before_);
}

void FacilityLayoutCommand::redo()
{
    apply(after_);
}

void FacilityLayoutCommand::apply(const FacilityLayout& layout)
{
    CSolidDocument& document = view_.document();
    Selection& selection = view_.selection();
    const std::vector<CSolidFacility*> involved = involvedIn(before_, after_);

    // Cloaks are hidden while every node still exists; the nodes of whatever moves are made
    // again below, under the parent the layout gives them.
    selection.clear();
    std::set<CWall*> walls;
    addCutWalls(walls, involved);
    for (CSolidFacility* f : involved)
        vs::releaseFacilityNode(*f);

    FacilityPool pool = std::move(held_);
    held_.clear();
    for (std::unique_ptr<CSolidFacility>& f : document.solidFacilities)
        pool.push_back(std::move(f));
    document.solidFacilities.clear();
    for (const auto& [group, members] : layout.groups)
        for (std::unique_ptr<CSolidFacility>& m : group->children)
            pool.push_back(std::move(m));
    for (const auto& [group, members] : layout.groups)
        group->children.clear();

    for (CSolidFacility* f : layout.topLevel)
        if (std::unique_ptr<CSolidFacility> taken = takeFrom(pool, f))
            document.solidFacilities.push_back(std::move(taken));
    for (const auto& [group, members] : layout.groups)
        for (CSolidFacility* m : members)
            if (std::unique_ptr<CSolidFacility> taken = takeFrom(pool, m))
                group->children.push_back(std::move(taken));
    for (std::unique_ptr<CSolidFacility>& f : pool)
        if (f)
            held_.push_back(std::move(f));

    for (const auto& [f, state] : layout.states)
        state.storeInto(*f);
    for (CSolidFacility* f : involved) {
        if (document.roomNode && isTopLevel(document, f))
            vs::buildFacilityNode(*f, document.roomNode, document);
        vs::updateFacilityTransformation(*f, document);
    }
    addCutWalls(walls, involved);
    for (CWall* wall : walls)
        vs::RebuildWallCutOuts(*wall);

    for (CSolidFacility* f : layout.selection)
        if (isTopLevel(document, f))
            selection.add(*f);
    view_.DrawScene();
}

namespace vs {

void runFacilityEdit(DesignView& view, const QString& text, FacilityLayout before,
                     FacilityLayout after, std::vector<std::unique_ptr<CSolidFacility>> created)
{
    runEdit(view, std::make_unique<FacilityLayoutCommand>(view, text, std::move(before),
                                                          std::move(after), std::move(created)));
}

} // namespace vs
