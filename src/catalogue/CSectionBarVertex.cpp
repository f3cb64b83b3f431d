#include "CSectionBarVertex.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

RPoint onCircle(const RPointWallArc& arc, double degrees)
{
    double radians = degrees * kPi / 180;
    return {arc.p3 + arc.p5 * std::cos(radians), arc.p4 + arc.p5 * std::sin(radians)};
}

} // namespace

CSectionBarVertex::CSectionBarVertex(CContour* contour, std::unique_ptr<VarRPoint> point)
    : point(std::move(point)), contour(contour)
{
}

double CSectionBarVertex::edgeLength() const
{
    if (hasArcEdge()) {
        const auto& arc = static_cast<const RPointWallArc&>(*point);
        return std::fabs(arc.p5 * (arc.endValue - arc.startValue) * kPi / 180);
    }
    RPoint a = position();
    RPoint b = next ? next->position() : a;
    return std::hypot(b.x - a.x, b.y - a.y);
}

RPoint CSectionBarVertex::pointAlongEdge(double distance) const
{
    RPoint a = position();
    RPoint b = next ? next->position() : a;
    double length = std::hypot(b.x - a.x, b.y - a.y);
    if (!(distance < length) || length == 0)
        return b;
    double ux = (b.x - a.x) / length;
    double uy = (b.y - a.y) / length;
    return {a.x + ux * distance, a.y + uy * distance};
}

void CSectionBarVertex::appendEdgePoints(std::vector<RPoint>& out) const
{
    if (hasArcEdge()) {
        const auto& arc = static_cast<const RPointWallArc&>(*point);
        double sweep = arc.endValue - arc.startValue;
        for (int k = 1; k < kArcSteps; ++k)
            out.push_back(onCircle(arc, arc.startValue + k * sweep / kArcSteps));
    }
    out.push_back(next ? next->position() : position());
}

void CSectionBarVertex::buildSegments()
{
    segments.clear();
    double length = edgeLength();
    std::vector<const CCreases*> drawn;
    if (!hasArcEdge() && length > 0) {
        for (const auto& crease : creases) {
            if (crease->copies > 0)
                drawn.push_back(crease.get());
        }
    }
    std::stable_sort(drawn.begin(), drawn.end(), [length](const CCreases* a, const CCreases* b) {
        return a->startOn(length) < b->startOn(length);
    });

    // A crease's second material covers the plain piece after it as the crease was given:
    // before it when the edge is now walked the other way.
    auto second = [](const CCreases* crease) -> const SectionBarMaterial* {
        return crease->useOwnMaterial && crease->secondMaterial ? &*crease->secondMaterial
                                                                : nullptr;
    };
    const SectionBarMaterial* after = nullptr;
    double cursor = 0;
    for (const CCreases* crease : drawn) {
        double start = crease->startOn(length);
        if (start > cursor) {
            segments.push_back(
                std::make_unique<CSectionBarSegment>(this, cursor, start - cursor, nullptr));
            const SectionBarMaterial* before = crease->mirrored ? second(crease) : nullptr;
            segments.back()->material = before ? before : after;
            cursor = start;
        }
        double covered = crease->coveredLength();
        segments.push_back(std::make_unique<CSectionBarSegment>(this, start, covered, crease));
        cursor = std::max(cursor, start + covered);
        after = crease->mirrored ? nullptr : second(crease);
    }
    // The last piece always ends at the next vertex, even when a crease reached beyond it.
    segments.push_back(std::make_unique<CSectionBarSegment>(
        this, std::min(cursor, length), std::max(length - cursor, 0.0), nullptr));
    segments.back()->material = after;
    segments.back()->endsEdge = true;
}
