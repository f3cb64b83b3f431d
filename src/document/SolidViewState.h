// Camera positions and display preferences of a room, saved by the design view when it closes.
#pragma once

#include "SolidMath.h"
#include "platform/IntSize.h"

class SolidViewState
{
public:
    /** workMode values. */
    enum WorkMode { Viewing = 4, Designing = 5 };
    /** viewMode values. */
    enum ViewMode { Globe = 4, FirstPerson = 5, ChangeTop = 6 };

    // A fresh state has the modes that a saved state without mode attributes reads as.
    int workMode = Viewing;
    int viewMode = FirstPerson;
    double cameraYaw = 0;
    double cameraPitch = 0;
    Vec3f firstPersonPosition;
    Quat4f trackballQuaternion;
    /** Rotation of the static-sample view. */
    Quat4f staticSolidQuaternion;
    /** The trackball view shows the whole room rather than the ceiling alone. */
    bool displayFull = false;
    Vec3f trackballPosition;
    Vec3f staticSolidPosition;
    /** Translation of the static-sample view. */
    Vec3f ballTranslation;

    // Display preferences.
    /** Field of view, degrees (the setup dialog keeps it in 30..120). */
    double fov = 72;
    /** Scene ambient colour as 0xRRGGBB. */
    int ambientColor = 0x404040;
    /** First-person eye height, metres (the setup dialog keeps it in 1..2.6). */
    double eyeAboveFloor = 1.35;
    bool roofUseLighting = true;
    /** The ceiling seen from above is drawn semi-transparent. */
    bool roofBackSemitransparent = true;
    /** Opacity of that ceiling, percent (0..100). */
    int roofBackAlphaPercent = 50;
    /** Use the default lights instead of the room's lights. */
    bool simpleLighting = true;
    /** The ceiling is shown mirrored. */
    bool invertTop = false;
    /** Textures are sampled as sRGB (the vivid-colours option). */
    bool gammaCorrection = false;
    /** Height of the lowest ceiling layer above the floor, decimillimetres. */
    double lowestLayerHeight = 24000;
    /** The 3D window's client size when the state was saved, pixels. */
    IntSize pictureExtent;
};
