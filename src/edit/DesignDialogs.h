// The setup dialogs that design-mode context menus open. The design dialog implements it over
// the dialogs' entry points; each call runs its dialog modally and pushes its OK as one undo
// step.
#pragma once

#include "document/CHost.h"

class CFlatFacility;
class CSolidFacility;
class CSolidLight;
class CWall;
class CWallPart;

class DesignDialogs
{
public:
    virtual ~DesignDialogs() = default;

    /** "属性" on a facility: the object properties dialog. */
    virtual void facilityProperties(CSolidFacility& facility) = 0;
    /** "属性" on a light marker, "灯光设置" on a lamp: the light setup dialog. */
    virtual void lightSetup(CSolidLight& light) = 0;
    /** "材质": the material dialog of a facility with a model. */
    virtual void material(CSolidFacility& facility) = 0;
    /** "瓷砖尺寸": the tile size of a wall part, on this wall or on every wall. */
    virtual void wallTileSize(CWall& wall, CWallPart& part) = 0;
    /** "门窗尺寸": the size of a door or window. */
    virtual void doorWindowSize(CWall& wall, CFlatFacility& flat) = 0;
    /** "地砖尺寸": the floor's tile size. */
    virtual void floorTileSize() = 0;
    /** "灯光设置" on a ceiling lamp: the light setup dialog of the lamp's light, which the
     *  dialog makes when the lamp has none yet. By default the lamp's light, when it has one,
     *  goes to lightSetup. */
    virtual void lampLightSetup(CHost& host)
    {
        if (host.light)
            lightSetup(*host.light);
    }
};
