#include "edit/SurfaceCommand.h"

#include "document/CSolidDocument.h"
#include "edit/DesignView.h"
#include "edit/DragCommands.h"
#include "edit/EditCommand.h"
#include "scene/RoomScene.h"
#include "scene/WallScene.h"

#include <algorithm>
#include <set>

namespace {

/** Clips every item of the wall again and rebuilds its cut-outs. */
void rebuildWall(CWall& wall)
{
    for (std::unique_ptr<CFlatFacility>& flat : wall.flatFacilities)
        if (flat)
            vs::RebuildFlatFacility(wall, *flat);
    vs::RebuildWallCutOuts(wall);
}

} // namespace

void SurfaceLook::addFloor(const CSolidDocument& document)
{
    if (!document.floor)
        return;
    floor = Floor{document.floor->facilityModel, document.floor->ceramicTileSize};
}

void SurfaceLook::addPart(CWall& wall, CWallPart& part)
{
    parts.push_back(Part{&wall, &part, part.facilityModel, part.ceramicTileSize});
}

void SurfaceLook::addFlat(CWall& wall, CFlatFacility& flat)
{
    flats.push_back(Flat{&wall, &flat, flat.flatSize, flat.position});
}

void SurfaceLook::addFlatList(CWall& wall)
{
    std::vector<CFlatFacility*> list;
    for (const std::unique_ptr<CFlatFacility>& flat : wall.flatFacilities)
        list.push_back(flat.get());
    flatLists.emplace_back(&wall, std::move(list));
}

SurfaceCommand::SurfaceCommand(DesignView& view, const QString& text, SurfaceLook before,
                               SurfaceLook after,
                               std::vector<std::unique_ptr<CFlatFacility>> created)
    : QUndoCommand(text), view_(view), before_(std::move(before)), after_(std::move(after)),
      held_(std::move(created))
{
}

SurfaceCommand::~SurfaceCommand() = default;

void SurfaceCommand::undo()
{
    apply(before_);
}

void SurfaceCommand::redo()
{
    apply(after_);
}

void SurfaceCommand::apply(const SurfaceLook& look)
{
    CSolidDocument& document = view_.document();
    if (look.floor && document.floor) {
        document.floor->facilityModel = look.floor->model;
        document.floor->ceramicTileSize = look.floor->tileSize;
        vs::rebuildFloor(document);
    }
    for (const SurfaceLook::Part& p : look.parts) {
        p.part->facilityModel = p.model;
        p.part->ceramicTileSize = p.tileSize;
        if (vs::wallGroupNode(*p.wall))
            vs::BuildWallPartScene(*p.wall, *p.part);
    }

    std::set<CWall*> walls;
    for (const auto& [wall, list] : look.flatLists) {
        std::vector<std::unique_ptr<CFlatFacility>> pool = std::move(held_);
        held_.clear();
        for (std::unique_ptr<CFlatFacility>& flat : wall->flatFacilities)
            pool.push_back(std::move(flat));
        wall->flatFacilities.clear();
        for (CFlatFacility* flat : list) {
            const auto at = std::find_if(pool.begin(), pool.end(),
                                         [flat](const auto& f) { return f.get() == flat; });
            if (at == pool.end())
                continue;
            wall->flatFacilities.push_back(std::move(*at));
            pool.erase(at);
        }
        for (std::unique_ptr<CFlatFacility>& flat : pool) {
            vs::releaseFlatFacilityScene(*flat);
            held_.push_back(std::move(flat));
        }
        walls.insert(wall);
    }
    for (const SurfaceLook::Flat& f : look.flats) {
        f.flat->flatSize = f.flatSize;
        f.flat->position = f.position;
        walls.insert(f.wall);
    }
    for (CWall* wall : walls)
        rebuildWall(*wall);
    view_.DrawScene();
}

namespace vs {

void runSurfaceEdit(DesignView& view, const QString& text, SurfaceLook before, SurfaceLook after,
                    std::vector<std::unique_ptr<CFlatFacility>> created)
{
    runEdit(view, std::make_unique<SurfaceCommand>(view, text, std::move(before), std::move(after),
                                                   std::move(created)));
}

void deleteFlatFacility(DesignView& view, CWall& wall, CFlatFacility& flat)
{
    // The same step as a door or window dragged off its wall.
    runEdit(view, std::make_unique<RemoveFlatCommand>(view, wall, flat));
}

void setFlatFacilitySize(DesignView& view, CWall& wall, CFlatFacility& flat, IntSize size)
{
    SurfaceLook before;
    before.addFlat(wall, flat);
    SurfaceLook after = before;
    after.flats.front().flatSize = size;
    runSurfaceEdit(view, QStringLiteral("门窗尺寸"), std::move(before), std::move(after));
}

void setWallTileSize(DesignView& view, CWall& wall, CWallPart& part, IntSize size, bool allWalls)
{
    SurfaceLook before;
    const auto index = std::find_if(wall.wallParts.begin(), wall.wallParts.end(),
                                    [&part](const auto& p) { return p.get() == &part; }) -
                       wall.wallParts.begin();
    if (allWalls && index < static_cast<std::ptrdiff_t>(wall.wallParts.size())) {
        for (std::unique_ptr<CWall>& w : view.document().walls)
            if (w && index < static_cast<std::ptrdiff_t>(w->wallParts.size()))
                before.addPart(*w, *w->wallParts[index]);
    } else {
        before.addPart(wall, part);
    }
    SurfaceLook after = before;
    for (SurfaceLook::Part& p : after.parts)
        p.tileSize = size;
    runSurfaceEdit(view, QStringLiteral("瓷砖尺寸"), std::move(before), std::move(after));
}

void setFloorTileSize(DesignView& view, IntSize size)
{
    SurfaceLook before;
    before.addFloor(view.document());
    if (!before.floor)
        return;
    SurfaceLook after = before;
    after.floor->tileSize = size;
    runSurfaceEdit(view, QStringLiteral("地砖尺寸"), std::move(before), std::move(after));
}

} // namespace vs
