// A horizontal band of a wall between two heights, covered by a catalogue model's picture.
#pragma once

#include "platform/IntSize.h"

class CFacilityModel;
namespace irr {
namespace scene {
class IMeshSceneNode;
class SMesh;
} // namespace scene
} // namespace irr

/** Where a wall band sits. Heights in decimillimetres above the floor. */
class CWallPartDefinition
{
public:
    /** The stored "visible" flag: read, kept and written back (as visible and height > 0). It
     *  hides nothing: a part is shown whenever its height is positive (default walls keep their
     *  band and lower tiles, whose flags are false). */
    bool visible = true;
    /** The wall setup's "walls have a waist band" switch. Only a wall's band part (CWall::bandPart)
     *  ever has it false, and then that band is hidden; saved as "_hb" when false. */
    bool hasBand = true;
    double height = 0;
    /** Height of the band's lower edge above the floor. */
    double relativeBottom = 0;

    /** Returns the band's upper edge negated: -(relativeBottom + height). */
    double negatedTop() const { return -(relativeBottom + height); }
};

class CWallPart
{
public:
    CWallPart() = default;
    /** Copies the band's settings; the copy has no scene objects of its own yet. */
    CWallPart(const CWallPart& other)
        : definition(other.definition), ceramicTileSize(other.ceramicTileSize),
          facilityModel(other.facilityModel)
    {
    }
    /** Copies the band's settings, keeping this part's scene objects. */
    CWallPart& operator=(const CWallPart& other)
    {
        definition = other.definition;
        ceramicTileSize = other.ceramicTileSize;
        facilityModel = other.facilityModel;
        return *this;
    }

    CWallPartDefinition definition;
    /** Tile width and height; (0, 0) means the model's own size. */
    IntSize ceramicTileSize;
    /** The catalogue model giving the band's picture; not owned, may be null. */
    CFacilityModel* facilityModel = nullptr;
    /** The band's mesh node under its wall's group node while shown; owned by the scene graph. */
    irr::scene::IMeshSceneNode* sceneNode = nullptr;
    /** The band's front and back faces, held by the part while shown (dropped on release). */
    irr::scene::SMesh* sceneMesh = nullptr;

    /** Returns the visibility the design is saved with: visible and of a positive height. */
    bool writtenVisible() const { return definition.visible && definition.height > 0; }
};
