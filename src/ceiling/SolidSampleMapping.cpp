#include "ceiling/SolidSampleMapping.h"

#include "catalogue/CFacilityModel.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace vs {
namespace {

/** Walls whose directions differ by this much or more do not run the same way, degrees. */
constexpr double kMaxWallTurn = 30;
/** Slack of the angle and projection comparisons: turns computed in floating point land a
 *  hair's breadth off the whole degrees and wall ends they stand for. */
constexpr double kAngleSlack = 1e-6;
constexpr double kProjectionSlack = 1e-9;

bool hasExtent(const RRect& r)
{
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
           std::isfinite(r.bottom) && r.right > r.left && r.bottom > r.top;
}

double width(const RRect& r)
{
    return r.right - r.left;
}

double height(const RRect& r)
{
    return r.bottom - r.top;
}

/** The root plane of a document whose outline has an extent; throws otherwise. */
const CGridMapping& rootPlane(const CSolidDocument& document, const char* which)
{
    const CGridMapping* root = document.ceiling ? document.ceiling->root.get() : nullptr;
    if (root == nullptr || root->outlinePoints.size() < 3 || !hasExtent(root->outlineBounds))
        throw std::invalid_argument(std::string(which) + " has no room outline to map");
    return *root;
}

/** The plan point the document's stored positions are relative to: the left/top corner of
 *  the root plane's indented bounds, (0, 0) when they are empty. */
RPoint positionOrigin(const CGridMapping& root)
{
    const RRect& b = root.indentedBounds;
    if (!(b.left <= b.right && b.top <= b.bottom) || !std::isfinite(b.left) ||
        !std::isfinite(b.top))
        return {};
    return {b.left, b.top};
}

/** Direction of a segment in the plan, degrees. */
double direction(const WallSegment& s)
{
    return std::atan2(s.end.y - s.start.y, s.end.x - s.start.x) * 180 / M_PI;
}

/** The difference of two directions, 0 to 180 degrees. */
double turnBetween(double a, double b)
{
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

/** Distance from `p` to the segment when `p` projects strictly between its ends; else none
 *  (infinity). */
double distanceWithin(const RPoint& p, const WallSegment& s)
{
    const double dx = s.end.x - s.start.x;
    const double dy = s.end.y - s.start.y;
    const double lengthSquared = dx * dx + dy * dy;
    if (!(lengthSquared > 0))
        return std::numeric_limits<double>::infinity();
    const double t = ((p.x - s.start.x) * dx + (p.y - s.start.y) * dy) / lengthSquared;
    if (!(t > kProjectionSlack && t < 1 - kProjectionSlack))
        return std::numeric_limits<double>::infinity();
    return std::fabs((p.x - s.start.x) * dy - (p.y - s.start.y) * dx) / std::sqrt(lengthSquared);
}

/** The walls of `document` on the edges of its root plane's indented outline, as the scene
 *  stands them (edge from point `index` to the next). */
std::vector<WallSegment> roomWallSegments(const CSolidDocument& document, const CGridMapping& root)
{
    const std::vector<RPoint>& outline = root.indentedOutline;
    std::vector<WallSegment> segments;
    for (const auto& wall : document.walls) {
        WallSegment s;
        if (wall->index >= 0 && static_cast<size_t>(wall->index) < outline.size()) {
            const size_t i = static_cast<size_t>(wall->index);
            s = {outline[i], outline[(i + 1) % outline.size()], true};
        }
        segments.push_back(s);
    }
    return segments;
}

/** The sample's walls on its outline, mirrored while the sample is shown inverted, mapped
 *  into the room. */
std::vector<WallSegment> sampleWallSegments(const CSolidDocument& sample, const CGridMapping& root,
                                            const SampleMapping& m)
{
    const RRect& s = root.outlineBounds;
    std::vector<RPoint> outline = root.outlinePoints;
    for (RPoint& p : outline) {
        if (sample.inverted)
            p.y = s.top + s.bottom - p.y;
        p = m.map(p);
    }
    std::vector<WallSegment> segments;
    for (const auto& wall : sample.walls) {
        WallSegment w;
        if (wall->index >= 0 && static_cast<size_t>(wall->index) < outline.size()) {
            const size_t i = static_cast<size_t>(wall->index);
            w = {outline[i], outline[(i + 1) % outline.size()], true};
        }
        segments.push_back(w);
    }
    return segments;
}

std::unique_ptr<CSolidFacility> copyFacility(const CSolidFacility& from)
{
    auto to = std::make_unique<CSolidFacility>();
    to->facilityModel = from.facilityModel;
    to->correctExtent = from.correctExtent;
    to->size = from.size;
    to->position = from.position;
    to->rotateDegree = from.rotateDegree;
    to->customZoom = from.customZoom;
    to->emissive = from.emissive;
    for (const auto& child : from.children)
        to->children.push_back(copyFacility(*child));
    for (const auto& material : from.customMaterials) {
        auto copy = std::make_unique<CustomMaterial>(*material);
        copy->texture = nullptr; // made again for the copy's own scene
        to->customMaterials.push_back(std::move(copy));
    }
    return to;
}

/** The sample facility placed in the room: mapped, turned and kept inside `roomBounds`. */
std::unique_ptr<CSolidFacility> mapFacility(const CSolidFacility& from, const SampleMapping& m,
                                            const RPoint& sampleOrigin, const RPoint& roomOrigin,
                                            const RRect& roomBounds)
{
    std::unique_ptr<CSolidFacility> to = copyFacility(from);
    if (to->facilityModel != nullptr)
        to->correctExtent = Vec3f{};
    to->stickWall = nullptr;
    to->rotateDegree = static_cast<float>(from.rotateDegree + m.angle());

    RPoint place = m.map({from.position.x + sampleOrigin.x, from.position.z + sampleOrigin.y});
    // The footprint: the size box turned by the new rotation, centred on the place.
    const double turn = to->rotateDegree * M_PI / 180;
    const double c = std::fabs(std::cos(turn));
    const double s = std::fabs(std::sin(turn));
    const double halfX = std::fabs(from.size.x) / 2;
    const double halfZ = std::fabs(from.size.z) / 2;
    const double reachX = halfX * c + halfZ * s;
    const double reachY = halfX * s + halfZ * c;
    place.x += shiftInside(place.x - reachX, place.x + reachX, roomBounds.left, roomBounds.right);
    place.y += shiftInside(place.y - reachY, place.y + reachY, roomBounds.top, roomBounds.bottom);
    to->position.x = static_cast<float>(place.x - roomOrigin.x);
    to->position.z = static_cast<float>(place.y - roomOrigin.y);
    return to;
}

double segmentLength(const WallSegment& s)
{
    return std::hypot(s.end.x - s.start.x, s.end.y - s.start.y);
}

/** The sample wall's bands and flat items, copied for a room wall of `length`. */
WallDecoration copyDecoration(const CWall& from, double length)
{
    WallDecoration to;
    for (const auto& part : from.wallParts)
        to.wallParts.push_back(std::make_unique<CWallPart>(*part));
    for (const auto& flat : from.flatFacilities) {
        auto copy = std::make_unique<CFlatFacility>();
        copy->facilityModel = flat->facilityModel;
        copy->flatSize = flat->flatSize;
        copy->position = flat->position;
        int itemWidth = flat->flatSize.width;
        if (itemWidth == 0 && flat->facilityModel != nullptr)
            itemWidth = flat->facilityModel->defaultFlatSize().width;
        const double last = std::max(0.0, length - std::max(0, itemWidth));
        if (std::isfinite(last) && std::isfinite(copy->position.x))
            copy->position.x = std::clamp(copy->position.x, 0.0, last);
        to.flatFacilities.push_back(std::move(copy));
    }
    return to;
}

} // namespace

SampleMapping::SampleMapping(const RRect& sample, const RRect& room, double angleDegrees)
{
    if (!hasExtent(sample) || !hasExtent(room))
        throw std::invalid_argument("a room outline without extent cannot be mapped");
    if (!std::isfinite(angleDegrees))
        throw std::invalid_argument("the sample's angle is not a number");
    sampleCentre_ = sample.centre();
    roomCentre_ = room.centre();
    angle_ = angleDegrees;
    const double radians = angleDegrees * M_PI / 180;
    cos_ = std::cos(radians);
    sin_ = std::sin(radians);
    // Whole quarter turns come out exact, so that turned rooms match wall for wall.
    if (std::fmod(angleDegrees, 90.0) == 0) {
        cos_ = std::round(cos_);
        sin_ = std::round(sin_);
    }
    const bool halfTurns = std::fmod(angleDegrees, 180.0) == 0;
    scaleX_ = width(room) / (halfTurns ? width(sample) : height(sample));
    scaleY_ = height(room) / (halfTurns ? height(sample) : width(sample));
}

RPoint SampleMapping::turn(const RPoint& v) const
{
    // As the scene turns a facility by rotateDegree about its vertical axis (plan y = scene z).
    return {v.x * cos_ + v.y * sin_, -v.x * sin_ + v.y * cos_};
}

RPoint SampleMapping::map(const RPoint& p) const
{
    const RPoint turned = turn({p.x - sampleCentre_.x, p.y - sampleCentre_.y});
    return {turned.x * scaleX_ + roomCentre_.x, turned.y * scaleY_ + roomCentre_.y};
}

std::vector<int> matchSampleWalls(const std::vector<WallSegment>& sampleWalls,
                                  const std::vector<WallSegment>& roomWalls)
{
    std::vector<int> chosen(sampleWalls.size(), -1);
    std::vector<bool> used(roomWalls.size(), false);
    for (size_t j = 0; j < sampleWalls.size(); ++j) {
        const WallSegment& w = sampleWalls[j];
        if (!w.valid)
            continue;
        const double alpha = direction(w);
        const RPoint middle{(w.start.x + w.end.x) / 2, (w.start.y + w.end.y) / 2};
        double best = std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < roomWalls.size(); ++i) {
            if (used[i] || !roomWalls[i].valid)
                continue;
            if (!(turnBetween(alpha, direction(roomWalls[i])) < kMaxWallTurn - kAngleSlack))
                continue;
            const double distance = distanceWithin(middle, roomWalls[i]);
            if (distance < best) {
                best = distance;
                chosen[j] = static_cast<int>(i);
            }
        }
        if (chosen[j] >= 0)
            used[static_cast<size_t>(chosen[j])] = true;
    }
    return chosen;
}

double shiftInside(double low, double high, double lowest, double highest)
{
    if (high - low >= highest - lowest)
        return (lowest + highest) / 2 - (low + high) / 2;
    if (low < lowest)
        return lowest - low;
    if (high > highest)
        return highest - high;
    return 0;
}

SolidContents mapSolidSample(const CSolidDocument& sample, const CSolidDocument& room,
                             double angleDegrees)
{
    const CGridMapping& sampleRoot = rootPlane(sample, "the sample design");
    const CGridMapping& roomRoot = rootPlane(room, "the open design");
    const SampleMapping m(sampleRoot.outlineBounds, roomRoot.outlineBounds, angleDegrees);

    SolidContents contents;
    const RPoint sampleOrigin = positionOrigin(sampleRoot);
    const RPoint roomOrigin = positionOrigin(roomRoot);
    for (const auto& facility : sample.solidFacilities)
        if (facility->stickWall == nullptr)
            contents.solidFacilities.push_back(
                mapFacility(*facility, m, sampleOrigin, roomOrigin, roomRoot.outlineBounds));

    const std::vector<WallSegment> roomWalls = roomWallSegments(room, roomRoot);
    const std::vector<int> chosen =
        matchSampleWalls(sampleWallSegments(sample, sampleRoot, m), roomWalls);
    contents.walls.resize(room.walls.size());
    for (size_t j = 0; j < chosen.size(); ++j)
        if (chosen[j] >= 0) {
            const size_t i = static_cast<size_t>(chosen[j]);
            contents.walls[i] = copyDecoration(*sample.walls[j], segmentLength(roomWalls[i]));
        }
    return contents;
}

void exchangeSolidContents(CSolidDocument& room, SolidContents& contents)
{
    if (contents.walls.size() != room.walls.size())
        throw std::invalid_argument("the sample's contents have " +
                                    std::to_string(contents.walls.size()) + " walls, the room " +
                                    std::to_string(room.walls.size()));
    room.solidFacilities.swap(contents.solidFacilities);
    for (size_t i = 0; i < room.walls.size(); ++i) {
        room.walls[i]->wallParts.swap(contents.walls[i].wallParts);
        room.walls[i]->flatFacilities.swap(contents.walls[i].flatFacilities);
    }
}

} // namespace vs
