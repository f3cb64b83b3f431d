#include "view/CTrackball.h"

#include <algorithm>
#include <cmath>

using irr::core::matrix4;
using irr::core::vector3df;

namespace {

Quat4f normalised(const Quat4f& q)
{
    const float n = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (!(n > 0) || !std::isfinite(n))
        return Quat4f{};
    return Quat4f{q.x / n, q.y / n, q.z / n, q.w / n};
}

} // namespace

vector3df CTrackball::mapToSphere(int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0)
        return vector3df(0, 1, 0);
    const float u = 1.0f - 2.0f * static_cast<float>(x) / static_cast<float>(width);
    const float v = 1.0f - 2.0f * static_cast<float>(y) / static_cast<float>(height);
    const float r = 1.0f - u * u - v * v;
    return vector3df(u, r > 0 ? std::sqrt(r) : 0.0f, v);
}

void CTrackball::beginDrag(const vector3df& from)
{
    from_ = from;
    dragging_ = true;
}

bool CTrackball::dragTo(const vector3df& to)
{
    if (!dragging_)
        return false;
    vector3df a = from_;
    vector3df b = to;
    if (a.getLengthSQ() == 0 || b.getLengthSQ() == 0)
        return false;
    a.normalize();
    b.normalize();
    const float cosine = std::clamp(a.dotProduct(b), -1.0f, 1.0f);
    vector3df axis = a.crossProduct(b);
    if (axis.getLengthSQ() < 1e-12f)
        return false; // no arc, or half a turn whose axis is undefined
    axis.normalize();
    const float angle = std::acos(cosine) * AngleFactor;
    if (!(angle > MinAngle))
        return false;
    const float s = std::sin(angle / 2);
    const Quat4f turn{axis.X * s, axis.Y * s, axis.Z * s, std::cos(angle / 2)};
    current_ = compose(base_, turn);
    return true;
}

void CTrackball::commit()
{
    base_ = current_;
    dragging_ = false;
}

void CTrackball::setRotation(const Quat4f& q)
{
    base_ = current_ = normalised(q);
}

Quat4f CTrackball::compose(const Quat4f& a, const Quat4f& b)
{
    // Hamilton product b * a: turning by a, then by b.
    return normalised(Quat4f{b.w * a.x + b.x * a.w + b.y * a.z - b.z * a.y,
                             b.w * a.y - b.x * a.z + b.y * a.w + b.z * a.x,
                             b.w * a.z + b.x * a.y - b.y * a.x + b.z * a.w,
                             b.w * a.w - b.x * a.x - b.y * a.y - b.z * a.z});
}

matrix4 CTrackball::rotationMatrix(const Quat4f& raw)
{
    const Quat4f q = normalised(raw);
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    const float r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                           {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                           {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    // The engine's matrix turns a vector v into (sum_j v_j M[4 j + i]).
    matrix4 m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[4 * j + i] = r[i][j];
    return m;
}

matrix4 CTrackball::matrix() const
{
    matrix4 ball;
    ball.setTranslation(ball_);
    matrix4 centre;
    centre.setTranslation(centring_);
    return ball * rotationMatrix(current_) * centre;
}
