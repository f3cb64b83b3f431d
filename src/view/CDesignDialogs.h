// The design dialog's answer to the context menus' dialog entries: each opens its setup dialog
// over the 3D window and pushes its OK onto the dialog's undo stack.
#pragma once

#include "edit/DesignDialogs.h"

class CSolidWnd;
class QUndoStack;
class QWidget;

class CDesignDialogs : public DesignDialogs
{
public:
    /** Dialogs over `wnd`, their steps on `stack` (may be null), parented to `parent`. */
    CDesignDialogs(CSolidWnd& wnd, QUndoStack* stack, QWidget* parent);

    void facilityProperties(CSolidFacility& facility) override;
    void lightSetup(CSolidLight& light) override;
    void material(CSolidFacility& facility) override;
    void wallTileSize(CWall& wall, CWallPart& part) override;
    void doorWindowSize(CWall& wall, CFlatFacility& flat) override;
    void floorTileSize() override;
    void lampLightSetup(CHost& host) override;

private:
    CSolidWnd& wnd_;
    QUndoStack* stack_;
    QWidget* parent_;
};
