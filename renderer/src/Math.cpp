#include "Math.h"

#include <utility>

namespace ri {

Matrix Matrix::inverse() const
{
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 8; ++j)
            a[i][j] = j < 4 ? m[i][j] : (j - 4 == i ? 1.0 : 0.0);
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (std::fabs(a[pivot][c]) < 1e-30)
            return Matrix();
        if (pivot != c)
            for (int j = 0; j < 8; ++j)
                std::swap(a[c][j], a[pivot][j]);
        double d = a[c][c];
        for (int j = 0; j < 8; ++j)
            a[c][j] /= d;
        for (int r = 0; r < 4; ++r)
            if (r != c) {
                double f = a[r][c];
                for (int j = 0; j < 8; ++j)
                    a[r][j] -= f * a[c][j];
            }
    }
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = float(a[i][j + 4]);
    return r;
}

Matrix Matrix::rotate(float degrees, Vec3 axis)
{
    Vec3 u = normalize(axis);
    double t = degrees * 3.14159265358979323846 / 180.0;
    float c = float(std::cos(t)), s = float(std::sin(t)), k = 1 - c;
    Matrix r;
    r.m[0][0] = u.x * u.x * k + c;
    r.m[0][1] = u.x * u.y * k + u.z * s;
    r.m[0][2] = u.x * u.z * k - u.y * s;
    r.m[1][0] = u.y * u.x * k - u.z * s;
    r.m[1][1] = u.y * u.y * k + c;
    r.m[1][2] = u.y * u.z * k + u.x * s;
    r.m[2][0] = u.z * u.x * k + u.y * s;
    r.m[2][1] = u.z * u.y * k - u.x * s;
    r.m[2][2] = u.z * u.z * k + c;
    return r;
}

} // namespace ri
