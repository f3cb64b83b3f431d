// The drags of design mode, one class per kind: a press starts one, every mouse move shows it
// at the pointer, and the release ends it as one undo step (none when nothing changed).
//   1 a ceiling host item, moved on its plane's grid (or freely) and reported to the host;
//   2 panels of a type over a growing rectangle of cells, highlighted on the plan picture;
//   3 a door or window along its wall, taken off the wall when too little of it is left on it;
//   4 the selected facilities on a drag plane (along their wall, or horizontal), or a light
//     (a lamp's light moves its ceiling host item instead).
#pragma once

#include "document/RPoint.h"
#include "document/SolidMath.h"
#include "edit/HostCommands.h"

#include <QPoint>

#include <irrlicht.h>

#include <memory>
#include <vector>

class CCandyType;
class CFlatFacility;
class CGridMapping;
class CHost;
class CSolidFacility;
class CSolidLight;
class CWall;
class DesignView;

namespace vs {

struct PlanHighlight;

/** Half the side of the square drag plane: hits farther from the start are ignored. */
constexpr float kDragPlaneHalfSide = 50000;
/** A door or window with less than this share (percent) of its area left on the wall goes. */
constexpr double kFlatKeepShare = 10;

class Drag
{
public:
    virtual ~Drag() = default;
    /** The drag kind, 1 to 4. */
    virtual int kind() const = 0;
    /** Shows the drag with the pointer at client pixel p. */
    virtual void moveTo(const QPoint& p) = 0;
    /** Ends the drag where it was last shown: takes the preview back and runs the edit as one
     *  step when anything changed. */
    virtual void finish() = 0;
    /** The overlay the drag draws on a plan picture; null for drags that draw none. */
    virtual const PlanHighlight* planHighlight() const { return nullptr; }
};

/** Shows a ceiling host item moved from where it lay, and commits the move through the host. */
class HostMovePreview
{
public:
    HostMovePreview(DesignView& view, CHost& host);
    /** Shows the item moved by `offset` from where it lay. */
    void show(const HostOffset& offset);
    /** Puts the item back and, when it moved, asks the host; an accepted move becomes a step. */
    void commit();
    CHost& host() const { return host_; }

private:
    DesignView& view_;
    CHost& host_;
    HostPlace start_;
    HostOffset shown_;
};

/** Kind 1: a ceiling host item pressed at plan point `start` of its plane. */
std::unique_ptr<Drag> makeHostDrag(DesignView& view, CHost& host, const RPoint& start);
/** Kind 2: panels of `type` from cell (col, row) of `plane`. */
std::unique_ptr<Drag> makePanelDrag(DesignView& view, CGridMapping& plane, CCandyType& type,
                                    int col, int row);
/** Kind 3: a door or window pressed at local plan point `start` of its wall (x along the wall,
 *  plan y = -height). */
std::unique_ptr<Drag> makeFlatDrag(DesignView& view, CWall& wall, CFlatFacility& flat,
                                   const RPoint& start);
/** Kind 4: facilities pressed at room point `start`; `wall` is the wall they all stand against
 *  (null when they all stand free). */
std::unique_ptr<Drag> makeFacilityDrag(DesignView& view, std::vector<CSolidFacility*> facilities,
                                       CWall* wall, const irr::core::vector3df& start);
/** Kind 4: a light whose marker was pressed at room point `start`. */
std::unique_ptr<Drag> makeLightDrag(DesignView& view, CSolidLight& light,
                                    const irr::core::vector3df& start);

/** The plan point of client pixel p on the plane's level (ray through its grid node's plane);
 *  false when the ray runs parallel to it or there is no scene. */
bool planePointAt(DesignView& view, CGridMapping& plane, const QPoint& p, RPoint& planPoint);

} // namespace vs
