#include "CSectionBarSegment.h"

#include "catalogue/CCreases.h"
#include "catalogue/CSectionBarVertex.h"
#include "catalogue/ProfilePolylineBuilder.h"

#include <vector>

CSectionBarSegment::CSectionBarSegment(CSectionBarVertex* vertex, double start, double length,
                                       const CCreases* crease)
    : start(start), length(length), vertex(vertex), crease(crease)
{
}

void CSectionBarSegment::evaluate(ProfilePolylineBuilder& builder,
                                  const SectionBarMaterial* edgeMaterial) const
{
    if (crease) {
        crease->evaluate(builder, *vertex, start, edgeMaterial);
        return;
    }
    builder.switchMaterial(material ? material : edgeMaterial);
    if (!endsEdge) {
        builder.append(vertex->pointAlongEdge(start + length));
        return;
    }
    std::vector<RPoint> points;
    vertex->appendEdgePoints(points);
    for (const RPoint& point : points)
        builder.append(point);
}

size_t CSectionBarSegment::pointCount() const
{
    if (crease)
        return crease->pointCount();
    // One more for the polyline a change of material starts at the piece's start.
    return (endsEdge ? vertex->edgePointCount() : 1) + 1;
}
