#include "CCreases.h"

#include "catalogue/CContour.h"
#include "catalogue/CSectionBarVertex.h"
#include "catalogue/ProfilePolylineBuilder.h"
#include "platform/Errors.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

std::string tooManyCopies(int32_t id, double copies)
{
    return "crease of pattern " + std::to_string(id) + " would draw " +
           (copies < 1e12 ? std::to_string(static_cast<long long>(copies)) : "too many") +
           " copies; at most " + std::to_string(CCreases::kMaxRepeats) + " are allowed";
}

} // namespace

void CCreases::resolve(const CContour* patternContour)
{
    pattern = patternContour && !patternContour->vertices.empty() ? patternContour : nullptr;
    copies = 0;
    periodLength = 0;
    if (!pattern)
        return;
    double width = patternWidth();
    if (repeatCount > 0) {
        if (repeatCount > kMaxRepeats)
            throw vs::InvalidInput(tooManyCopies(creaseTypeContourId, repeatCount));
        copies = repeatCount;
    } else {
        double unit = width * scale.x;
        if (unit > 0 && len > 0) {
            double fit = std::floor(len / unit);
            if (fit > kMaxRepeats)
                throw vs::InvalidInput(tooManyCopies(creaseTypeContourId, fit));
            copies = static_cast<int32_t>(fit);
        }
    }
    periodLength = width * copies;
}

double CCreases::patternWidth() const
{
    if (!pattern || pattern->vertices.empty())
        return 0;
    return pattern->vertices.back()->point->x - pattern->vertices.front()->point->x;
}

double CCreases::coveredLength() const
{
    // Computed as the copies' shifts are, so the last copy ends exactly where this says.
    return copies * (patternWidth() * scale.x);
}

double CCreases::givenStart(double edgeLength) const
{
    if (pos1 != kNotGiven)
        return pos1;
    if (pos2 != kNotGiven)
        return pos2 - coveredLength();
    return (edgeLength - coveredLength()) / 2;
}

double CCreases::startOn(double edgeLength) const
{
    double start = givenStart(edgeLength);
    return mirrored ? edgeLength - (start + coveredLength()) : start;
}

size_t CCreases::pointCount() const
{
    if (!pattern || copies <= 0)
        return 0;
    return static_cast<size_t>(copies) * pattern->patternPointCount();
}

namespace {

// A stretch of the copies drawn in one material, as (along, across) pairs in the frame the
// crease was given in.
struct Run
{
    const SectionBarMaterial* material;
    bool switches; // the run sets its material; otherwise it continues the current one
    std::vector<RPoint> points;
};

} // namespace

void CCreases::evaluate(ProfilePolylineBuilder& builder, const CSectionBarVertex& vertex,
                        double start, const SectionBarMaterial* edgeMaterial) const
{
    if (!pattern || copies <= 0)
        return;
    RPoint a = vertex.position();
    RPoint b = vertex.next ? vertex.next->position() : a;
    double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0)
        return;
    double given = mirrored ? length - (start + coveredLength()) : start;

    // The copies as given; a mirrored crease is then drawn from its far end backwards.
    RPoint origin = pattern->vertices.front()->position();
    double width = patternWidth();
    double step = width * scale.x;
    // Along the edge, a copy's last vertex lands exactly where the next copy starts.
    auto local = [&](RPoint p, int32_t k) {
        double dx = p.x - origin.x;
        double along = width != 0 ? given + (k + dx / width) * step : given + dx * scale.x;
        return RPoint{along, (p.y - origin.y) * scale.y};
    };
    std::vector<Run> runs;
    runs.push_back(
        {useOwnMaterial && firstMaterial ? &*firstMaterial : edgeMaterial, useOwnMaterial, {}});
    std::vector<RPoint> edgePoints;
    const auto& vertices = pattern->vertices;
    for (int32_t k = 0; k < copies; ++k) {
        runs.back().points.push_back(local(vertices.front()->position(), k));
        for (size_t j = 0; j < vertices.size(); ++j) {
            const CSectionBarVertex& pv = *vertices[j];
            if (useOwnMaterial && pv.material)
                runs.push_back({&*pv.material, true, {runs.back().points.back()}});
            if (j + 1 == vertices.size())
                break; // the pattern is open: its closing edge is not drawn
            edgePoints.clear();
            pv.appendEdgePoints(edgePoints);
            for (const RPoint& p : edgePoints)
                runs.back().points.push_back(local(p, k));
        }
    }

    RPoint along{(b.x - a.x) / length, (b.y - a.y) / length};
    RPoint across{-along.y, along.x};
    auto place = [&](RPoint p) {
        double s = mirrored ? length - p.x : p.x;
        double t = mirrored ? -p.y : p.y;
        return RPoint{a.x + along.x * s + across.x * t, a.y + along.y * s + across.y * t};
    };
    auto emit = [&](const Run& run, bool backwards) {
        if (run.switches)
            builder.switchMaterial(run.material);
        if (backwards) {
            for (auto p = run.points.rbegin(); p != run.points.rend(); ++p)
                builder.append(place(*p));
        } else {
            for (const RPoint& p : run.points)
                builder.append(place(p));
        }
    };
    if (mirrored) {
        for (auto run = runs.rbegin(); run != runs.rend(); ++run)
            emit(*run, true);
    } else {
        for (const Run& run : runs)
            emit(run, false);
    }
}
