// Which squares of a fixed grid a plan polygon covers wholly, partly or not at all.
#pragma once

#include "document/PlanPolygon.h"
#include "document/RRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

/** The squares (aligned to multiples of the square size, in design units) over the bounds of a
    polygon, each classified so that only the squares an edge passes through need clipping.
    Reads the polygon under the odd winding rule. */
class SquareCover
{
public:
    enum class Kind : uint8_t {
        Outside, ///< no part of the polygon in the square
        Inside,  ///< the square lies wholly inside the polygon
        Edge     ///< an edge of the polygon comes near the square: clip it
    };

    /** Most squares one cover may hold (4096 x 1024 at 2000 units: 8 km x 2 km). */
    static constexpr double kMaxSquares = 4194304;

    /** Classifies the squares over polygon's bounds. Throws std::invalid_argument when
        squareSize is not a finite number of at least 1 or the bounds need more than kMaxSquares
        squares. A polygon without usable contours gets no squares. */
    SquareCover(const PlanPolygon& polygon, double squareSize);

    /** Number of square columns over the bounds. */
    int cols() const { return cols_; }
    /** Number of square rows over the bounds. */
    int rows() const { return rows_; }
    /** Returns the kind of square (col, row), both counted from the bounds' first square. */
    Kind kind(int col, int row) const { return kinds_[static_cast<size_t>(row) * cols_ + col]; }
    /** Returns square (col, row) with its sides on the clipper's grid. */
    RRect square(int col, int row) const;
    /** Returns the band of all squares of row, with its sides on the clipper's grid. */
    RRect band(int row) const;

private:
    void markEdge(const RPoint& a, const RPoint& b);
    void markSpan(int row, double x0, double x1);
    void classifyRow(int row, const PlanPolygon& polygon);

    double size_ = 0;
    int64_t firstCol_ = 0;
    int64_t firstRow_ = 0;
    int cols_ = 0;
    int rows_ = 0;
    std::vector<Kind> kinds_;
};
