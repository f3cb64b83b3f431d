#include "Filters.h"

#include <cmath>

namespace ri {

namespace {

constexpr float kPi = 3.14159265358979f;

float triangle1(float x, float width)
{
    float h = width * 0.5f;
    return h > 0 ? std::fmax(0.f, 1.f - std::fabs(x) / h) : 0.f;
}

// Mitchell-Netravali with B = C = 1/3 over [-2, 2].
float mitchell1(float x)
{
    const float B = 1.f / 3.f, C = 1.f / 3.f;
    x = std::fabs(x);
    if (x < 1)
        return ((12 - 9 * B - 6 * C) * x * x * x + (-18 + 12 * B + 6 * C) * x * x + (6 - 2 * B)) /
               6;
    if (x < 2)
        return ((-B - 6 * C) * x * x * x + (6 * B + 30 * C) * x * x + (-12 * B - 48 * C) * x +
                (8 * B + 24 * C)) /
               6;
    return 0;
}

float blackmanHarris1(float x, float width)
{
    if (std::fabs(x) > width * 0.5f || width <= 0)
        return 0;
    float t = x / width + 0.5f;
    return 0.35875f - 0.48829f * std::cos(2 * kPi * t) + 0.14128f * std::cos(4 * kPi * t) -
           0.01168f * std::cos(6 * kPi * t);
}

float sinc1(float x, float width)
{
    if (x == 0)
        return 1;
    x *= kPi;
    return std::cos(0.5f * x / width) * std::sin(x) / x;
}

} // namespace

float filterWeight(FilterKind kind, float x, float y, float xwidth, float ywidth)
{
    switch (kind) {
    case FilterKind::Box:
        return 1;
    case FilterKind::Triangle:
        return triangle1(x, xwidth) * triangle1(y, ywidth);
    case FilterKind::CatmullRom: {
        float r2 = x * x + y * y;
        float r = std::sqrt(r2);
        if (r >= 2)
            return 0;
        return r < 1 ? 3 * r * r2 - 5 * r2 + 2 : -r * r2 + 5 * r2 - 8 * r + 4;
    }
    case FilterKind::Gaussian: {
        float u = x * 2 / xwidth, v = y * 2 / ywidth;
        return std::exp(-2 * (u * u + v * v));
    }
    case FilterKind::Sinc:
        return sinc1(x, xwidth) * sinc1(y, ywidth);
    case FilterKind::Mitchell:
        return mitchell1(4 * x / xwidth) * mitchell1(4 * y / ywidth);
    case FilterKind::BlackmanHarris:
        return blackmanHarris1(x, xwidth) * blackmanHarris1(y, ywidth);
    }
    return 0;
}

float filterStep(FilterKind kind, float x, float y, float xwidth, float ywidth)
{
    // Midpoint rule on a 64 x 64 grid over the support; cheap and only used as a value.
    const int n = 64;
    double total = 0, below = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            float sx = -xwidth * 0.5f + xwidth * (i + 0.5f) / n;
            float sy = -ywidth * 0.5f + ywidth * (j + 0.5f) / n;
            double w = filterWeight(kind, sx, sy, xwidth, ywidth);
            total += w;
            if (sx <= x && sy <= y)
                below += w;
        }
    return total != 0 ? float(below / total) : 0.f;
}

const char* filterName(FilterKind kind)
{
    switch (kind) {
    case FilterKind::Box:
        return "box";
    case FilterKind::Triangle:
        return "triangle";
    case FilterKind::CatmullRom:
        return "catmull-rom";
    case FilterKind::Gaussian:
        return "gaussian";
    case FilterKind::Sinc:
        return "sinc";
    case FilterKind::Mitchell:
        return "mitchell";
    case FilterKind::BlackmanHarris:
        return "blackman-harris";
    }
    return "box";
}

bool filterFromName(const std::string& name, FilterKind& kind)
{
    static const FilterKind all[] = {
        FilterKind::Box,  FilterKind::Triangle, FilterKind::CatmullRom,    FilterKind::Gaussian,
        FilterKind::Sinc, FilterKind::Mitchell, FilterKind::BlackmanHarris};
    for (FilterKind k : all)
        if (name == filterName(k)) {
            kind = k;
            return true;
        }
    if (name == "catmullrom") {
        kind = FilterKind::CatmullRom;
        return true;
    }
    return false;
}

} // namespace ri
