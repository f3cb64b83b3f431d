// A horizontal band of a wall between two heights, covered by a catalogue model's picture.
#pragma once

#include "platform/IntSize.h"

class CFacilityModel;

/** Where a wall band sits. Heights in decimillimetres above the floor. */
class CWallPartDefinition
{
public:
    bool visible = true;
    double height = 0;
    /** Height of the band's lower edge above the floor. */
    double relativeBottom = 0;

    /** Returns the band's upper edge negated: -(relativeBottom + height). */
    double negatedTop() const { return -(relativeBottom + height); }
};

class CWallPart
{
public:
    CWallPartDefinition definition;
    /** Tile width and height; (0, 0) means the model's own size. */
    IntSize ceramicTileSize;
    /** The catalogue model giving the band's picture; not owned, may be null. */
    CFacilityModel* facilityModel = nullptr;

    /** Returns the visibility the design is saved with: visible and of a positive height. */
    bool writtenVisible() const { return definition.visible && definition.height > 0; }
};
