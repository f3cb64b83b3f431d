#include "ceiling/PolygonOps.h"

#include "ceiling/PolygonClipper.h"
#include "ceiling/PolygonTessellator.h"
#include "ceiling/SquareCover.h"

#include <limits>
#include <stdexcept>

namespace vs {

PlanPolygon polygonDifference(const PlanPolygon& subject, const PlanPolygon& clip)
{
    return PolygonClipper().execute(subject, clip, ClipOperation::Difference);
}

PlanPolygon polygonIntersection(const PlanPolygon& a, const PlanPolygon& b)
{
    return PolygonClipper().execute(a, b, ClipOperation::Intersection);
}

TriangleStrips clipToStrips(const PlanPolygon& subject, const PlanPolygon& clip, ClipOperation op)
{
    const PlanPolygon result = PolygonClipper().execute(subject, clip, op);
    if (result.empty())
        return {};
    return PolygonTessellator().tessellate(result);
}

TriangleStrips triangulate(const PlanPolygon& polygon)
{
    return clipToStrips(polygon, PlanPolygon(), ClipOperation::Difference);
}

PlanPolygon openPolygon(const PlanPolygon& indented,
                        const std::vector<const PlanPolygon*>& childOutlines)
{
    PlanPolygon open = indented;
    PolygonClipper clipper;
    for (const PlanPolygon* child : childOutlines) {
        if (child)
            open = clipper.execute(open, *child, ClipOperation::Difference);
    }
    return open;
}

namespace {

TriangleStrips wholeSquare(const RRect& s)
{
    return TriangleStrips{
        {{{s.left, s.top}, {s.right, s.top}, {s.left, s.bottom}, {s.right, s.bottom}}}};
}

PlanPolygon rectPolygon(const RRect& r)
{
    return PlanPolygon::fromRect(r.left, r.top, r.right, r.bottom);
}

bool rowHasEdge(const SquareCover& cover, int row)
{
    for (int col = 0; col < cover.cols(); ++col) {
        if (cover.kind(col, row) == SquareCover::Kind::Edge)
            return true;
    }
    return false;
}

} // namespace

size_t clipEachSquare(const PlanPolygon& polygon, double squareSize, const SquareVisitor& visit)
{
    PolygonClipper clipper;
    PolygonTessellator tessellator;
    const PlanPolygon clean = clipper.execute(polygon, PlanPolygon(), ClipOperation::Difference);
    const SquareCover cover(clean, squareSize);
    const TriangleStrips none;
    for (int row = 0; row < cover.rows(); ++row) {
        // Edge squares are clipped from the row's band: far fewer edges than the whole polygon.
        PlanPolygon band;
        if (rowHasEdge(cover, row))
            band =
                clipper.execute(clean, rectPolygon(cover.band(row)), ClipOperation::Intersection);
        for (int col = 0; col < cover.cols(); ++col) {
            const RRect square = cover.square(col, row);
            switch (cover.kind(col, row)) {
            case SquareCover::Kind::Outside:
                visit(square, none);
                break;
            case SquareCover::Kind::Inside:
                visit(square, wholeSquare(square));
                break;
            case SquareCover::Kind::Edge:
                visit(square, tessellator.tessellate(clipper.execute(band, rectPolygon(square),
                                                                     ClipOperation::Intersection)));
                break;
            }
        }
    }
    return static_cast<size_t>(cover.cols()) * cover.rows();
}

std::vector<TriangleStrips> clipBySquares(const PlanPolygon& polygon, double squareSize)
{
    std::vector<TriangleStrips> squares;
    clipEachSquare(polygon, squareSize, [&squares](const RRect&, const TriangleStrips& strips) {
        squares.push_back(strips);
    });
    return squares;
}

int turnSign(const RPoint& a, const RPoint& b, const RPoint& c)
{
    const double z = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
    return (z > 0) - (z < 0);
}

bool positiveWinding(const std::vector<RPoint>& points)
{
    const size_t n = points.size();
    if (n <= 2)
        return true;
    long long sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += turnSign(points[(i + n - 1) % n], points[i], points[(i + 1) % n]);
    return sum >= 0;
}

std::vector<uint32_t> stripTriangleIndices(const TriangleStrips& strips,
                                           std::vector<RPoint>* vertices)
{
    size_t total = vertices ? vertices->size() : 0;
    for (const std::vector<RPoint>& strip : strips.strips)
        total += strip.size();
    if (total > std::numeric_limits<uint32_t>::max())
        throw std::invalid_argument("triangle strips exceed 32-bit indices");

    std::vector<uint32_t> indices;
    uint32_t base = vertices ? static_cast<uint32_t>(vertices->size()) : 0;
    for (const std::vector<RPoint>& strip : strips.strips) {
        for (size_t j = 2; j < strip.size(); ++j) {
            const uint32_t i = base + static_cast<uint32_t>(j);
            if (turnSign(strip[j - 2], strip[j - 1], strip[j]) >= 0)
                indices.insert(indices.end(), {i - 2, i - 1, i});
            else
                indices.insert(indices.end(), {i - 1, i - 2, i});
        }
        if (vertices)
            vertices->insert(vertices->end(), strip.begin(), strip.end());
        base += static_cast<uint32_t>(strip.size());
    }
    return indices;
}

} // namespace vs
