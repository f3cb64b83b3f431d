// What a pick in the 3D window found: the kind of object under the cursor, the objects hit and
// the hit points. At most one kind is set after a pick.
#pragma once

#include <irrlicht.h>

class CFlatFacility;
class CGridMapping;
class CHost;
class CSolidFacility;
class CSolidLight;
class CWall;
class CWallPart;

struct PickResult
{
    /** The kinds in the order that wins ties of equal distance. */
    enum class Kind { None, Ceiling, Floor, Wall, Facility, LightMarker };

    Kind kind = Kind::None;
    /** The winning hit point, scene (world) coordinates. */
    irr::core::vector3df point;

    // Ceiling: the plane hit, the host item under the point (or null), the hit in the plane's
    // plan coordinates (decimillimetres) and the grid cell there (absolute indices).
    CGridMapping* plane = nullptr;
    CHost* host = nullptr;
    double ceilingX = 0;
    double ceilingY = 0;
    int col = 0;
    int row = 0;

    // Wall: the wall, the hit in its local space (x along the wall from its start, y the
    // height), the wall part and the door or window at that point (either may be null).
    CWall* wall = nullptr;
    irr::core::vector2df wallPoint;
    CWallPart* wallPart = nullptr;
    CFlatFacility* flat = nullptr;

    // Facility: the top-level facility whose cloak was hit and the index of the face hit.
    CSolidFacility* facility = nullptr;
    int faceIndex = -1;

    // Light marker: the light whose shown marker was hit.
    CSolidLight* light = nullptr;

    explicit operator bool() const { return kind != Kind::None; }
};
