// Small value records of the room document: vectors, quaternions, colours and integer
// rectangles. They stand in for the engine's types so that the document builds and is
// tested without the 3D engine; the scene layer converts them where it meets the engine.
#pragma once

/** A vector of three floats in scene axes: x = plan x, y = height, z = plan y. */
struct Vec3f
{
    float x = 0;
    float y = 0;
    float z = 0;

    /** True when all components are equal (exact comparison). */
    bool operator==(const Vec3f& o) const { return x == o.x && y == o.y && z == o.z; }
};

/** A rotation quaternion; the default is the identity (0, 0, 0, 1). */
struct Quat4f
{
    float x = 0;
    float y = 0;
    float z = 0;
    float w = 1;

    /** True when all components are equal (exact comparison). */
    bool operator==(const Quat4f& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
};

/** A colour of four floats in 0..1. */
struct Colorf
{
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 1;

    /** True when all components are equal (exact comparison). */
    bool operator==(const Colorf& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

/** An integer rectangle (pixels). */
struct IRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    /** True when all four sides are equal. */
    bool operator==(const IRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
