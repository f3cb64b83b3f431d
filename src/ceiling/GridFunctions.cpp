#include "ceiling/GridFunctions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vs {

namespace {

constexpr double kInt32Max = 2147483647.0;
constexpr double kInt32Min = -2147483648.0;

int32_t saturate(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

int64_t sizeOf(int32_t defaultSize)
{
    return std::max<int64_t>(defaultSize, 1);
}

/** A coordinate safe to compute with: NaN counts as 0, the rest is clamped to the int32 range
 *  (beyond it no cell index could be represented). */
double safeCoordinate(double x)
{
    if (std::isnan(x))
        return 0;
    return std::clamp(x, kInt32Min, kInt32Max);
}

/**
 * The special entries of one side of grid line 0, as the positive-side rule sees them. On the
 * positive side these are the entries with index >= 0 in ascending order; on the negative side
 * the entries with index < 0, walked from the last to the first, each index i seen as -i - 1.
 */
class SideSpecials
{
public:
    SideSpecials(const std::vector<SpecialGridCol>& specials, bool mirrored)
        : list_(specials), mirrored_(mirrored)
    {
        firstNonNegative_ = static_cast<size_t>(
            std::lower_bound(list_.begin(), list_.end(), 0,
                             [](const SpecialGridCol& s, int v) { return s.index < v; }) -
            list_.begin());
    }

    size_t count() const
    {
        return mirrored_ ? firstNonNegative_ : list_.size() - firstNonNegative_;
    }

    /** Index (as seen on this side) of entry k. */
    int64_t index(size_t k) const
    {
        return mirrored_ ? -int64_t(list_[firstNonNegative_ - 1 - k].index) - 1
                         : int64_t(list_[firstNonNegative_ + k].index);
    }

    int64_t size(size_t k) const
    {
        return mirrored_ ? list_[firstNonNegative_ - 1 - k].size
                         : list_[firstNonNegative_ + k].size;
    }

private:
    const std::vector<SpecialGridCol>& list_;
    bool mirrored_;
    size_t firstNonNegative_ = 0;
};

/** Position of line n >= 0 on one side. */
int64_t sideLinePos(const SideSpecials& side, int64_t n, int64_t d)
{
    int64_t sum = 0;
    int64_t counted = 0;
    for (size_t k = 0; k < side.count(); ++k) {
        const int64_t i = side.index(k);
        if (i >= n)
            break;
        sum += side.size(k);
        ++counted;
    }
    return sum + d * (n - counted);
}

struct SideCell
{
    int64_t index = 0;
    double offset = 0;
};

/** The cell of x >= 0 on one side. */
SideCell sideCellAt(const SideSpecials& side, double x, int64_t d)
{
    int64_t sum = 0;
    int64_t result = 0;
    bool hasPrevious = false;
    int64_t previous = 0;
    for (size_t k = 0; k < side.count(); ++k) {
        const int64_t i = side.index(k);
        const int64_t defaults = hasPrevious ? i - previous - 1 : i;
        // Strictly before the special cell: a coordinate on its first line belongs to it.
        if (x < double(sum + d * defaults))
            break;
        const int64_t size = side.size(k);
        sum += d * defaults + size;
        if (x < double(sum))
            return {i, x - double(sum - size)};
        hasPrevious = true;
        previous = i;
        result = i + 1;
    }
    if (x < double(sum)) // only with negative special sizes
        return {result, 0};
    const double rest = x - double(sum);
    const int64_t k = static_cast<int64_t>(std::floor(rest / double(d)));
    return {result + k, rest - double(k) * double(d)};
}

/** The cell of pixel p >= 0 on one side, boundaries rounded to pixels at zoom. */
SideCell sidePixelCell(const SideSpecials& side, int64_t p, int64_t d, double zoom)
{
    auto px = [zoom](int64_t pos) { return int64_t(nearestPixel(zoom * double(pos))); };
    int64_t sum = 0;
    int64_t result = 0;
    bool hasPrevious = false;
    int64_t previous = 0;
    for (size_t k = 0; k < side.count(); ++k) {
        const int64_t i = side.index(k);
        const int64_t defaults = hasPrevious ? i - previous - 1 : i;
        const int64_t start = sum + d * defaults;
        if (p < px(start))
            break;
        sum = start + side.size(k);
        if (p < px(sum))
            return {i, double(p - px(start))};
        hasPrevious = true;
        previous = i;
        result = i + 1;
    }
    if (p < px(sum))
        return {result, 0};
    // The largest k whose rounded boundary is not after p, estimated and then corrected.
    // Capped so that sum + (k + 1) * d stays in range even for a vanishing zoom.
    const double kMax = double((int64_t(1) << 61) / d);
    double estimate = std::floor(((double(p) + 0.5) / zoom - double(sum)) / double(d));
    if (!(estimate >= 0))
        estimate = 0;
    int64_t k = static_cast<int64_t>(std::min(estimate, kMax));
    for (int step = 0; step < 4 && k > 0 && px(sum + k * d) > p; ++step)
        --k;
    for (int step = 0; step < 4 && px(sum + (k + 1) * d) <= p; ++step)
        ++k;
    return {result + k, double(p - px(sum + k * d))};
}

} // namespace

int32_t nearestPixel(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int32_t>(std::clamp(std::floor(v + 0.5), kInt32Min, kInt32Max));
}

int32_t cellSize(const std::vector<SpecialGridCol>& specials, int32_t index, int32_t defaultSize)
{
    auto at = std::lower_bound(specials.begin(), specials.end(), index,
                               [](const SpecialGridCol& s, int32_t v) { return s.index < v; });
    if (at != specials.end() && at->index == index)
        return at->size;
    return static_cast<int32_t>(sizeOf(defaultSize));
}

int32_t gridLinePos(const std::vector<SpecialGridCol>& specials, int32_t n, int32_t defaultSize)
{
    const int64_t d = sizeOf(defaultSize);
    if (n >= 0)
        return saturate(sideLinePos(SideSpecials(specials, false), n, d));
    return saturate(-sideLinePos(SideSpecials(specials, true), -int64_t(n), d));
}

GridCell cellAt(int32_t defaultSize, double x, const std::vector<SpecialGridCol>& specials)
{
    const int64_t d = sizeOf(defaultSize);
    x = safeCoordinate(x);
    GridCell cell;
    if (x >= 0) {
        const SideCell c = sideCellAt(SideSpecials(specials, false), x, d);
        cell.index = saturate(c.index);
        cell.offset = c.offset;
    } else {
        const SideCell c = sideCellAt(SideSpecials(specials, true), -x, d);
        cell.index = saturate(c.offset == 0 ? -c.index : -c.index - 1);
        cell.offset = c.offset;
    }
    cell.size = cellSize(specials, cell.index, defaultSize);
    return cell;
}

PixelCell cellAtPixel(int32_t pixel, int32_t defaultSize,
                      const std::vector<SpecialGridCol>& specials, double zoom)
{
    if (!(zoom > 0) || !std::isfinite(zoom))
        return {0, pixel};
    const int64_t d = sizeOf(defaultSize);
    PixelCell cell;
    if (pixel >= 0) {
        const SideCell c = sidePixelCell(SideSpecials(specials, false), pixel, d, zoom);
        cell.index = saturate(c.index);
        cell.offset = static_cast<int32_t>(c.offset);
    } else {
        const SideCell c = sidePixelCell(SideSpecials(specials, true), -int64_t(pixel), d, zoom);
        cell.index = saturate(c.offset == 0 ? -c.index : -c.index - 1);
        cell.offset = static_cast<int32_t>(c.offset);
    }
    return cell;
}

int32_t cellsToCover(int32_t start, double length, int32_t defaultSize,
                     const std::vector<SpecialGridCol>& specials)
{
    const int64_t d = sizeOf(defaultSize);
    if (std::isnan(length))
        length = 0;
    // Beyond 2^53 a sum of int32 sizes would no longer be exact; no cell count fits there anyway.
    length = std::min(length, 9007199254740992.0);
    auto next = std::lower_bound(specials.begin(), specials.end(), start,
                                 [](const SpecialGridCol& s, int32_t v) { return s.index < v; });
    int64_t cell = start;
    int64_t count = 0;
    double sum = 0;
    // Special cells are added one by one, runs of default cells in one step.
    while (count == 0 || sum < length) {
        if (next != specials.end() && next->index < cell) { // an unsorted list: skip the entry
            ++next;
            continue;
        }
        if (next != specials.end() && next->index == cell) {
            sum += next->size;
            ++next;
            ++cell;
            ++count;
            continue;
        }
        const int64_t gap = next != specials.end() ? int64_t(next->index) - cell
                                                   : std::numeric_limits<int64_t>::max();
        const double missing = std::max(length - sum, 0.0);
        int64_t need = static_cast<int64_t>(std::min(std::ceil(missing / double(d)), 9.0e15));
        need = std::max<int64_t>(need, 1);
        const int64_t take = std::min(gap, need);
        sum += double(take) * double(d);
        cell += take;
        count += take;
        if (count >= INT32_MAX)
            break;
    }
    return saturate(count);
}

int32_t cellsSpanned(double x1, double x2, int32_t defaultSize,
                     const std::vector<SpecialGridCol>& specials)
{
    const GridCell c1 = cellAt(defaultSize, x1, specials);
    const GridCell c2 = cellAt(defaultSize, x2, specials);
    return saturate(int64_t(c2.index) - c1.index + (c2.offset != 0 ? 1 : 0));
}

void normaliseSpecials(std::vector<SpecialGridCol>& specials)
{
    std::stable_sort(
        specials.begin(), specials.end(),
        [](const SpecialGridCol& a, const SpecialGridCol& b) { return a.index < b.index; });
    specials.erase(std::unique(specials.begin(), specials.end(),
                               [](const SpecialGridCol& a, const SpecialGridCol& b) {
                                   return a.index == b.index;
                               }),
                   specials.end());
}

} // namespace vs
