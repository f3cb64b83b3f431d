#include "CContour.h"

#include "catalogue/ProfilePolylineBuilder.h"

#include <algorithm>
#include <optional>

CContour::CContour(CSectionBarProfile* profile, int32_t id, bool isCrease)
    : id(id), isCrease(isCrease), profile(profile)
{
}

bool CContour::isCounterClockwise() const
{
    size_t n = vertices.size();
    if (n <= 2)
        return true;
    // Twice the signed area; coordinates are taken relative to the first vertex to keep the
    // products small.
    RPoint o = vertices[0]->position();
    double area = 0;
    for (size_t i = 0; i < n; ++i) {
        RPoint p = vertices[i]->position();
        RPoint q = vertices[(i + 1) % n]->position();
        area += (p.x - o.x) * (q.y - o.y) - (q.x - o.x) * (p.y - o.y);
    }
    return !(area < 0);
}

void CContour::finish()
{
    if (!isCrease && !isCounterClockwise())
        reverse();
    link();
    for (auto& vertex : vertices)
        vertex->buildSegments();
}

void CContour::reverse()
{
    size_t n = vertices.size();
    if (n < 2)
        return;
    std::vector<RPoint> positions;
    for (const auto& vertex : vertices)
        positions.push_back(vertex->position());

    // A material stretch starting on edge a runs over the following unmarked edges up to
    // edge b; walked the other way it starts on edge b.
    std::vector<std::optional<SectionBarMaterial>> markers(n);
    for (size_t a = 0; a < n; ++a) {
        if (!vertices[a]->material)
            continue;
        size_t b = a;
        while (!vertices[(b + 1) % n]->material && (b + 1) % n != a)
            b = (b + 1) % n;
        markers[b] = vertices[a]->material;
    }

    // Edge i (from vertex i to i + 1) becomes the edge leaving vertex i + 1.
    std::vector<std::unique_ptr<VarRPoint>> points(n);
    std::vector<std::vector<std::unique_ptr<CCreases>>> creases(n);
    for (size_t i = 0; i < n; ++i) {
        size_t to = (i + 1) % n;
        points[to] = std::move(vertices[i]->point);
        creases[to] = std::move(vertices[i]->creases);
        for (auto& crease : creases[to])
            crease->mirror();
    }
    for (size_t i = 0; i < n; ++i) {
        size_t from = (i + n - 1) % n;
        CSectionBarVertex& vertex = *vertices[i];
        vertex.point = std::move(points[i]);
        vertex.point->x = positions[i].x;
        vertex.point->y = positions[i].y;
        if (vertex.point->kind() != 0)
            static_cast<RPointWallArc&>(*vertex.point).reverse();
        vertex.creases = std::move(creases[i]);
        vertex.material = std::move(markers[from]);
    }
    std::reverse(vertices.begin(), vertices.end());
}

void CContour::link()
{
    size_t n = vertices.size();
    for (size_t i = 0; i < n; ++i) {
        vertices[i]->next = vertices[(i + 1) % n].get();
        vertices[i]->previous = vertices[(i + n - 1) % n].get();
    }
}

size_t CContour::pointCount() const
{
    if (vertices.empty())
        return 0;
    size_t count = 1;
    for (const auto& vertex : vertices) {
        count += vertex->material ? 1 : 0;
        for (const auto& segment : vertex->segments)
            count += segment->pointCount();
    }
    return count;
}

size_t CContour::patternPointCount() const
{
    size_t count = 1;
    for (size_t j = 0; j + 1 < vertices.size(); ++j)
        count += vertices[j]->edgePointCount() + (vertices[j]->material ? 1 : 0);
    return count + 2; // the material switches at the start and after the copy
}

void CContour::evaluate(ProfilePolylineBuilder& builder) const
{
    if (vertices.empty())
        return;
    const CSectionBarVertex* first = vertices.front().get();
    for (const auto& vertex : vertices) {
        if (vertex->material) {
            first = vertex.get();
            break;
        }
    }
    const SectionBarMaterial* stretch =
        first->material ? &*first->material : builder.currentMaterial();
    builder.startPolyline(stretch, first->position());
    const CSectionBarVertex* vertex = first;
    do {
        if (vertex != first && vertex->material) {
            stretch = &*vertex->material;
            builder.startPolyline(stretch, vertex->position());
        }
        for (const auto& segment : vertex->segments)
            segment->evaluate(builder, stretch);
        vertex = vertex->next;
    } while (vertex && vertex != first);
}
