// What design-mode editing needs of the window that shows the room: beyond the document and a
// redraw, the scene manager and cameras to pick with, the client area, mouse capture, the undo
// stack every edit goes onto, the dialog's current panel type, the host's callbacks, the setup
// dialogs the context menus open, and a parent for menus and messages. The 3D window
// implements it; tests implement it over a null engine device.
#pragma once

#include "scene/CSceneView.h"

#include <QPoint>
#include <QSize>
#include <QString>

class CCandyType;
class DesignDialogs;
class QUndoStack;
class Selection;
class QWidget;
struct HostCallbacks;

namespace irr::scene {
class ICameraSceneNode;
class ISceneManager;
} // namespace irr::scene

class DesignView : public CSceneView
{
public:
    /** The scene manager of the shown room, or null without an engine device. */
    virtual irr::scene::ISceneManager* sceneManager() const = 0;
    /** The camera of the current view mode (picking rays start there), or null. */
    virtual irr::scene::ICameraSceneNode* activeCamera() const = 0;
    /** The globe view's orbit camera (drops onto facilities move towards it), or null. */
    virtual irr::scene::ICameraSceneNode* globeCamera() const = 0;
    /** True in the globe view without the whole room: only the ceiling can be picked and
     *  nothing can be dropped. */
    virtual bool ceilingOnly() const = 0;
    /** The client area's size, pixels. */
    virtual QSize clientSize() const = 0;
    /** A global (screen) point in client pixels. */
    virtual QPoint toClient(const QPoint& screenPoint) const = 0;
    /** Captures the mouse for a drag (true) or releases it (false). */
    virtual void setMouseCapture(bool captured) = 0;
    /** The stack every edit is pushed onto as one step; null runs edits without undo. */
    virtual QUndoStack* undoStack() const = 0;
    /** The panel type a ceiling press lays (the dialog's current panel type), or null. */
    virtual CCandyType* currentPanelType() const = 0;
    /** The host's callbacks (ceiling host items and panels are reported through them). */
    virtual const HostCallbacks& hostCallbacks() const = 0;
    /** The setup dialogs the context menus open, or null (their entries are then greyed). */
    virtual DesignDialogs* dialogs() const = 0;
    /** Parent of context menus and message boxes; null in tests without widgets. */
    virtual QWidget* widget() const = 0;
    /** Tells the user something (information icon); tests record it. */
    virtual void showInformation(const QString& text) = 0;
    /** The selected facilities. Every edit that takes a facility out of the document takes it
     *  out of the selection too. */
    virtual Selection& selection() = 0;
};
