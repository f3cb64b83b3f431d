// One orbit view's trackball: the rotation the room has (a base quaternion and the current one
// while dragging), the ball translation and the centring translation, and the room matrix they
// make. The sphere's middle axis points towards the orbit camera, which looks along +y from
// (0, -d, 0) with up (0, 0, -1).
#pragma once

#include "document/SolidMath.h"

#include <irrlicht.h>

class CTrackball
{
public:
    /** A drag turns the room by the arc between the two sphere points times this factor. */
    static constexpr float AngleFactor = 1.2f;
    /** Scaled turns of this many radians or less change nothing. */
    static constexpr float MinAngle = 0.02f;

    /** Client pixel (x, y) of a width x height client to the unit sphere: u = 1 - 2x / W,
     *  v = 1 - 2y / H, the point (u, sqrt(1 - u^2 - v^2), v), or (u, 0, v) outside the ball.
     *  A zero-sized client maps everything to (0, 1, 0). */
    static irr::core::vector3df mapToSphere(int x, int y, int width, int height);

    /** Starts a drag at sphere point `from`. */
    void beginDrag(const irr::core::vector3df& from);
    /** Turns the current rotation to the base rotation followed by the scaled arc from the drag
     *  start to `to`; returns false (nothing changed) when not dragging or when the scaled
     *  angle is at most MinAngle. */
    bool dragTo(const irr::core::vector3df& to);
    /** Ends a drag keeping the rotation reached: the base becomes the current rotation. */
    void commit();
    /** True between beginDrag and commit. */
    bool dragging() const { return dragging_; }

    /** Sets base and current rotation. */
    void setRotation(const Quat4f& q);
    /** The current rotation. */
    Quat4f rotation() const { return current_; }
    /** The base rotation (the current one at the last commit). */
    Quat4f baseRotation() const { return base_; }

    /** The translation applied after the rotation. */
    void setBallTranslation(const irr::core::vector3df& t) { ball_ = t; }
    /** See setBallTranslation. */
    irr::core::vector3df ballTranslation() const { return ball_; }
    /** The translation applied before the rotation (centres the room). */
    void setCentring(const irr::core::vector3df& t) { centring_ = t; }
    /** See setCentring. */
    irr::core::vector3df centring() const { return centring_; }

    /** Tball x R(current) x Tcentre: a vertex is centred, turned, then moved by the ball. */
    irr::core::matrix4 matrix() const;

    /** The rotation matrix of a unit quaternion (Hamilton, turning column vectors). */
    static irr::core::matrix4 rotationMatrix(const Quat4f& q);
    /** a followed by b. */
    static Quat4f compose(const Quat4f& a, const Quat4f& b);

private:
    Quat4f base_;
    Quat4f current_;
    irr::core::vector3df ball_;
    irr::core::vector3df centring_;
    irr::core::vector3df from_;
    bool dragging_ = false;
};
