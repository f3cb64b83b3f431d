// The ceiling of a room design: the header flags read from the design element. The tree of
// ceiling planes (the root CGridMapping and everything it owns) comes with the ceiling model.
#pragma once

class SolidCeiling
{
public:
    /** The room is rectangular. */
    bool squareRoom = false;
    /** The ceiling is made of strip panels (bands). */
    bool isBand = false;
    /** Bands run vertically (columns); kept false when isBand is false. */
    bool bandVertical = false;
};
