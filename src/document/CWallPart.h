// A horizontal band of a wall between two heights, covered by a catalogue model's picture.
#pragma once

#include "platform/IntSize.h"

#include <memory>

class CFacilityModel;

/**
 * The mesh node and mesh of a band or a flat item while its wall is shown. The scene layer
 * defines it and hands the record its own deleter with it.
 */
struct WallSurfaceScene;

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
    /** Releases the scene record through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<WallSurfaceScene, void (*)(WallSurfaceScene*)>;
    /** The band's mesh node and its front and back faces while shown (scene/WallScene.h). */
    ScenePtr scene{nullptr, nullptr};

    /** Returns the visibility the design is saved with: visible and of a positive height. */
    bool writtenVisible() const { return definition.visible && definition.height > 0; }
};
