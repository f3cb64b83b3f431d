#include "ceiling/HeightProfile.h"

#include "document/CGridMapping.h"

#include <algorithm>
#include <cmath>

namespace vs {

namespace {

double childHeight(const CGridMapping& plane, size_t child)
{
    const double hoist = child < plane.children.size() ? plane.children[child]->hoist : 0;
    return kBaseCeilingHeight + hoist;
}

} // namespace

std::vector<HeightStep> heightProfile(const CGridMapping& plane, const RPoint& from,
                                      const RPoint& to)
{
    if (plane.splitLines.empty())
        return {{0, kBaseCeilingHeight}};
    const double a1 = plane.horizontalSplit ? from.x : from.y;
    const double a2 = plane.horizontalSplit ? to.x : to.y;
    const double g = std::min(a1, a2);
    const double h = std::max(a1, a2);
    const bool againstAxis = a1 > a2;

    const auto& lines = plane.splitLines;
    size_t child = 0;
    while (child < lines.size() && lines[child]->pos <= g)
        ++child;
    std::vector<HeightStep> steps{{0, childHeight(plane, child)}};
    for (size_t i = child; i < lines.size(); ++i)
        if (lines[i]->pos < h)
            steps.push_back({lines[i]->pos - g, childHeight(plane, i + 1)});

    const double span = h - g;
    if (againstAxis) {
        // Read from the line's own start: the last piece comes first, each boundary mirrored.
        std::vector<HeightStep> mirrored{{0, steps.back().height}};
        for (size_t i = steps.size() - 1; i >= 1; --i)
            mirrored.push_back({span - steps[i].distance, steps[i - 1].height});
        steps = std::move(mirrored);
    }
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (span > 0 && std::isfinite(length / span))
        for (size_t i = 1; i < steps.size(); ++i)
            steps[i].distance *= length / span;
    return steps;
}

} // namespace vs
