#include "view/CFirstPersonEye.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DegreesToRadians = 3.14159265358979323846 / 180.0;

double wrapDegrees(double degrees)
{
    if (!std::isfinite(degrees))
        return 0;
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    return d >= 360.0 ? 0.0 : d;
}

double clampPitch(double degrees)
{
    return std::isfinite(degrees) ? std::clamp(degrees, -90.0, 90.0) : 0.0;
}

} // namespace

void CFirstPersonEye::turnByMouse(int dx, int dy)
{
    yaw = wrapDegrees(yaw + dx / 10.0);
    pitch = clampPitch(pitch + dy / 15.0);
}

void CFirstPersonEye::turn(double degrees)
{
    yaw = wrapDegrees(yaw + degrees);
}

void CFirstPersonEye::setAngles(double yawDegrees, double pitchDegrees)
{
    yaw = wrapDegrees(yawDegrees);
    pitch = clampPitch(pitchDegrees);
}

void CFirstPersonEye::walk(float distance)
{
    const double y = yaw * DegreesToRadians;
    position.X += static_cast<float>(std::sin(y) * distance);
    position.Z += static_cast<float>(std::cos(y) * distance);
}

irr::core::vector3df CFirstPersonEye::look() const
{
    // (0, 0, 1) about x by pitch gives (0, -sin p, cos p); about y by yaw then spreads the
    // horizontal part over x and z.
    const double p = pitch * DegreesToRadians;
    const double y = yaw * DegreesToRadians;
    return irr::core::vector3df(static_cast<float>(std::cos(p) * std::sin(y)),
                                static_cast<float>(-std::sin(p)),
                                static_cast<float>(std::cos(p) * std::cos(y)));
}
