// One undoable change of the room's surfaces: the floor's covering and tile size, wall bands'
// pictures and tile sizes, and the doors, windows and pictures on walls (placed, deleted,
// sized). Each command switches between two recorded looks of the surfaces it touches; an item
// taken off a wall is kept alive by the command so that undo puts the very same item back.
#pragma once

#include "document/RPoint.h"
#include "platform/IntSize.h"

#include <QUndoCommand>

#include <memory>
#include <optional>
#include <vector>

class CFacilityModel;
class CFlatFacility;
class CWall;
class CWallPart;
class DesignView;

struct SurfaceLook
{
    struct Floor
    {
        CFacilityModel* model = nullptr;
        IntSize tileSize;
    };
    struct Part
    {
        CWall* wall = nullptr;
        CWallPart* part = nullptr;
        CFacilityModel* model = nullptr;
        IntSize tileSize;
    };
    struct Flat
    {
        CWall* wall = nullptr;
        CFlatFacility* flat = nullptr;
        IntSize flatSize;
        RPoint position;
    };

    /** The floor's covering, when this look fixes it. */
    std::optional<Floor> floor;
    std::vector<Part> parts;
    std::vector<Flat> flats;
    /** Walls whose list of doors, windows and pictures this look fixes, with the list. */
    std::vector<std::pair<CWall*, std::vector<CFlatFacility*>>> flatLists;

    /** Records the floor's covering as it is now. */
    void addFloor(const class CSolidDocument& document);
    /** Records a band as it is now. */
    void addPart(CWall& wall, CWallPart& part);
    /** Records an item's size and position as they are now. */
    void addFlat(CWall& wall, CFlatFacility& flat);
    /** Records a wall's list of items as it is now. */
    void addFlatList(CWall& wall);
};

class SurfaceCommand : public QUndoCommand
{
public:
    /** An edit named `text` from `before` (in effect now) to `after`; `created` hands over
     *  items that are new with this edit. */
    SurfaceCommand(DesignView& view, const QString& text, SurfaceLook before, SurfaceLook after,
                   std::vector<std::unique_ptr<CFlatFacility>> created = {});
    ~SurfaceCommand() override;

    void undo() override;
    void redo() override;

private:
    void apply(const SurfaceLook& look);

    DesignView& view_;
    SurfaceLook before_;
    SurfaceLook after_;
    std::vector<std::unique_ptr<CFlatFacility>> held_;
};

namespace vs {

/** Runs the surface edit from `before` (in effect now) to `after` as one undo step. */
void runSurfaceEdit(DesignView& view, const QString& text, SurfaceLook before, SurfaceLook after,
                    std::vector<std::unique_ptr<CFlatFacility>> created = {});

/** "删除" on a door or window: takes `flat` off `wall` and rebuilds the wall. */
void deleteFlatFacility(DesignView& view, CWall& wall, CFlatFacility& flat);
/** "门窗尺寸": gives `flat` the size (width, height) and rebuilds its wall. */
void setFlatFacilitySize(DesignView& view, CWall& wall, CFlatFacility& flat, IntSize size);
/** "瓷砖尺寸": the tile size of `part` or, with `allWalls`, of the band at the same index on
 *  every wall; the bands are tiled again. */
void setWallTileSize(DesignView& view, CWall& wall, CWallPart& part, IntSize size, bool allWalls);
/** "地砖尺寸": the floor's tile size; the floor is built again. */
void setFloorTileSize(DesignView& view, IntSize size);

} // namespace vs
