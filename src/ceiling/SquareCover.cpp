#include "ceiling/SquareCover.h"

#include "ceiling/PolygonClipper.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

// Distance within which an edge counts as touching a square. Coordinates lie on the clipper's
// grid of 0.1 units, so this only absorbs rounding in the edge arithmetic.
constexpr double kTouch = 0.01;

template <typename F> void forEachEdge(const PlanPolygon& polygon, F f)
{
    for (const PlanContour& contour : polygon.contours) {
        if (!vs::usableContour(contour))
            continue;
        const std::vector<RPoint>& p = contour.points;
        for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
            f(RPoint{vs::clampPlanCoordinate(p[j].x), vs::clampPlanCoordinate(p[j].y)},
              RPoint{vs::clampPlanCoordinate(p[i].x), vs::clampPlanCoordinate(p[i].y)});
    }
}

} // namespace

SquareCover::SquareCover(const PlanPolygon& polygon, double squareSize) : size_(squareSize)
{
    if (!std::isfinite(squareSize) || squareSize < 1)
        throw std::invalid_argument("square size must be at least 1 design unit");
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    forEachEdge(polygon, [&](const RPoint&, const RPoint& p) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    });
    if (!(minX < maxX && minY < maxY))
        return;

    const double col0 = std::floor(minX / size_), col1 = std::ceil(maxX / size_);
    const double row0 = std::floor(minY / size_), row1 = std::ceil(maxY / size_);
    if (!((col1 - col0) * (row1 - row0) <= kMaxSquares))
        throw std::invalid_argument("polygon needs too many squares");
    firstCol_ = static_cast<int64_t>(col0);
    firstRow_ = static_cast<int64_t>(row0);
    cols_ = static_cast<int>(col1 - col0);
    rows_ = static_cast<int>(row1 - row0);
    kinds_.assign(static_cast<size_t>(cols_) * rows_, Kind::Outside);

    forEachEdge(polygon, [this](const RPoint& a, const RPoint& b) { markEdge(a, b); });
    for (int row = 0; row < rows_; ++row)
        classifyRow(row, polygon);
}

RRect SquareCover::square(int col, int row) const
{
    const double left = static_cast<double>(firstCol_ + col) * size_;
    const double top = static_cast<double>(firstRow_ + row) * size_;
    return {PolygonClipper::snap(left), PolygonClipper::snap(top),
            PolygonClipper::snap(left + size_), PolygonClipper::snap(top + size_)};
}

RRect SquareCover::band(int row) const
{
    const RRect first = square(0, row);
    const RRect last = square(cols_ - 1, row);
    return {first.left, first.top, last.right, first.bottom};
}

// Marks every square within kTouch of the edge, one row of squares at a time.
void SquareCover::markEdge(const RPoint& a, const RPoint& b)
{
    const double yLo = std::min(a.y, b.y), yHi = std::max(a.y, b.y);
    const int64_t r0 = static_cast<int64_t>(std::floor((yLo - kTouch) / size_)) - firstRow_;
    const int64_t r1 = static_cast<int64_t>(std::floor((yHi + kTouch) / size_)) - firstRow_;
    for (int64_t r = std::max<int64_t>(r0, 0); r <= std::min<int64_t>(r1, rows_ - 1); ++r) {
        const double bandTop = static_cast<double>(firstRow_ + r) * size_ - kTouch;
        const double y0 = std::max(yLo, bandTop), y1 = std::min(yHi, bandTop + size_ + 2 * kTouch);
        if (y0 > y1)
            continue;
        if (a.y == b.y) {
            markSpan(static_cast<int>(r), std::min(a.x, b.x), std::max(a.x, b.x));
            continue;
        }
        const double slope = (b.x - a.x) / (b.y - a.y);
        const double x0 = a.x + (y0 - a.y) * slope, x1 = a.x + (y1 - a.y) * slope;
        markSpan(static_cast<int>(r), std::min(x0, x1), std::max(x0, x1));
    }
}

void SquareCover::markSpan(int row, double x0, double x1)
{
    const int64_t c0 = static_cast<int64_t>(std::floor((x0 - kTouch) / size_)) - firstCol_;
    const int64_t c1 = static_cast<int64_t>(std::floor((x1 + kTouch) / size_)) - firstCol_;
    for (int64_t c = std::max<int64_t>(c0, 0); c <= std::min<int64_t>(c1, cols_ - 1); ++c)
        kinds_[static_cast<size_t>(row) * cols_ + c] = Kind::Edge;
}

// A square no edge comes near lies wholly inside or wholly outside; the crossings of the line
// through the row's centres tell which (odd winding rule).
void SquareCover::classifyRow(int row, const PlanPolygon& polygon)
{
    const double yc = (static_cast<double>(firstRow_ + row) + 0.5) * size_;
    std::vector<double> crossings;
    forEachEdge(polygon, [&](const RPoint& a, const RPoint& b) {
        if ((a.y > yc) != (b.y > yc))
            crossings.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
    });
    std::sort(crossings.begin(), crossings.end());
    size_t passed = 0;
    for (int col = 0; col < cols_; ++col) {
        Kind& k = kinds_[static_cast<size_t>(row) * cols_ + col];
        if (k == Kind::Edge)
            continue;
        const double xc = (static_cast<double>(firstCol_ + col) + 0.5) * size_;
        while (passed < crossings.size() && crossings[passed] < xc)
            ++passed;
        k = passed % 2 == 1 ? Kind::Inside : Kind::Outside;
    }
}
