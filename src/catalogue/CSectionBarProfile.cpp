#include "CSectionBarProfile.h"

#include "catalogue/ProfilePolylineBuilder.h"
#include "platform/Errors.h"

#include <limits>
#include <string>

const CContour* CSectionBarProfile::findCreaseContour(int32_t id) const
{
    for (const auto& contour : contours) {
        if (contour->isCrease && contour->id == id)
            return contour.get();
    }
    return nullptr;
}

void CSectionBarProfile::finish()
{
    // Patterns are linked first: their creases are never drawn, and every contour's edges
    // need the resolved copies to be divided into segments.
    for (const auto& contour : contours) {
        if (!contour->isCrease)
            continue;
        contour->finish();
    }
    for (const auto& contour : contours) {
        for (const auto& vertex : contour->vertices) {
            for (const auto& crease : vertex->creases)
                crease->resolve(findCreaseContour(crease->creaseTypeContourId));
        }
    }
    for (const auto& contour : contours) {
        if (!contour->isCrease)
            contour->finish();
    }
    size_t count = pointCount();
    if (count > kMaxPoints)
        throw vs::InvalidInput("profile would have more than " + std::to_string(kMaxPoints) +
                               " points");
}

size_t CSectionBarProfile::pointCount() const
{
    const size_t limit = std::numeric_limits<size_t>::max() / 2;
    size_t total = 0;
    for (const auto& contour : contours) {
        if (contour->isCrease)
            continue;
        size_t count = contour->pointCount();
        total = count > limit - total ? limit : total + count;
    }
    return total;
}

std::vector<ProfilePolyline> CSectionBarProfile::evaluate() const
{
    ProfilePolylineBuilder builder(pivot ? pivot->position() : RPoint{});
    for (const auto& contour : contours) {
        if (!contour->isCrease)
            contour->evaluate(builder);
    }
    return builder.take();
}
