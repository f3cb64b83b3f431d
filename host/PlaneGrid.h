// The grid of one ceiling plane of a design, as far as the host needs it to mirror edits: the
// design stores cells relative to the plane's first column and row and free positions relative
// to its first grid lines, while the module reports absolute grid indices and grid-relative
// positions. Lengths are decimillimetres.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <map>

namespace vhost {

class PlaneGrid
{
public:
    /** Reads the grid of a plane element (long or short attribute names). Throws
     *  std::invalid_argument for a grid size that is not positive or a malformed value. */
    static PlaneGrid fromPlane(const pugi::xml_node& plane);

    /** Returns the grid-relative position of column line n. */
    int64_t columnLine(int32_t n) const { return linePos(cols_, n, gridWidth_); }
    /** Returns the grid-relative position of row line n. */
    int64_t rowLine(int32_t n) const { return linePos(rows_, n, gridHeight_); }
    /** Returns the column holding grid-relative x (a line belongs to the cell it starts). */
    int32_t columnAt(double x) const { return cellAt(cols_, x, gridWidth_); }
    /** Returns the row holding grid-relative y. */
    int32_t rowAt(double y) const { return cellAt(rows_, y, gridHeight_); }
    /** Returns how many columns from `start` it takes to cover `length` (at least 1). */
    int32_t columnsToCover(int32_t start, double length) const
    {
        return toCover(cols_, start, length, gridWidth_);
    }
    /** Returns how many rows from `start` it takes to cover `length` (at least 1). */
    int32_t rowsToCover(int32_t start, double length) const
    {
        return toCover(rows_, start, length, gridHeight_);
    }

    /** The plane's first column and row (the cell holding the corner of its outline). */
    int32_t originCol = 0;
    int32_t originRow = 0;

private:
    using Specials = std::map<int32_t, int32_t>; // index to size
    static int64_t linePos(const Specials& s, int32_t n, int32_t size);
    static int32_t cellAt(const Specials& s, double x, int32_t size);
    static int32_t toCover(const Specials& s, int32_t start, double length, int32_t size);

    int32_t gridWidth_ = 0;
    int32_t gridHeight_ = 0;
    Specials cols_;
    Specials rows_;
};

} // namespace vhost
