#include "PlaneGrid.h"

#include "DesignNames.h"
#include "HostText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace vhost {
namespace {

/** Most cells a walk along one grid direction may take (guards absurd coordinates). */
constexpr int64_t kMaxCells = 1000000;

std::vector<double> numbers(const std::string& text, const std::string& what)
{
    std::vector<double> out;
    std::string token;
    auto flush = [&] {
        if (!token.empty())
            out.push_back(parseNumber(token, what));
        token.clear();
    };
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r')
            flush();
        else
            token.push_back(c);
    }
    flush();
    return out;
}

int32_t intAttr(const pugi::xml_node& plane, const char* l, const char* s)
{
    const std::string v = attr(plane, l, s);
    return v.empty() ? 0 : int32_t(parseNumber(v, l));
}

} // namespace

int64_t PlaneGrid::linePos(const Specials& s, int32_t n, int32_t size)
{
    // Line n >= 0 lies after cells 0 .. n-1; line n < 0 before cells n .. -1.
    const int64_t first = n >= 0 ? 0 : n, last = n >= 0 ? n : 0;
    int64_t sum = (last - first) * size;
    for (auto it = s.lower_bound(int32_t(first)); it != s.end() && it->first < last; ++it)
        sum += it->second - size;
    return n >= 0 ? sum : -sum;
}

int32_t PlaneGrid::cellAt(const Specials& s, double x, int32_t size)
{
    auto cellSize = [&](int32_t i) {
        auto it = s.find(i);
        return it == s.end() ? size : it->second;
    };
    int64_t start = 0;
    int32_t cell = 0;
    if (x >= 0) {
        for (int64_t k = 0; k < kMaxCells; ++k, ++cell) {
            const int64_t next = start + cellSize(cell);
            if (x < next)
                return cell;
            start = next;
        }
    } else {
        for (int64_t k = 0; k < kMaxCells; ++k) {
            --cell;
            start -= cellSize(cell);
            if (x >= start)
                return cell;
        }
    }
    throw std::invalid_argument("grid position " + numberText(x) + " lies too far from the grid");
}

int32_t PlaneGrid::toCover(const Specials& s, int32_t start, double length, int32_t size)
{
    double sum = 0;
    int32_t count = 0;
    do {
        auto it = s.find(start + count);
        sum += it == s.end() ? size : it->second;
        ++count;
    } while (sum < length && count < kMaxCells);
    return count;
}

PlaneGrid PlaneGrid::fromPlane(const pugi::xml_node& plane)
{
    PlaneGrid g;
    g.gridWidth_ = intAttr(plane, "gridWidth", "_ag");
    g.gridHeight_ = intAttr(plane, "gridHeight", "_af");
    if (g.gridWidth_ <= 0 || g.gridHeight_ <= 0)
        throw std::invalid_argument("ceiling plane " + attr(plane, "id", "_df") +
                                    " has no positive grid size");
    auto specials = [&](const char* l, const char* s, Specials& out) {
        const std::vector<double> v = numbers(attr(plane, l, s), l);
        for (size_t i = 0; i + 1 < v.size(); i += 2) {
            if (!(v[i + 1] > 0) || std::fabs(v[i]) > kMaxCells)
                throw std::invalid_argument(std::string(l) + " holds an unusable entry");
            out.emplace(int32_t(v[i]), int32_t(v[i + 1]));
        }
    };
    specials("specialGridCols", "_et", g.cols_);
    specials("specialGridRows", "_eu", g.rows_);

    std::vector<double> offset = numbers(attr(plane, "realGridOffset", "_es"), "realGridOffset");
    offset.resize(2, 0.0);
    const bool hoisted = !attr(plane, "hoist", "_en").empty();
    auto scalar = [&](const char* l, const char* s) {
        const std::vector<double> v = numbers(attr(plane, l, s), l);
        return hoisted && !v.empty() ? v[0] : 0.0; // read only with a hoist, as the module does
    };
    const double indent = scalar("indent", "_ep");
    const double degrees = scalar("rotateDegree", "_as");

    std::vector<std::pair<double, double>> outline;
    std::istringstream points(attr(plane, "outlinePoints", "_am"));
    std::string point;
    while (points >> point) {
        const std::vector<double> xy = numbers(point, "outlinePoints");
        if (xy.size() < 2)
            throw std::invalid_argument("outlinePoints holds a point without its y");
        outline.emplace_back(xy[0], xy[1]);
    }
    if (outline.empty())
        return g;
    if (outline.size() == 4 && indent != 0) {
        double minX = outline[0].first, minY = outline[0].second;
        for (auto& p : outline) {
            minX = std::min(minX, p.first);
            minY = std::min(minY, p.second);
        }
        for (auto& p : outline) {
            p.first += p.first == minX ? -indent : indent;
            p.second += p.second == minY ? -indent : indent;
        }
    }
    const float angle = float(-degrees * 0.017453292519943295);
    double minX = std::numeric_limits<double>::max(), minY = minX;
    for (const auto& p : outline) {
        const float x = float(p.first - offset[0]), y = float(p.second - offset[1]);
        minX = std::min(minX, double(x * std::cos(angle) - y * std::sin(angle)));
        minY = std::min(minY, double(x * std::sin(angle) + y * std::cos(angle)));
    }
    g.originCol = g.columnAt(minX);
    g.originRow = g.rowAt(minY);
    return g;
}

} // namespace vhost
