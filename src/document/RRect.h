// A plan rectangle of doubles in decimillimetres; y grows downwards, so top <= bottom for a
// normal rectangle. The order of the fields is the order of its text form.
#pragma once

#include "RPoint.h"

struct RRect
{
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    /** Returns the centre ((left + right) / 2, (top + bottom) / 2). */
    RPoint centre() const { return {(left + right) / 2, (top + bottom) / 2}; }

    /** True when all four sides are equal (exact comparison). */
    bool operator==(const RRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
