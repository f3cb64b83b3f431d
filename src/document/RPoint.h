// A plan point in decimillimetres: x to the right, y downwards in the plan.
#pragma once

struct RPoint
{
    double x = 0;
    double y = 0;

    /** True when both coordinates are equal (exact comparison). */
    bool operator==(const RPoint& other) const { return x == other.x && y == other.y; }
    /** True when any coordinate differs. */
    bool operator!=(const RPoint& other) const { return !(*this == other); }
};
