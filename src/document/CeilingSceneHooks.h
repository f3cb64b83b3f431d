// The one way the ceiling model reaches the 3D scene: the scene layer implements it and sets it
// on SolidCeiling::sceneHooks while the ceiling is shown. Operations that add or remove panels
// or repaint a plan picture call it when it is set.
#pragma once

class CGridMapping;
class CTile;

class CeilingSceneHooks
{
public:
    virtual ~CeilingSceneHooks() = default;
    /** Gives a new tile its tower nodes. */
    virtual void tileAdded(CTile& tile) = 0;
    /** Removes a tile's tower nodes; called before the tile is deleted. */
    virtual void tileRemoved(CTile& tile) = 0;
    /** Hands the repainted plan picture of plane to the plane's scene node. */
    virtual void pictureChanged(CGridMapping& plane) = 0;
};
