// Applying a solid sample to a room, on the documents alone: the sample design's free-standing
// facilities mapped into the room by the two rooms' ceiling outlines (turned by an angle and
// stretched to fit), and each sample wall's decoration (bands and flat items) copied onto the
// room's wall that runs the same way and lies nearest. The scene follows through
// scene/SolidSampleScene.h; the undoable step is edit/SolidSampleCommand.h.
//
// Plan coordinates are absolute, in decimillimetres, y running down the plan (the scene's z);
// angles are degrees. Facility positions are stored relative to the left/top corner of their
// room's root indented bounds and converted on the way.
//
// Rules this module settles:
// - Footprint kept inside the room, per axis: the facility's footprint (its size box, turned
//   by its new rotation, around its mapped position) is moved the least distance that puts it
//   within the room's outline bounds on that axis; a footprint wider than the room on an axis
//   is centred on the room there instead. The height is never moved.
// - Size: a mapped facility keeps the sample facility's size and custom zoom (a fridge stays
//   the size of a fridge however the room is stretched); only its place is stretched. Its
//   correctExtent is zero, so the scene takes it from the model's mesh again; a pure group
//   keeps its own (its box). Group members and custom materials come along as they are.
// - A sample wall stands on the edge from its outline point to the next, as walls stand in the
//   scene. A flat item copied onto a shorter wall is moved back along it so that it stays on
//   the wall (to its start when it is longer than the wall).
#pragma once

#include "document/CFlatFacility.h"
#include "document/CSolidFacility.h"
#include "document/CWallPart.h"
#include "document/RPoint.h"
#include "document/RRect.h"

#include <memory>
#include <vector>

class CSolidDocument;

namespace vs {

/** The mapping M from the sample's plan onto the room's: translate by -centre(sample), turn by
 *  the angle about the vertical, stretch, translate to centre(room). */
class SampleMapping
{
public:
    /**
     * Stretches x by room width / sample width and y by room height / sample height when
     * `angleDegrees` is a multiple of 180; by room width / sample height and room height /
     * sample width otherwise (the turn exchanges the sample's axes). Throws
     * std::invalid_argument when either rectangle has no positive, finite width and height.
     */
    SampleMapping(const RRect& sample, const RRect& room, double angleDegrees);

    /** Returns M(p). */
    RPoint map(const RPoint& p) const;
    /** Turns a plan vector by the angle, in the sense a facility's rotateDegree turns it. */
    RPoint turn(const RPoint& v) const;

    double angle() const { return angle_; }
    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }

private:
    RPoint sampleCentre_;
    RPoint roomCentre_;
    double angle_ = 0;
    double cos_ = 1;
    double sin_ = 0;
    double scaleX_ = 1;
    double scaleY_ = 1;
};

/** A wall's base line in the plan; `valid` is false for a wall without an edge. */
struct WallSegment
{
    RPoint start;
    RPoint end;
    bool valid = false;
};

/**
 * For each sample wall, the index into `roomWalls` of the wall its decoration goes to, or -1.
 * In sample order, a sample wall takes, among the room walls not taken yet whose direction
 * differs from its own by less than 30 degrees, the one nearest to its midpoint, counting only
 * walls onto whose segment the midpoint projects strictly between the end points.
 */
std::vector<int> matchSampleWalls(const std::vector<WallSegment>& sampleWalls,
                                  const std::vector<WallSegment>& roomWalls);

/**
 * Returns how far to move the span [low, high] so that it lies within [lowest, highest]: the
 * least such distance, or the distance that centres it there when it is the wider of the two.
 */
double shiftInside(double low, double high, double lowest, double highest);

/** A wall's decoration: its bands and its flat items. */
struct WallDecoration
{
    std::vector<std::unique_ptr<CWallPart>> wallParts;
    std::vector<std::unique_ptr<CFlatFacility>> flatFacilities;
};

/** The part of a room that applying a sample replaces: its solid facilities and the
 *  decoration of each of its walls (one entry per wall, in the room's wall order). */
struct SolidContents
{
    std::vector<std::unique_ptr<CSolidFacility>> solidFacilities;
    std::vector<WallDecoration> walls;
};

/**
 * Returns what `room` holds once `sample` is applied to it turned by `angleDegrees`: the
 * sample's free-standing facilities mapped (facilities stuck to a wall are left out), and the
 * decorations of the sample's walls on the room walls they match; room walls that match no
 * sample wall get none. The sample's outline is mirrored (y' = minY + maxY - y) while the
 * sample is shown inverted. Neither document changes. Throws std::invalid_argument when
 * either document has no root ceiling plane with an outline of positive extent, or for an
 * angle that is not finite.
 */
SolidContents mapSolidSample(const CSolidDocument& sample, const CSolidDocument& room,
                             double angleDegrees);

/**
 * Exchanges `room`'s solid facilities and wall decorations with `contents`: afterwards the
 * room holds what `contents` held and `contents` what the room held, the very objects, so that
 * exchanging again restores the room. Scene pointers are left as they are (release the scene
 * first). Throws std::invalid_argument, changing nothing, when `contents` has not one entry
 * per wall of the room.
 */
void exchangeSolidContents(CSolidDocument& room, SolidContents& contents);

} // namespace vs
