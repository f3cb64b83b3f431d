// What the scene export needs of the 3D window: the picture size, the active camera and how it
// was placed. The window (or a headless render) fills it; the export reads the scene itself.
#pragma once

#include <irrlicht.h>

class CSolidDocument;

namespace vs {

struct RenderView
{
    /** The document whose scene is shown (its room node, ceiling, floor, walls, facilities). */
    CSolidDocument* document = nullptr;
    /** Client size, pixels. */
    int width = 0;
    int height = 0;
    /** The scene manager's active camera; its absolute position decides which walls, floor
     *  and ceiling sides face the eye. */
    irr::scene::ICameraSceneNode* camera = nullptr;
    /** True when the active camera is the orbit camera (globe or change top), false in first
     *  person. */
    bool orbit = true;
    /** First person: pitch and yaw (degrees) and the eye position. */
    double pitch = 0;
    double yaw = 0;
    irr::core::vector3df eye;
};

} // namespace vs
