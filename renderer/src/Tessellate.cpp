#include "Tessellate.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace ri {

namespace {

constexpr float kPi = 3.14159265358979f;

/// One primitive variable, read per face, corner or point as its class says.
struct Variable
{
    const Param* param = nullptr;
    int components = 0;

    bool valid() const { return param != nullptr; }
    const float* at(size_t face, size_t corner, size_t point) const
    {
        size_t idx = 0;
        switch (param->decl.varClass) {
        case VarClass::Constant:
            idx = 0;
            break;
        case VarClass::Uniform:
            idx = face;
            break;
        case VarClass::Varying:
        case VarClass::Vertex:
            idx = point;
            break;
        case VarClass::FaceVarying:
            idx = corner;
            break;
        }
        size_t off = idx * size_t(components);
        if (off + size_t(components) > param->floats.size())
            return nullptr;
        return param->floats.data() + off;
    }
};

Variable variable(const Request& r, const char* name, int components)
{
    Variable v;
    const Param* p = r.find(name);
    if (p && !p->decl.isString() && !p->decl.isInteger() &&
        p->decl.componentsPerElement() == components)
        v.param = p, v.components = components;
    return v;
}

/// The standard variables of a request, appended per output vertex.
struct StandardVariables
{
    Variable P, Pw, N, Cs, Os, st, s, t;
    explicit StandardVariables(const Request& r)
        : P(variable(r, "P", 3)), Pw(variable(r, "Pw", 4)), N(variable(r, "N", 3)),
          Cs(variable(r, "Cs", 3)), Os(variable(r, "Os", 3)), st(variable(r, "st", 2)),
          s(variable(r, "s", 1)), t(variable(r, "t", 1))
    {
    }
    bool hasPosition() const { return P.valid() || Pw.valid(); }

    /// Appends the vertex of (face, corner, point); false when data is missing.
    bool append(ObjectMesh& m, size_t face, size_t corner, size_t point) const
    {
        if (P.valid()) {
            const float* p = P.at(face, corner, point);
            if (!p)
                return false;
            m.P.push_back({p[0], p[1], p[2]});
        } else {
            const float* p = Pw.at(face, corner, point);
            if (!p)
                return false;
            float w = p[3] != 0 ? p[3] : 1;
            m.P.push_back({p[0] / w, p[1] / w, p[2] / w});
        }
        auto vec = [&](const Variable& v, std::vector<Vec3>& out) {
            if (!v.valid())
                return true;
            const float* d = v.at(face, corner, point);
            if (!d)
                return false;
            out.push_back({d[0], d[1], d[2]});
            return true;
        };
        if (!vec(N, m.N) || !vec(Cs, m.Cs) || !vec(Os, m.Os))
            return false;
        if (st.valid()) {
            const float* d = st.at(face, corner, point);
            if (!d)
                return false;
            m.st.push_back(d[0]);
            m.st.push_back(d[1]);
        } else if (s.valid() || t.valid()) {
            const float* ds = s.valid() ? s.at(face, corner, point) : nullptr;
            const float* dt = t.valid() ? t.at(face, corner, point) : nullptr;
            if ((s.valid() && !ds) || (t.valid() && !dt))
                return false;
            m.st.push_back(ds ? ds[0] : 0);
            m.st.push_back(dt ? dt[0] : 0);
        }
        return true;
    }
};

float area2(const std::vector<float>& xy, uint32_t a, uint32_t b, uint32_t c)
{
    return (xy[2 * b] - xy[2 * a]) * (xy[2 * c + 1] - xy[2 * a + 1]) -
           (xy[2 * c] - xy[2 * a]) * (xy[2 * b + 1] - xy[2 * a + 1]);
}

bool insideTriangle(const std::vector<float>& xy, uint32_t a, uint32_t b, uint32_t c, uint32_t p)
{
    float d1 = area2(xy, a, b, p), d2 = area2(xy, b, c, p), d3 = area2(xy, c, a, p);
    return d1 >= 0 && d2 >= 0 && d3 >= 0;
}

bool segmentsCross(float ax, float ay, float bx, float by, float cx, float cy, float dx, float dy)
{
    auto orient = [](float px, float py, float qx, float qy, float rx, float ry) {
        float v = (qx - px) * (ry - py) - (qy - py) * (rx - px);
        return (v > 0) - (v < 0);
    };
    int o1 = orient(ax, ay, bx, by, cx, cy), o2 = orient(ax, ay, bx, by, dx, dy);
    int o3 = orient(cx, cy, dx, dy, ax, ay), o4 = orient(cx, cy, dx, dy, bx, by);
    return o1 * o2 < 0 && o3 * o4 < 0;
}

/// Ear clipping of one counter-clockwise ring of corner ids over coordinates xy.
void earClip(const std::vector<float>& xy, std::vector<uint32_t> ring, std::vector<uint32_t>& out)
{
    size_t guard = 0;
    while (ring.size() > 3 && guard < ring.size() * ring.size() + 16) {
        ++guard;
        bool clipped = false;
        size_t n = ring.size();
        for (size_t i = 0; i < n; ++i) {
            uint32_t a = ring[(i + n - 1) % n], b = ring[i], c = ring[(i + 1) % n];
            if (area2(xy, a, b, c) <= 0)
                continue;
            bool ear = true;
            for (size_t k = 0; k < n && ear; ++k) {
                uint32_t p = ring[k];
                if (p == a || p == b || p == c)
                    continue;
                if ((xy[2 * p] == xy[2 * a] && xy[2 * p + 1] == xy[2 * a + 1]) ||
                    (xy[2 * p] == xy[2 * c] && xy[2 * p + 1] == xy[2 * c + 1]))
                    continue;
                ear = !insideTriangle(xy, a, b, c, p);
            }
            if (!ear)
                continue;
            out.insert(out.end(), {a, b, c});
            ring.erase(ring.begin() + long(i));
            clipped = true;
            break;
        }
        if (!clipped) {
            // Degenerate or self-intersecting: fan the rest rather than lose it.
            for (size_t i = 1; i + 1 < ring.size(); ++i)
                out.insert(out.end(), {ring[0], ring[i], ring[i + 1]});
            return;
        }
    }
    if (ring.size() == 3)
        out.insert(out.end(), {ring[0], ring[1], ring[2]});
}

float signedArea(const std::vector<float>& xy, const std::vector<uint32_t>& ring)
{
    float a = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        uint32_t p = ring[i], q = ring[(i + 1) % ring.size()];
        a += xy[2 * p] * xy[2 * q + 1] - xy[2 * q] * xy[2 * p + 1];
    }
    return a * 0.5f;
}

/// The plane a loop is triangulated in: the axis dropped (0 x, 1 y, 2 z) and whether the
/// two kept axes are swapped.
struct Projection
{
    int drop;
    bool flip;

    float x(const Vec3& p) const { return flip ? b(p) : a(p); }
    float y(const Vec3& p) const { return flip ? a(p) : b(p); }
    float a(const Vec3& p) const { return drop == 0 ? p.y : p.x; }
    float b(const Vec3& p) const { return drop == 2 ? p.y : p.z; }
};

/// Projection onto the plane of the loop's Newell normal.
Projection projectionOf(const std::vector<Vec3>& loop)
{
    Vec3 n;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Vec3& a = loop[i];
        const Vec3& b = loop[(i + 1) % loop.size()];
        n += Vec3((a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y));
    }
    int drop = std::fabs(n.x) > std::fabs(n.y) ? (std::fabs(n.x) > std::fabs(n.z) ? 0 : 2)
                                               : (std::fabs(n.y) > std::fabs(n.z) ? 1 : 2);
    return {drop, n[drop] < 0};
}

/// Twice the signed area of a loop of x y pairs: positive when counter-clockwise.
float loopArea2(const std::vector<float>& xy)
{
    float a = 0;
    size_t n = xy.size() / 2;
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        a += xy[2 * i] * xy[2 * j + 1] - xy[2 * j] * xy[2 * i + 1];
    }
    return a;
}

} // namespace

TessellationContext::TessellationContext()
{
    static const float bezier[16] = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};
    std::copy(bezier, bezier + 16, ubasis);
    std::copy(bezier, bezier + 16, vbasis);
}

std::vector<uint32_t> triangulate(const std::vector<std::vector<float>>& loopsXY)
{
    std::vector<float> xy;
    std::vector<std::vector<uint32_t>> rings;
    for (const auto& loop : loopsXY) {
        std::vector<uint32_t> ring;
        for (size_t k = 0; k + 1 < loop.size(); k += 2) {
            ring.push_back(uint32_t(xy.size() / 2));
            xy.push_back(loop[k]);
            xy.push_back(loop[k + 1]);
        }
        rings.push_back(std::move(ring));
    }
    std::vector<uint32_t> out;
    if (rings.empty() || rings[0].size() < 3)
        return out;
    std::vector<uint32_t> outer = rings[0];
    if (signedArea(xy, outer) < 0)
        std::reverse(outer.begin(), outer.end());
    // Holes, rightmost first, each joined to the outer ring by a bridge to a visible vertex.
    std::vector<std::vector<uint32_t>> holes(rings.begin() + 1, rings.end());
    for (auto& h : holes)
        if (signedArea(xy, h) > 0)
            std::reverse(h.begin(), h.end());
    auto maxX = [&](const std::vector<uint32_t>& r) {
        size_t best = 0;
        for (size_t i = 1; i < r.size(); ++i)
            if (xy[2 * r[i]] > xy[2 * r[best]])
                best = i;
        return best;
    };
    std::sort(holes.begin(), holes.end(), [&](const auto& a, const auto& b) {
        if (a.empty() || b.empty())
            return b.empty() && !a.empty();
        return xy[2 * a[maxX(a)]] > xy[2 * b[maxX(b)]];
    });
    for (const auto& hole : holes) {
        if (hole.size() < 3)
            continue;
        size_t hi = maxX(hole);
        uint32_t h = hole[hi];
        float hx = xy[2 * h], hy = xy[2 * h + 1];
        size_t bestOuter = outer.size();
        float bestDist = 0;
        for (size_t i = 0; i < outer.size(); ++i) {
            uint32_t o = outer[i];
            float ox = xy[2 * o], oy = xy[2 * o + 1];
            float d = (ox - hx) * (ox - hx) + (oy - hy) * (oy - hy);
            if (bestOuter != outer.size() && d >= bestDist)
                continue;
            bool blocked = false;
            for (size_t k = 0; k < outer.size() && !blocked; ++k) {
                uint32_t p = outer[k], q = outer[(k + 1) % outer.size()];
                blocked = segmentsCross(hx, hy, ox, oy, xy[2 * p], xy[2 * p + 1], xy[2 * q],
                                        xy[2 * q + 1]);
            }
            for (size_t k = 0; k < hole.size() && !blocked; ++k) {
                uint32_t p = hole[k], q = hole[(k + 1) % hole.size()];
                blocked = segmentsCross(hx, hy, ox, oy, xy[2 * p], xy[2 * p + 1], xy[2 * q],
                                        xy[2 * q + 1]);
            }
            if (!blocked)
                bestOuter = i, bestDist = d;
        }
        if (bestOuter == outer.size())
            continue;
        std::vector<uint32_t> merged(outer.begin(), outer.begin() + long(bestOuter) + 1);
        for (size_t k = 0; k <= hole.size(); ++k)
            merged.push_back(hole[(hi + k) % hole.size()]);
        merged.insert(merged.end(), outer.begin() + long(bestOuter), outer.end());
        outer = std::move(merged);
    }
    earClip(xy, outer, out);
    return out;
}

std::string tessellatePolygons(const std::vector<int>& loopsPerFace,
                               const std::vector<int>& verticesPerLoop,
                               const std::vector<int>& indices, const Request& request,
                               ObjectMesh& out)
{
    StandardVariables vars(request);
    if (!vars.hasPosition())
        return "no \"P\"";
    // Points are shared between faces unless a variable differs per face or face corner.
    bool share = true;
    for (const Variable* v :
         {&vars.P, &vars.Pw, &vars.N, &vars.Cs, &vars.Os, &vars.st, &vars.s, &vars.t})
        if (v->valid() && (v->param->decl.varClass == VarClass::Uniform ||
                           v->param->decl.varClass == VarClass::FaceVarying))
            share = false;
    std::vector<uint32_t> pointVertex; // output vertex of each point, when shared
    const uint32_t none = ~0u;
    size_t loop = 0, corner = 0;
    // Kept across faces, so that a mesh of small faces does not allocate per face.
    std::vector<uint32_t> cornerVertex; // output vertex of each corner of this face
    std::vector<std::vector<Vec3>> loops;
    for (size_t face = 0; face < loopsPerFace.size(); ++face) {
        int nloops = loopsPerFace[face];
        if (nloops <= 0 || loop + size_t(nloops) > verticesPerLoop.size())
            return "bad loop count";
        cornerVertex.clear();
        loops.resize(size_t(nloops));
        for (int l = 0; l < nloops; ++l, ++loop) {
            int nv = verticesPerLoop[loop];
            if (nv < 0 || corner + size_t(nv) > indices.size())
                return "bad vertex count";
            loops[size_t(l)].clear();
            for (int v = 0; v < nv; ++v, ++corner) {
                int point = indices[corner];
                if (point < 0)
                    return "negative vertex index";
                if (share && size_t(point) < pointVertex.size() &&
                    pointVertex[size_t(point)] != none) {
                    cornerVertex.push_back(pointVertex[size_t(point)]);
                } else {
                    if (!vars.append(out, face, corner, size_t(point)))
                        return "a primitive variable has too few values";
                    cornerVertex.push_back(uint32_t(out.P.size() - 1));
                    if (share) {
                        if (size_t(point) >= pointVertex.size())
                            pointVertex.resize(size_t(point) + 1, none);
                        pointVertex[size_t(point)] = cornerVertex.back();
                    }
                }
                loops[size_t(l)].push_back(out.P[cornerVertex.back()]);
            }
        }
        if (nloops == 1 && loops[0].size() == 3) {
            // A triangle is its own triangulation.
            out.triangles.insert(out.triangles.end(), cornerVertex.begin(), cornerVertex.end());
            continue;
        }
        // Project onto the plane of the outer loop (Newell normal) and triangulate.
        Projection pr = projectionOf(loops[0]);
        std::vector<std::vector<float>> xy;
        for (const auto& l : loops) {
            xy.emplace_back();
            for (const Vec3& p : l) {
                xy.back().push_back(pr.x(p));
                xy.back().push_back(pr.y(p));
            }
        }
        // The triangles come out counter-clockwise in the projection; keep the winding of the
        // input so that orientation means what the caller meant.
        bool reverse = loopArea2(xy[0]) < 0;
        std::vector<uint32_t> tris = triangulate(xy);
        for (size_t k = 0; k + 2 < tris.size(); k += 3) {
            uint32_t a = cornerVertex[tris[k]], b = cornerVertex[tris[k + 1]],
                     c = cornerVertex[tris[k + 2]];
            if (reverse)
                out.triangles.insert(out.triangles.end(), {a, c, b});
            else
                out.triangles.insert(out.triangles.end(), {a, b, c});
        }
    }
    return {};
}

namespace {

/// Builds a (nu+1) x (nv+1) grid from a surface function, with varying variables (4 corner
/// values) interpolated bilinearly and st from the texture coordinates when none are given.
template <class Surface>
void grid(int nu, int nv, Surface surface, const Request& r, const TessellationContext& ctx,
          ObjectMesh& out)
{
    uint32_t base = uint32_t(out.P.size());
    auto corner4 = [&](const char* name, int comps, float u, float v, float* dst) {
        const Param* p = r.find(name);
        if (!p || p->decl.isString() || p->decl.componentsPerElement() != comps)
            return false;
        const auto& f = p->floats;
        bool constant = p->decl.varClass == VarClass::Constant ||
                        p->decl.varClass == VarClass::Uniform || f.size() < size_t(4 * comps);
        if (f.size() < size_t(comps))
            return false;
        for (int c = 0; c < comps; ++c) {
            if (constant) {
                dst[c] = f[size_t(c)];
                continue;
            }
            float a = f[size_t(c)], b = f[size_t(comps + c)], d = f[size_t(2 * comps + c)],
                  e = f[size_t(3 * comps + c)];
            dst[c] = (1 - v) * ((1 - u) * a + u * b) + v * ((1 - u) * d + u * e);
        }
        return true;
    };
    bool hasCs = r.find("Cs"), hasOs = r.find("Os");
    for (int j = 0; j <= nv; ++j)
        for (int i = 0; i <= nu; ++i) {
            float u = float(i) / float(nu), v = float(j) / float(nv);
            Vec3 P, N;
            surface(u, v, P, N);
            out.P.push_back(P);
            out.N.push_back(N);
            float tmp[3];
            if (hasCs && corner4("Cs", 3, u, v, tmp))
                out.Cs.push_back({tmp[0], tmp[1], tmp[2]});
            if (hasOs && corner4("Os", 3, u, v, tmp))
                out.Os.push_back({tmp[0], tmp[1], tmp[2]});
            float st[2];
            if (corner4("st", 2, u, v, st)) {
            } else {
                const float* tc = ctx.textureCoordinates;
                st[0] = (1 - v) * ((1 - u) * tc[0] + u * tc[2]) + v * ((1 - u) * tc[4] + u * tc[6]);
                st[1] = (1 - v) * ((1 - u) * tc[1] + u * tc[3]) + v * ((1 - u) * tc[5] + u * tc[7]);
                float sv, tv;
                if (corner4("s", 1, u, v, &sv))
                    st[0] = sv;
                if (corner4("t", 1, u, v, &tv))
                    st[1] = tv;
            }
            out.st.push_back(st[0]);
            out.st.push_back(st[1]);
        }
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            uint32_t a = base + uint32_t(j * (nu + 1) + i), b = a + 1;
            uint32_t c = a + uint32_t(nu + 1), d = c + 1;
            out.triangles.insert(out.triangles.end(), {a, b, d, a, d, c});
        }
    if (out.Cs.size() != out.P.size())
        out.Cs.clear();
    if (out.Os.size() != out.P.size())
        out.Os.clear();
}

float radians(float degrees)
{
    return degrees * kPi / 180.f;
}

int segmentsFor(float sweepDegrees, int circle)
{
    float frac = std::min(1.f, std::fabs(sweepDegrees) / 360.f);
    return std::max(3, int(std::ceil(float(circle) * frac)));
}

/// Normal from the surface's partial derivatives (dP/du x dP/dv), by central differences.
template <class F> Vec3 numericNormal(F f, float u, float v)
{
    const float h = 1e-3f;
    float u0 = std::max(0.f, u - h), u1 = std::min(1.f, u + h);
    float v0 = std::max(0.f, v - h), v1 = std::min(1.f, v + h);
    Vec3 n = cross(f(u1, v) - f(u0, v), f(u, v1) - f(u, v0));
    if (length(n) < 1e-12f) {
        float vs = v < 0.5f ? v + 2 * h : v - 2 * h;
        n = cross(f(u1, vs) - f(u0, vs), f(u, std::min(1.f, vs + h)) - f(u, std::max(0.f, vs - h)));
    }
    return normalize(n);
}

} // namespace

std::string tessellateQuadric(const Request& r, const TessellationContext& ctx, ObjectMesh& out)
{
    auto a = [&](size_t k) { return k < r.args.size() ? r.args[k].asFloat() : 0.f; };
    const std::string& q = r.name;
    int circle = std::max(8, ctx.circleSegments);
    std::function<Vec3(float, float)> f;
    float sweep = 360;
    int nv = std::max(4, circle / 2);
    if (q == "Sphere") {
        float rad = a(0), zmin = std::clamp(a(1), -std::fabs(rad), std::fabs(rad)),
              zmax = std::clamp(a(2), -std::fabs(rad), std::fabs(rad)), tmax = radians(a(3));
        sweep = a(3);
        float pmin = rad != 0 ? std::asin(zmin / rad) : 0,
              pmax = rad != 0 ? std::asin(zmax / rad) : 0;
        f = [=](float u, float v) {
            float th = u * tmax, ph = pmin + v * (pmax - pmin);
            return Vec3(rad * std::cos(th) * std::cos(ph), rad * std::sin(th) * std::cos(ph),
                        rad * std::sin(ph));
        };
    } else if (q == "Cylinder") {
        float rad = a(0), zmin = a(1), zmax = a(2), tmax = radians(a(3));
        sweep = a(3);
        nv = 1;
        f = [=](float u, float v) {
            float th = u * tmax;
            return Vec3(rad * std::cos(th), rad * std::sin(th), zmin + v * (zmax - zmin));
        };
    } else if (q == "Cone") {
        float h = a(0), rad = a(1), tmax = radians(a(2));
        sweep = a(2);
        nv = 1;
        f = [=](float u, float v) {
            float th = u * tmax, rr = rad * (1 - v);
            return Vec3(rr * std::cos(th), rr * std::sin(th), v * h);
        };
    } else if (q == "Disk") {
        float h = a(0), rad = a(1), tmax = radians(a(2));
        sweep = a(2);
        nv = 1;
        f = [=](float u, float v) {
            float th = u * tmax, rr = rad * (1 - v);
            return Vec3(rr * std::cos(th), rr * std::sin(th), h);
        };
    } else if (q == "Paraboloid") {
        float rmax = a(0), zmin = a(1), zmax = a(2), tmax = radians(a(3));
        sweep = a(3);
        nv = std::max(4, circle / 4);
        f = [=](float u, float v) {
            float th = u * tmax, z = zmin + v * (zmax - zmin);
            float rr = zmax != 0 ? rmax * std::sqrt(std::max(0.f, z / zmax)) : 0;
            return Vec3(rr * std::cos(th), rr * std::sin(th), z);
        };
    } else if (q == "Hyperboloid") {
        Vec3 p1(a(0), a(1), a(2)), p2(a(3), a(4), a(5));
        float tmax = radians(a(6));
        sweep = a(6);
        nv = std::max(4, circle / 4);
        f = [=](float u, float v) {
            float th = u * tmax;
            Vec3 p = p1 + (p2 - p1) * v;
            return Vec3(p.x * std::cos(th) - p.y * std::sin(th),
                        p.x * std::sin(th) + p.y * std::cos(th), p.z);
        };
    } else if (q == "Torus") {
        float R = a(0), rr = a(1), pmin = radians(a(2)), pmax = radians(a(3)), tmax = radians(a(4));
        sweep = a(4);
        nv =
            std::max(4, int(float(circle / 2) * std::min(1.f, std::fabs(a(3) - a(2)) / 360.f)) + 4);
        f = [=](float u, float v) {
            float th = u * tmax, ph = pmin + v * (pmax - pmin);
            float w = R + rr * std::cos(ph);
            return Vec3(w * std::cos(th), w * std::sin(th), rr * std::sin(ph));
        };
    } else {
        return "not a quadric";
    }
    if (sweep == 0)
        return {};
    int nu = segmentsFor(sweep, circle);
    // Sphere and torus have their normals in closed form, also at the poles.
    float torusMajor = q == "Torus" ? a(0) : 0;
    bool sphere = q == "Sphere";
    bool flip = (sphere && a(0) < 0);
    grid(
        nu, nv,
        [&](float u, float v, Vec3& P, Vec3& N) {
            P = f(u, v);
            if (sphere) {
                N = normalize(P);
            } else if (q == "Torus") {
                float th = u * radians(a(4));
                Vec3 centre(torusMajor * std::cos(th), torusMajor * std::sin(th), 0);
                N = normalize(P - centre);
                if (a(1) < 0)
                    N = -N;
            } else {
                N = numericNormal(f, u, v);
            }
            if (flip)
                N = -N;
        },
        r, ctx, out);
    return {};
}

namespace {

void bezierWeights(const float* basis, float t, float w[4])
{
    float T[4] = {t * t * t, t * t, t, 1};
    for (int k = 0; k < 4; ++k) {
        w[k] = 0;
        for (int i = 0; i < 4; ++i)
            w[k] += T[i] * basis[i * 4 + k];
    }
}

} // namespace

std::string tessellatePatch(const Request& r, const TessellationContext& ctx, ObjectMesh& out)
{
    bool mesh = r.name == "PatchMesh";
    std::string type = r.args.empty() ? "" : r.args[0].asString();
    bool bicubic = type == "bicubic";
    if (!bicubic && type != "bilinear")
        return "unknown patch type \"" + type + "\"";
    int nu = bicubic ? 4 : 2, nv = nu;
    bool uper = false, vper = false;
    if (mesh) {
        if (r.args.size() < 5)
            return "missing arguments";
        nu = r.args[1].asInt();
        uper = r.args[2].asString() == "periodic";
        nv = r.args[3].asInt();
        vper = r.args[4].asString() == "periodic";
    }
    const Param* P = r.find("P");
    bool homogeneous = false;
    if (!P || P->decl.componentsPerElement() != 3) {
        P = r.find("Pw");
        homogeneous = true;
        if (!P || P->decl.componentsPerElement() != 4)
            return "no \"P\"";
    }
    int comps = homogeneous ? 4 : 3;
    if (nu <= 0 || nv <= 0 || size_t(nu) * size_t(nv) * size_t(comps) > P->floats.size())
        return "too few points";
    auto point = [&](int i, int j) {
        i = uper ? ((i % nu) + nu) % nu : std::clamp(i, 0, nu - 1);
        j = vper ? ((j % nv) + nv) % nv : std::clamp(j, 0, nv - 1);
        const float* d = P->floats.data() + size_t(j * nu + i) * size_t(comps);
        float w = homogeneous && d[3] != 0 ? d[3] : 1;
        return Vec3(d[0] / w, d[1] / w, d[2] / w);
    };
    int ustep = bicubic ? std::max(1, ctx.ustep) : 1, vstep = bicubic ? std::max(1, ctx.vstep) : 1;
    int order = bicubic ? 4 : 2;
    int pu = uper ? nu / ustep : (nu - order) / ustep + 1;
    int pv = vper ? nv / vstep : (nv - order) / vstep + 1;
    if (pu <= 0 || pv <= 0)
        return "too few points for one patch";
    int seg = bicubic ? std::max(4, ctx.circleSegments / 8) : 1;
    for (int j = 0; j < pv; ++j)
        for (int i = 0; i < pu; ++i) {
            auto f = [&](float u, float v) {
                if (!bicubic) {
                    Vec3 a = point(i, j), b = point(i + 1, j), c = point(i, j + 1),
                         d = point(i + 1, j + 1);
                    return (a * (1 - u) + b * u) * (1 - v) + (c * (1 - u) + d * u) * v;
                }
                float wu[4], wv[4];
                bezierWeights(ctx.ubasis, u, wu);
                bezierWeights(ctx.vbasis, v, wv);
                Vec3 s;
                for (int b = 0; b < 4; ++b)
                    for (int a = 0; a < 4; ++a)
                        s += point(i * ustep + a, j * vstep + b) * (wu[a] * wv[b]);
                return s;
            };
            Request sub(r.name);
            for (const Param& p : r.params)
                if (p.name == "Cs" || p.name == "Os" || p.name == "st" || p.name == "s" ||
                    p.name == "t") {
                    // Varying values of this patch's four corners.
                    Param q = p;
                    int c = p.decl.componentsPerElement();
                    if (p.decl.varClass == VarClass::Varying ||
                        p.decl.varClass == VarClass::Vertex) {
                        int vu = uper ? pu : pu + 1, vvn = vper ? pv : pv + 1;
                        q.floats.clear();
                        for (int cj = 0; cj < 2; ++cj)
                            for (int ci = 0; ci < 2; ++ci) {
                                size_t idx = size_t(((j + cj) % vvn) * vu + (i + ci) % vu);
                                for (int k = 0; k < c; ++k) {
                                    size_t off = idx * size_t(c) + size_t(k);
                                    q.floats.push_back(off < p.floats.size() ? p.floats[off] : 0);
                                }
                            }
                    }
                    sub.params.push_back(q);
                }
            TessellationContext local = ctx;
            float u0 = float(i) / float(pu), u1 = float(i + 1) / float(pu);
            float v0 = float(j) / float(pv), v1 = float(j + 1) / float(pv);
            const float* tc = ctx.textureCoordinates;
            auto lerp = [&](float u, float v, int k) {
                return (1 - v) * ((1 - u) * tc[k] + u * tc[2 + k]) +
                       v * ((1 - u) * tc[4 + k] + u * tc[6 + k]);
            };
            float corners[4][2] = {{u0, v0}, {u1, v0}, {u0, v1}, {u1, v1}};
            for (int k = 0; k < 4; ++k) {
                local.textureCoordinates[2 * k] = lerp(corners[k][0], corners[k][1], 0);
                local.textureCoordinates[2 * k + 1] = lerp(corners[k][0], corners[k][1], 1);
            }
            grid(
                seg, seg,
                [&](float u, float v, Vec3& Pp, Vec3& N) {
                    Pp = f(u, v);
                    N = numericNormal(f, u, v);
                },
                sub, local, out);
        }
    return {};
}

} // namespace ri
