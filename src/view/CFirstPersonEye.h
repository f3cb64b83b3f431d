// The first-person walker: eye position in room coordinates, yaw and pitch in degrees, and the
// look vector they give.
#pragma once

#include <irrlicht.h>

class CFirstPersonEye
{
public:
    /** Eye position, room coordinates (decimillimetres). */
    irr::core::vector3df position;
    /** Degrees, kept in [0, 360). */
    double yaw = 0;
    /** Degrees, kept in [-90, 90]; positive looks down. */
    double pitch = 0;

    /** Mouse look: yaw += dx / 10 (wrapped), pitch += dy / 15 (clamped). */
    void turnByMouse(int dx, int dy);
    /** Adds `degrees` to the yaw, wrapped into [0, 360). */
    void turn(double degrees);
    /** Sets yaw (wrapped) and pitch (clamped), as a saved state gives them. */
    void setAngles(double yawDegrees, double pitchDegrees);
    /** Moves the eye `distance` along the yaw alone, so the eye height never changes. */
    void walk(float distance);
    /** (0, 0, 1) turned by pitch about x, then by yaw about y: a unit vector. */
    irr::core::vector3df look() const;
};
