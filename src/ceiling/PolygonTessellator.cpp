#include "ceiling/PolygonTessellator.h"

#include <GL/glu.h>

#include <array>
#include <cmath>
#include <deque>
#include <new>

namespace {

using Vertex = std::array<GLdouble, 3>;

constexpr double kPi = 3.14159265358979323846;

// State of one tessellation, handed to every callback as the polygon data.
struct TessRun
{
    std::vector<Vertex> input;   // reserved in full before feeding: GLU keeps pointers into it
    std::deque<Vertex> combined; // vertices made at crossings; a deque never moves them
    TriangleStrips out;
    std::vector<RPoint> primitive;
    GLenum primitiveType = GL_TRIANGLES;
    bool failed = false;
    bool outOfMemory = false;
};

TessRun& runOf(void* data)
{
    return *static_cast<TessRun*>(data);
}

void appendTriangle(TessRun& run, const RPoint& a, const RPoint& b, const RPoint& c)
{
    run.out.strips.push_back({a, b, c});
}

// Turns the finished primitive into strips; fans have no strip form, so they go as triangles.
void flushPrimitive(TessRun& run)
{
    const std::vector<RPoint>& v = run.primitive;
    if (run.primitiveType == GL_TRIANGLE_STRIP) {
        if (v.size() >= 3)
            run.out.strips.push_back(v);
    } else if (run.primitiveType == GL_TRIANGLE_FAN) {
        for (size_t i = 2; i < v.size(); ++i)
            appendTriangle(run, v[0], v[i - 1], v[i]);
    } else {
        for (size_t i = 2; i < v.size(); i += 3)
            appendTriangle(run, v[i - 2], v[i - 1], v[i]);
    }
}

void GLAPIENTRY onBegin(GLenum type, void* data)
{
    TessRun& run = runOf(data);
    run.primitiveType = type;
    run.primitive.clear();
}

void GLAPIENTRY onVertex(void* vertex, void* data)
{
    TessRun& run = runOf(data);
    if (!vertex) {
        run.failed = true;
        return;
    }
    const GLdouble* v = static_cast<const GLdouble*>(vertex);
    try {
        run.primitive.push_back({v[0], v[1]});
    } catch (const std::bad_alloc&) {
        run.outOfMemory = true; // raised after gluTessEndPolygon: exceptions must not cross GLU
    }
}

void GLAPIENTRY onEnd(void* data)
{
    TessRun& run = runOf(data);
    try {
        flushPrimitive(run);
    } catch (const std::bad_alloc&) {
        run.outOfMemory = true;
    }
    run.primitive.clear();
}

// Present only so that GLU emits independent triangles instead of strips and fans.
void GLAPIENTRY onEdgeFlag(GLboolean, void*)
{
}

void GLAPIENTRY onCombine(GLdouble coords[3], void* /*neighbours*/[4], GLfloat /*weights*/[4],
                          void** out, void* data)
{
    TessRun& run = runOf(data);
    try {
        run.combined.push_back({coords[0], coords[1], 0.0});
        *out = run.combined.back().data();
    } catch (const std::bad_alloc&) {
        run.outOfMemory = true;
        *out = nullptr;
    }
}

void GLAPIENTRY onError(GLenum error, void* data)
{
    TessRun& run = runOf(data);
    if (error == GLU_OUT_OF_MEMORY)
        run.outOfMemory = true;
    else
        run.failed = true;
}

template <typename F> _GLUfuncptr callback(F* f)
{
    return reinterpret_cast<_GLUfuncptr>(f);
}

double cross(const RPoint& a, const RPoint& b, const RPoint& c)
{
    return (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
}

// True for one contour whose turns all go the same way (none straight) and whose turning adds
// up to one full circle: a convex polygon that a zig-zag strip covers exactly.
bool isStrictlyConvex(const std::vector<RPoint>& p)
{
    const size_t n = p.size();
    double turning = 0;
    int sign = 0;
    for (size_t i = 0; i < n; ++i) {
        const RPoint& a = p[(i + n - 1) % n];
        const RPoint& b = p[i];
        const RPoint& c = p[(i + 1) % n];
        const double z = cross(a, b, c);
        const int s = (z > 0) - (z < 0);
        if (s == 0 || (sign != 0 && s != sign))
            return false;
        sign = s;
        const double dot = (b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y);
        turning += std::atan2(z, dot);
    }
    return std::fabs(std::fabs(turning) - 2 * kPi) < 0.5;
}

// Orders a convex polygon's vertices as one strip: v0, v1, vn-1, v2, vn-2, ...
std::vector<RPoint> zigZagStrip(const std::vector<RPoint>& p)
{
    std::vector<RPoint> strip;
    strip.reserve(p.size());
    strip.push_back(p[0]);
    size_t lo = 1;
    size_t hi = p.size() - 1;
    while (lo <= hi) {
        strip.push_back(p[lo++]);
        if (lo <= hi)
            strip.push_back(p[hi--]);
    }
    return strip;
}

std::vector<RPoint> clampedPoints(const std::vector<RPoint>& points)
{
    std::vector<RPoint> out;
    out.reserve(points.size());
    for (const RPoint& p : points)
        out.push_back({vs::clampPlanCoordinate(p.x), vs::clampPlanCoordinate(p.y)});
    return out;
}

} // namespace

PolygonTessellator::PolygonTessellator() : tess_(gluNewTess())
{
    if (!tess_)
        throw std::bad_alloc();
    gluTessProperty(tess_, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    gluTessProperty(tess_, GLU_TESS_BOUNDARY_ONLY, GL_FALSE);
    gluTessNormal(tess_, 0, 0, 1);
    gluTessCallback(tess_, GLU_TESS_BEGIN_DATA, callback(onBegin));
    gluTessCallback(tess_, GLU_TESS_VERTEX_DATA, callback(onVertex));
    gluTessCallback(tess_, GLU_TESS_END_DATA, callback(onEnd));
    gluTessCallback(tess_, GLU_TESS_EDGE_FLAG_DATA, callback(onEdgeFlag));
    gluTessCallback(tess_, GLU_TESS_COMBINE_DATA, callback(onCombine));
    gluTessCallback(tess_, GLU_TESS_ERROR_DATA, callback(onError));
}

PolygonTessellator::~PolygonTessellator()
{
    gluDeleteTess(tess_);
}

TriangleStrips PolygonTessellator::tessellate(const PlanPolygon& polygon)
{
    const PlanContour* only = nullptr;
    int usable = 0;
    for (const PlanContour& contour : polygon.contours) {
        if (vs::usableContour(contour)) {
            only = &contour;
            ++usable;
        }
    }
    if (usable == 0)
        return {};
    if (usable == 1) {
        std::vector<RPoint> points = clampedPoints(only->points);
        if (isStrictlyConvex(points))
            return TriangleStrips{{zigZagStrip(points)}};
    }
    return tessellateWithGlu(polygon);
}

TriangleStrips PolygonTessellator::tessellateWithGlu(const PlanPolygon& polygon)
{
    // Everything that can throw happens before gluTessBeginPolygon: an exception between the
    // begin and the end would leave GLU holding a pointer to the destroyed run.
    TessRun run;
    size_t count = 0;
    for (const PlanContour& contour : polygon.contours)
        count += vs::usableContour(contour) ? contour.points.size() : 0;
    run.input.reserve(count);
    std::vector<size_t> contourEnds;
    for (const PlanContour& contour : polygon.contours) {
        if (!vs::usableContour(contour))
            continue;
        for (const RPoint& p : contour.points)
            run.input.push_back({vs::clampPlanCoordinate(p.x), vs::clampPlanCoordinate(p.y), 0});
        contourEnds.push_back(run.input.size());
    }

    gluTessBeginPolygon(tess_, &run);
    size_t i = 0;
    for (size_t end : contourEnds) {
        gluTessBeginContour(tess_);
        for (; i < end; ++i)
            gluTessVertex(tess_, run.input[i].data(), run.input[i].data());
        gluTessEndContour(tess_);
    }
    gluTessEndPolygon(tess_);
    if (run.outOfMemory)
        throw std::bad_alloc();
    if (run.failed)
        return {};
    return std::move(run.out);
}
