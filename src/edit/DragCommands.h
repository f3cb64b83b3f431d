// The undo steps that drags of facilities, lights, doors and windows leave: each sets the
// stored places it was given on redo and the earlier ones on undo (never adding offsets back
// and forth, so that an undone step restores every coordinate exactly).
#pragma once

#include "document/RPoint.h"
#include "document/SolidMath.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

class CFlatFacility;
class CSolidFacility;
class CSolidLight;
class CWall;
class DesignView;

namespace vs {

/** Moves facilities from their positions to new ones (kind-4 drags). */
class MoveFacilitiesCommand : public QUndoCommand
{
public:
    MoveFacilitiesCommand(DesignView& view, std::vector<CSolidFacility*> facilities,
                          std::vector<Vec3f> from, std::vector<Vec3f> to);
    void redo() override;
    void undo() override;

private:
    void place(const std::vector<Vec3f>& positions);
    DesignView& view_;
    std::vector<CSolidFacility*> facilities_;
    std::vector<Vec3f> from_;
    std::vector<Vec3f> to_;
};

/** Moves a light that belongs to no ceiling item. */
class MoveLightCommand : public QUndoCommand
{
public:
    MoveLightCommand(DesignView& view, CSolidLight& light, const Vec3f& from, const Vec3f& to);
    void redo() override;
    void undo() override;

private:
    void place(const Vec3f& position);
    DesignView& view_;
    CSolidLight& light_;
    Vec3f from_;
    Vec3f to_;
};

/** Moves a door or window along its wall. */
class MoveFlatCommand : public QUndoCommand
{
public:
    MoveFlatCommand(DesignView& view, CWall& wall, CFlatFacility& flat, const RPoint& from,
                    const RPoint& to);
    void redo() override;
    void undo() override;

private:
    void place(const RPoint& position);
    DesignView& view_;
    CWall& wall_;
    CFlatFacility& flat_;
    RPoint from_;
    RPoint to_;
};

/** Takes a door or window off its wall (a drag left too little of it on the wall); undo puts
 *  it back where it was. */
class RemoveFlatCommand : public QUndoCommand
{
public:
    RemoveFlatCommand(DesignView& view, CWall& wall, CFlatFacility& flat);
    ~RemoveFlatCommand() override;
    void redo() override;
    void undo() override;

private:
    DesignView& view_;
    CWall& wall_;
    CFlatFacility* flat_;
    std::unique_ptr<CFlatFacility> held_;
    size_t index_ = 0;
};

/** Share (percent) of the door's or window's rectangle at `position` that lies on its wall. */
double flatShareOnWall(const CWall& wall, const CFlatFacility& flat, const RPoint& position);

} // namespace vs
