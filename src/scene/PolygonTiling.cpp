#include "scene/PolygonTiling.h"

#include "scene/SceneBudget.h"

#include "ceiling/PolygonOps.h"

#include <algorithm>
#include <cmath>
#include <limits>

using irr::video::S3DVertex;

namespace vs {
namespace {

struct Segment
{
    RPoint a;
    RPoint b;
};

double usableSize(double v)
{
    return std::isfinite(v) && v >= 1 ? v : 1;
}

std::vector<Segment> edgesOf(const PlanPolygon& polygon)
{
    std::vector<Segment> edges;
    for (const PlanContour& contour : polygon.contours) {
        if (!usableContour(contour))
            continue;
        const std::vector<RPoint>& p = contour.points;
        for (size_t i = 0; i < p.size(); ++i)
            edges.push_back({p[i], p[(i + 1) % p.size()]});
    }
    return edges;
}

/** True when the segment touches the closed rectangle (Liang-Barsky clipping). */
bool segmentTouchesRect(const Segment& s, const RRect& r)
{
    double t0 = 0;
    double t1 = 1;
    const double dx = s.b.x - s.a.x;
    const double dy = s.b.y - s.a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.a.x - r.left, r.right - s.a.x, s.a.y - r.top, r.bottom - s.a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

/** Odd winding rule over every edge. */
bool inside(const std::vector<Segment>& edges, const RPoint& pt)
{
    bool in = false;
    for (const Segment& e : edges) {
        if ((e.a.y > pt.y) != (e.b.y > pt.y)) {
            const double x = e.a.x + (pt.y - e.a.y) * (e.b.x - e.a.x) / (e.b.y - e.a.y);
            if (pt.x < x)
                in = !in;
        }
    }
    return in;
}

S3DVertex vertexAt(const RPoint& p, float u, float v)
{
    return S3DVertex(static_cast<float>(p.x), 0, static_cast<float>(p.y), 0, -1, 0,
                     irr::video::SColor(255, 255, 255, 255), u, v);
}

void appendStrips(TiledSurface& out, const TriangleStrips& strips, const RPoint& texOrigin,
                  double tileW, double tileH)
{
    std::vector<RPoint> points;
    std::vector<uint32_t> local = stripTriangleIndices(strips, &points);
    const auto base = static_cast<uint32_t>(out.vertices.size());
    for (const RPoint& p : points)
        out.vertices.push_back(vertexAt(p, static_cast<float>((p.x - texOrigin.x) / tileW),
                                        static_cast<float>((p.y - texOrigin.y) / tileH)));
    for (uint32_t i : local)
        out.indices.push_back(base + i);
}

void appendCell(TiledSurface& out, const RRect& cell, double tileW, double tileH)
{
    const auto base = static_cast<uint32_t>(out.vertices.size());
    const auto u = static_cast<float>((cell.right - cell.left) / tileW);
    const auto v = static_cast<float>((cell.bottom - cell.top) / tileH);
    out.vertices.push_back(vertexAt({cell.left, cell.top}, 0, 0));
    out.vertices.push_back(vertexAt({cell.right, cell.top}, u, 0));
    out.vertices.push_back(vertexAt({cell.right, cell.bottom}, u, v));
    out.vertices.push_back(vertexAt({cell.left, cell.bottom}, 0, v));
    // (left, top), (right, top), (right, bottom) turns non-negatively: the face points down.
    for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u})
        out.indices.push_back(base + i);
}

bool validRect(const RRect& r)
{
    return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) &&
           std::isfinite(r.bottom) && r.left < r.right && r.top < r.bottom;
}

} // namespace

RRect polygonBounds(const PlanPolygon& polygon)
{
    double inf = std::numeric_limits<double>::infinity();
    RRect r{inf, inf, -inf, -inf};
    for (const PlanContour& c : polygon.contours)
        for (const RPoint& p : c.points) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                continue;
            r.left = std::min(r.left, p.x);
            r.top = std::min(r.top, p.y);
            r.right = std::max(r.right, p.x);
            r.bottom = std::max(r.bottom, p.y);
        }
    return r.left <= r.right ? r : RRect{};
}

TiledSurface tilePolygon(const PlanPolygon& polygon, const RRect& bounds, const TileGrid& grid)
{
    TiledSurface out;
    // Once a scene build has run out of triangles, cutting more surfaces is wasted work.
    if (sceneBudgetSpent())
        return out;
    const std::vector<Segment> edges = edgesOf(polygon);
    if (edges.empty())
        return out;
    const RRect pb = polygonBounds(polygon);
    const RRect clip = validRect(bounds) ? bounds : pb;
    RRect area{std::max(pb.left, clip.left), std::max(pb.top, clip.top),
               std::min(pb.right, clip.right), std::min(pb.bottom, clip.bottom)};
    if (!validRect(area))
        return out;
    const double tileW = usableSize(grid.width);
    const double tileH = usableSize(grid.height);
    const RPoint origin{std::isfinite(grid.origin.x) ? grid.origin.x : 0,
                        std::isfinite(grid.origin.y) ? grid.origin.y : 0};

    // Tiles per cell side: 1 unless the area holds more than kMaxTilingCells tiles. Both sides
    // are grouped alike, except that a narrow strip (a wall band kilometres long, no more tiles
    // across than the square root of the cap) keeps its rows and is grouped along its length.
    const double tilesX = std::ceil((area.right - area.left) / tileW) + 1;
    const double tilesY = std::ceil((area.bottom - area.top) / tileH) + 1;
    double groupX = 1;
    double groupY = 1;
    const auto cap = static_cast<double>(kMaxTilingCells);
    if (tilesX * tilesY > cap) {
        const double even = std::ceil(std::sqrt(tilesX * tilesY / cap));
        const bool wide = tilesX >= tilesY;
        const double shorter = wide ? tilesY : tilesX;
        const double longer = wide ? tilesX : tilesY;
        const double groupShort = shorter * shorter <= cap ? 1 : std::min(even, shorter);
        const double groupLong = std::ceil(longer * std::ceil(shorter / groupShort) / cap);
        groupX = wide ? groupLong : groupShort;
        groupY = wide ? groupShort : groupLong;
    }
    const double cellW = tileW * groupX;
    const double cellH = tileH * groupY;
    const double firstX = origin.x + std::floor((area.left - origin.x) / cellW) * cellW;
    const double firstY = origin.y + std::floor((area.top - origin.y) / cellH) * cellH;
    const auto cols = static_cast<int64_t>(std::ceil((area.right - firstX) / cellW));
    const auto rows = static_cast<int64_t>(std::ceil((area.bottom - firstY) / cellH));

    for (int64_t row = 0; row < rows; ++row) {
        for (int64_t col = 0; col < cols; ++col) {
            RRect cell{firstX + static_cast<double>(col) * cellW,
                       firstY + static_cast<double>(row) * cellH,
                       firstX + static_cast<double>(col + 1) * cellW,
                       firstY + static_cast<double>(row + 1) * cellH};
            const RPoint texOrigin{cell.left, cell.top};
            const bool cut = cell.left < clip.left || cell.top < clip.top ||
                             cell.right > clip.right || cell.bottom > clip.bottom;
            RRect piece{std::max(cell.left, clip.left), std::max(cell.top, clip.top),
                        std::min(cell.right, clip.right), std::min(cell.bottom, clip.bottom)};
            if (!validRect(piece))
                continue;
            const bool crossed = std::any_of(edges.begin(), edges.end(), [&](const Segment& e) {
                return segmentTouchesRect(e, piece);
            });
            if (!crossed) {
                if (!inside(edges, piece.centre()))
                    continue;
                if (!cut) {
                    appendCell(out, piece, tileW, tileH);
                    continue;
                }
            }
            PlanPolygon square =
                PlanPolygon::fromRect(piece.left, piece.top, piece.right, piece.bottom);
            appendStrips(out, clipToStrips(polygon, square, ClipOperation::Intersection), texOrigin,
                         tileW, tileH);
        }
    }
    return out;
}

TiledSurface triangulateSurface(const PlanPolygon& polygon, const TileGrid& grid)
{
    TiledSurface out;
    appendStrips(out, triangulate(polygon),
                 {std::isfinite(grid.origin.x) ? grid.origin.x : 0,
                  std::isfinite(grid.origin.y) ? grid.origin.y : 0},
                 usableSize(grid.width), usableSize(grid.height));
    return out;
}

std::vector<uint32_t> reversedTriangles(const std::vector<uint32_t>& indices)
{
    std::vector<uint32_t> out;
    out.reserve(indices.size());
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        out.push_back(indices[i + 1]);
        out.push_back(indices[i]);
        out.push_back(indices[i + 2]);
    }
    return out;
}

void flipSurface(TiledSurface& surface)
{
    for (S3DVertex& v : surface.vertices)
        v.Normal = -v.Normal;
    surface.indices = reversedTriangles(surface.indices);
}

} // namespace vs
