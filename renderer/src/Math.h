// Small vector and matrix types. Matrices follow the RenderMan convention: a point is a row
// vector, p' = p * M, translation in the last row.
#pragma once

#include <cmath>

namespace ri {

struct Vec3
{
    float x = 0, y = 0, z = 0;
    Vec3() = default;
    constexpr Vec3(float a, float b, float c) : x(a), y(b), z(c) {}
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Vec3 operator*(const Vec3& o) const { return {x * o.x, y * o.y, z * o.z}; }
    Vec3 operator/(float s) const { return {x / s, y / s, z / s}; }
    Vec3 operator-() const { return {-x, -y, -z}; }
    Vec3& operator+=(const Vec3& o)
    {
        x += o.x, y += o.y, z += o.z;
        return *this;
    }
    float operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
};

inline float dot(const Vec3& a, const Vec3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(const Vec3& a)
{
    return std::sqrt(dot(a, a));
}
inline Vec3 normalize(const Vec3& a)
{
    float l = length(a);
    return l > 0 ? a / l : a;
}

struct Matrix
{
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static Matrix fromArray(const float* a)
    {
        Matrix r;
        for (int i = 0; i < 16; ++i)
            r.m[i / 4][i % 4] = a[i];
        return r;
    }
    /// this applied first, then o.
    Matrix operator*(const Matrix& o) const
    {
        Matrix r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                float s = 0;
                for (int k = 0; k < 4; ++k)
                    s += m[i][k] * o.m[k][j];
                r.m[i][j] = s;
            }
        return r;
    }
    Vec3 point(const Vec3& p) const
    {
        float x = p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0];
        float y = p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1];
        float z = p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2];
        float w = p.x * m[0][3] + p.y * m[1][3] + p.z * m[2][3] + m[3][3];
        if (w != 1 && w != 0)
            return {x / w, y / w, z / w};
        return {x, y, z};
    }
    Vec3 vector(const Vec3& v) const
    {
        return {v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0],
                v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1],
                v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2]};
    }
    /// Transforms a normal by this matrix's inverse transpose (pass the inverse).
    Vec3 normalByInverse(const Vec3& n) const
    {
        return {n.x * m[0][0] + n.y * m[0][1] + n.z * m[0][2],
                n.x * m[1][0] + n.y * m[1][1] + n.z * m[1][2],
                n.x * m[2][0] + n.y * m[2][1] + n.z * m[2][2]};
    }
    float determinant3() const
    {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    }
    /// General inverse; identity when singular.
    Matrix inverse() const;

    static Matrix translate(float x, float y, float z)
    {
        Matrix r;
        r.m[3][0] = x, r.m[3][1] = y, r.m[3][2] = z;
        return r;
    }
    static Matrix scale(float x, float y, float z)
    {
        Matrix r;
        r.m[0][0] = x, r.m[1][1] = y, r.m[2][2] = z;
        return r;
    }
    /// Rotation by angle degrees about axis (left-handed, as RiRotate).
    static Matrix rotate(float degrees, Vec3 axis);
};

} // namespace ri
