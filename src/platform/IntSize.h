// A width and height in whole units (pixels or decimillimetres, as the user says).
#pragma once

struct IntSize
{
    int width = 0;
    int height = 0;
    bool operator==(const IntSize& o) const { return width == o.width && height == o.height; }
    bool operator!=(const IntSize& o) const { return !(*this == o); }
};
