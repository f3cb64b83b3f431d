// The C binding: every procedure turns its arguments into a Request (positional arguments as
// RIB writes them, parameter values copied by their declarations) and hands it to the current
// context's sink. Nothing here ends the process.
#include "../include/ri.h"

#include "Context.h"
#include "Errors.h"
#include "Filters.h"
#include "Renderer.h"
#include "RibWriter.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <set>
#include <stdexcept>
#include <vector>

#define RI_TOKEN(var, text) RtToken var = const_cast<char*>(text);

extern "C" {
RI_TOKEN(RI_FRAMEBUFFER, "framebuffer")
RI_TOKEN(RI_FILE, "file")
RI_TOKEN(RI_RGB, "rgb")
RI_TOKEN(RI_RGBA, "rgba")
RI_TOKEN(RI_RGBZ, "rgbz")
RI_TOKEN(RI_RGBAZ, "rgbaz")
RI_TOKEN(RI_A, "a")
RI_TOKEN(RI_Z, "z")
RI_TOKEN(RI_AZ, "az")
RI_TOKEN(RI_PERSPECTIVE, "perspective")
RI_TOKEN(RI_ORTHOGRAPHIC, "orthographic")
RI_TOKEN(RI_HIDDEN, "hidden")
RI_TOKEN(RI_PAINT, "paint")
RI_TOKEN(RI_CONSTANT, "constant")
RI_TOKEN(RI_SMOOTH, "smooth")
RI_TOKEN(RI_FLATNESS, "flatness")
RI_TOKEN(RI_FOV, "fov")
RI_TOKEN(RI_AMBIENTLIGHT, "ambientlight")
RI_TOKEN(RI_POINTLIGHT, "pointlight")
RI_TOKEN(RI_DISTANTLIGHT, "distantlight")
RI_TOKEN(RI_SPOTLIGHT, "spotlight")
RI_TOKEN(RI_INTENSITY, "intensity")
RI_TOKEN(RI_LIGHTCOLOR, "lightcolor")
RI_TOKEN(RI_FROM, "from")
RI_TOKEN(RI_TO, "to")
RI_TOKEN(RI_CONEANGLE, "coneangle")
RI_TOKEN(RI_CONEDELTAANGLE, "conedeltaangle")
RI_TOKEN(RI_BEAMDISTRIBUTION, "beamdistribution")
RI_TOKEN(RI_MATTE, "matte")
RI_TOKEN(RI_METAL, "metal")
RI_TOKEN(RI_SHINYMETAL, "shinymetal")
RI_TOKEN(RI_PLASTIC, "plastic")
RI_TOKEN(RI_PAINTEDPLASTIC, "paintedplastic")
RI_TOKEN(RI_KA, "Ka")
RI_TOKEN(RI_KD, "Kd")
RI_TOKEN(RI_KS, "Ks")
RI_TOKEN(RI_ROUGHNESS, "roughness")
RI_TOKEN(RI_KR, "Kr")
RI_TOKEN(RI_TEXTURENAME, "texturename")
RI_TOKEN(RI_SPECULARCOLOR, "specularcolor")
RI_TOKEN(RI_DEPTHCUE, "depthcue")
RI_TOKEN(RI_FOG, "fog")
RI_TOKEN(RI_BUMPY, "bumpy")
RI_TOKEN(RI_MINDISTANCE, "mindistance")
RI_TOKEN(RI_MAXDISTANCE, "maxdistance")
RI_TOKEN(RI_BACKGROUND, "background")
RI_TOKEN(RI_DISTANCE, "distance")
RI_TOKEN(RI_AMPLITUDE, "amplitude")
RI_TOKEN(RI_RASTER, "raster")
RI_TOKEN(RI_SCREEN, "screen")
RI_TOKEN(RI_CAMERA, "camera")
RI_TOKEN(RI_WORLD, "world")
RI_TOKEN(RI_OBJECT, "object")
RI_TOKEN(RI_INSIDE, "inside")
RI_TOKEN(RI_OUTSIDE, "outside")
RI_TOKEN(RI_LH, "lh")
RI_TOKEN(RI_RH, "rh")
RI_TOKEN(RI_P, "P")
RI_TOKEN(RI_PZ, "Pz")
RI_TOKEN(RI_PW, "Pw")
RI_TOKEN(RI_N, "N")
RI_TOKEN(RI_NP, "Np")
RI_TOKEN(RI_CS, "Cs")
RI_TOKEN(RI_OS, "Os")
RI_TOKEN(RI_S, "s")
RI_TOKEN(RI_T, "t")
RI_TOKEN(RI_ST, "st")
RI_TOKEN(RI_BILINEAR, "bilinear")
RI_TOKEN(RI_BICUBIC, "bicubic")
RI_TOKEN(RI_PRIMITIVE, "primitive")
RI_TOKEN(RI_INTERSECTION, "intersection")
RI_TOKEN(RI_UNION, "union")
RI_TOKEN(RI_DIFFERENCE, "difference")
RI_TOKEN(RI_PERIODIC, "periodic")
RI_TOKEN(RI_NONPERIODIC, "nonperiodic")
RI_TOKEN(RI_CLAMP, "clamp")
RI_TOKEN(RI_BLACK, "black")
RI_TOKEN(RI_IGNORE, "ignore")
RI_TOKEN(RI_PRINT, "print")
RI_TOKEN(RI_ABORT, "abort")
RI_TOKEN(RI_HANDLER, "handler")
RI_TOKEN(RI_COMMENT, "comment")
RI_TOKEN(RI_STRUCTURE, "structure")
RI_TOKEN(RI_VERBATIM, "verbatim")
RI_TOKEN(RI_IDENTIFIER, "identifier")
RI_TOKEN(RI_NAME, "name")
RI_TOKEN(RI_SHADINGGROUP, "shadinggroup")
RI_TOKEN(RI_WIDTH, "width")
RI_TOKEN(RI_CONSTANTWIDTH, "constantwidth")
RI_TOKEN(RI_JITTER, "jitter")
RI_TOKEN(RI_ZFILE, "zfile")
RI_TOKEN(RI_SHADOWNAME, "shadowname")
RI_TOKEN(RI_SEARCHPATH, "searchpath")

RtBasis RiBezierBasis = {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 3, 0, 0}, {1, 0, 0, 0}};
RtBasis RiBSplineBasis = {{-1.f / 6, 3.f / 6, -3.f / 6, 1.f / 6},
                          {3.f / 6, -6.f / 6, 3.f / 6, 0},
                          {-3.f / 6, 0, 3.f / 6, 0},
                          {1.f / 6, 4.f / 6, 1.f / 6, 0}};
RtBasis RiCatmullRomBasis = {
    {-0.5f, 1.5f, -1.5f, 0.5f}, {1, -2.5f, 2, -0.5f}, {-0.5f, 0, 0.5f, 0}, {0, 1, 0, 0}};
RtBasis RiHermiteBasis = {{2, 1, -2, 1}, {-3, -2, 3, -1}, {0, 1, 0, 0}, {1, 0, 0, 0}};
RtBasis RiPowerBasis = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
}

namespace ri {

namespace {

thread_local Context* tCurrent = nullptr;
thread_local RtErrorHandler tHandler = RiErrorPrint;
thread_local std::set<std::string> tUnimplemented;

using ri::Request;

void collect(va_list ap, std::vector<RtToken>& tokens, std::vector<RtPointer>& values)
{
    // A list longer than this is taken as a missing RI_NULL rather than read without end.
    for (int k = 0; k < 4096; ++k) {
        RtToken t = va_arg(ap, RtToken);
        if (!t)
            break;
        tokens.push_back(t);
        values.push_back(va_arg(ap, RtPointer));
    }
}

void addParams(Request& q, RtInt n, RtToken tokens[], RtPointer values[], const ClassCounts& c)
{
    Context* ctx = tCurrent;
    if (!ctx || n <= 0 || !tokens || !values)
        return;
    for (RtInt k = 0; k < n; ++k) {
        if (!tokens[k])
            break;
        Param p;
        if (!ctx->declarations.lookup(tokens[k], p.name, p.decl)) {
            report(RIE_BADTOKEN, RIE_WARNING,
                   std::string("undeclared parameter \"") + tokens[k] + "\" in " + q.name);
            continue;
        }
        if (!values[k])
            continue;
        size_t count = c.count(p.decl.varClass) * size_t(p.decl.componentsPerElement());
        if (p.decl.isString()) {
            char** s = static_cast<char**>(values[k]);
            for (size_t j = 0; j < count; ++j)
                p.strings.emplace_back(s[j] ? s[j] : "");
        } else if (p.decl.isInteger()) {
            const RtInt* v = static_cast<const RtInt*>(values[k]);
            p.ints.assign(v, v + count);
        } else {
            const RtFloat* v = static_cast<const RtFloat*>(values[k]);
            p.floats.assign(v, v + count);
        }
        q.params.push_back(std::move(p));
    }
}

const ClassCounts kOne{};

void send(Request& q)
{
    Context* ctx = tCurrent;
    if (!ctx) {
        report(RIE_NOTSTARTED, RIE_ERROR, q.name + " outside RiBegin/RiEnd");
        return;
    }
    // Nothing may unwind into the caller's C code.
    try {
        ctx->sink->handle(q);
    } catch (const std::bad_alloc&) {
        report(RIE_NOMEM, RIE_SEVERE, q.name + ": out of memory");
    } catch (const std::exception& e) {
        report(RIE_BUG, RIE_SEVERE, q.name + ": " + e.what());
    }
}

void sendV(const char* name, RtInt n, RtToken t[], RtPointer v[], const ClassCounts& c = kOne)
{
    Request q(name);
    addParams(q, n, t, v, c);
    send(q);
}

void sendNamedV(const char* name, const char* first, RtInt n, RtToken t[], RtPointer v[],
                const ClassCounts& c = kOne)
{
    Request q(name);
    q.s(first);
    addParams(q, n, t, v, c);
    send(q);
}

struct FilterEntry
{
    RtFilterFunc func;
    FilterKind kind;
};

const FilterEntry kFilters[] = {
    {RiBoxFilter, FilterKind::Box},
    {RiTriangleFilter, FilterKind::Triangle},
    {RiCatmullRomFilter, FilterKind::CatmullRom},
    {RiGaussianFilter, FilterKind::Gaussian},
    {RiSincFilter, FilterKind::Sinc},
    {RiMitchellFilter, FilterKind::Mitchell},
    {RiBlackmanHarrisFilter, FilterKind::BlackmanHarris},
};

void addFilter(Request& q, RtFilterFunc f)
{
    for (const FilterEntry& e : kFilters)
        if (e.func == f) {
            q.s(filterName(e.kind));
            return;
        }
    // A filter of the caller's own: the renderer calls it; RIB can only name it.
    q.s("box");
    q.function = reinterpret_cast<void*>(f);
}

size_t sum(const RtInt* a, RtInt n)
{
    size_t s = 0;
    for (RtInt k = 0; a && k < n; ++k)
        s += size_t(std::max(0, a[k]));
    return s;
}

size_t maxIndexPlusOne(const RtInt* a, size_t n)
{
    RtInt m = -1;
    for (size_t k = 0; a && k < n; ++k)
        m = std::max(m, a[k]);
    return size_t(m + 1);
}

ClassCounts uniformCounts(size_t uniform, size_t varying, size_t vertex, size_t faceVarying)
{
    ClassCounts c;
    c.uniform = uniform;
    c.varying = varying;
    c.vertex = vertex;
    c.faceVarying = faceVarying;
    return c;
}

const ClassCounts kQuadric = uniformCounts(1, 4, 4, 4);

thread_local RtInt gBasisStep[2] = {3, 3}; // sizes patch mesh lists; the renderer keeps its own

} // namespace

Context* currentContext()
{
    return tCurrent;
}

void report(int code, int severity, const std::string& message)
{
    RtErrorHandler h = tHandler ? tHandler : RiErrorPrint;
    std::vector<char> text(message.begin(), message.end());
    text.push_back('\0');
    h(code, severity, text.data());
}

void reportUnimplemented(const std::string& name)
{
    // Once per context (per thread outside one).
    std::set<std::string>& seen = tCurrent ? tCurrent->unimplemented : tUnimplemented;
    if (seen.insert(name).second)
        report(RIE_UNIMPLEMENT, RIE_WARNING, name + " is not implemented; ignored");
}

} // namespace ri

using namespace ri;

#define COLLECT(last)                                                                              \
    std::vector<RtToken> toks_;                                                                    \
    std::vector<RtPointer> vals_;                                                                  \
    {                                                                                              \
        va_list ap;                                                                                \
        va_start(ap, last);                                                                        \
        collect(ap, toks_, vals_);                                                                 \
        va_end(ap);                                                                                \
    }
#define PARAMS RtInt(toks_.size()), toks_.data(), vals_.data()

extern "C" {

RtToken RiDeclare(char* name, char* declaration)
{
    Context* ctx = tCurrent;
    if (!name)
        return nullptr;
    if (ctx) {
        if (!declaration || !ctx->declarations.declare(name, declaration)) {
            report(RIE_SYNTAX, RIE_ERROR,
                   std::string("bad declaration \"") + (declaration ? declaration : "") + "\"");
            return nullptr;
        }
        Request q("Declare");
        q.s(name).s(declaration);
        ctx->sink->handle(q);
    }
    return name;
}

RtContextHandle RiGetContext(void)
{
    return tCurrent;
}

RtVoid RiContext(RtContextHandle handle)
{
    tCurrent = static_cast<Context*>(handle);
}

RtVoid RiBegin(RtToken name)
{
    auto ctx = std::make_unique<Context>();
    if (name && *name) {
        std::string error;
        auto writer = RibWriter::open(name, error);
        if (!writer) {
            report(RIE_NOFILE, RIE_ERROR, error);
            return;
        }
        ctx->sink = std::move(writer);
    } else {
        ctx->sink = std::make_unique<Renderer>();
    }
    tCurrent = ctx.release();
}

RtVoid RiEnd(void)
{
    Context* ctx = tCurrent;
    if (!ctx) {
        report(RIE_NOTSTARTED, RIE_ERROR, "RiEnd without RiBegin");
        return;
    }
    Request q("End");
    send(q);
    tCurrent = nullptr;
    delete ctx;
}

RtVoid RiFrameBegin(RtInt number)
{
    Request q("FrameBegin");
    q.i(number);
    send(q);
}

RtVoid RiFrameEnd(void)
{
    Request q("FrameEnd");
    send(q);
}

RtVoid RiWorldBegin(void)
{
    Request q("WorldBegin");
    send(q);
}

RtVoid RiWorldEnd(void)
{
    Request q("WorldEnd");
    send(q);
}

RtVoid RiFormat(RtInt xres, RtInt yres, RtFloat aspect)
{
    Request q("Format");
    q.i(xres).i(yres).f(aspect);
    send(q);
}

RtVoid RiFrameAspectRatio(RtFloat aspect)
{
    Request q("FrameAspectRatio");
    q.f(aspect);
    send(q);
}

RtVoid RiScreenWindow(RtFloat left, RtFloat right, RtFloat bottom, RtFloat top)
{
    Request q("ScreenWindow");
    q.f(left).f(right).f(bottom).f(top);
    send(q);
}

RtVoid RiCropWindow(RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax)
{
    Request q("CropWindow");
    q.f(xmin).f(xmax).f(ymin).f(ymax);
    send(q);
}

RtVoid RiProjection(RtToken name, ...)
{
    COLLECT(name);
    RiProjectionV(name, PARAMS);
}

RtVoid RiProjectionV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Projection", name, n, t, v);
}

RtVoid RiClipping(RtFloat hither, RtFloat yon)
{
    Request q("Clipping");
    q.f(hither).f(yon);
    send(q);
}

RtVoid RiClippingPlane(RtFloat x, RtFloat y, RtFloat z, RtFloat nx, RtFloat ny, RtFloat nz)
{
    Request q("ClippingPlane");
    q.f(x).f(y).f(z).f(nx).f(ny).f(nz);
    send(q);
}

RtVoid RiDepthOfField(RtFloat fstop, RtFloat focallength, RtFloat focaldistance)
{
    Request q("DepthOfField");
    q.f(fstop).f(focallength).f(focaldistance);
    send(q);
}

RtVoid RiShutter(RtFloat smin, RtFloat smax)
{
    Request q("Shutter");
    q.f(smin).f(smax);
    send(q);
}

RtVoid RiPixelVariance(RtFloat variation)
{
    Request q("PixelVariance");
    q.f(variation);
    send(q);
}

RtVoid RiPixelSamples(RtFloat xsamples, RtFloat ysamples)
{
    Request q("PixelSamples");
    q.f(xsamples).f(ysamples);
    send(q);
}

RtVoid RiPixelFilter(RtFilterFunc function, RtFloat xwidth, RtFloat ywidth)
{
    Request q("PixelFilter");
    addFilter(q, function);
    q.f(xwidth).f(ywidth);
    send(q);
}

RtVoid RiExposure(RtFloat gain, RtFloat gamma)
{
    Request q("Exposure");
    q.f(gain).f(gamma);
    send(q);
}

RtVoid RiImager(RtToken name, ...)
{
    COLLECT(name);
    RiImagerV(name, PARAMS);
}

RtVoid RiImagerV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Imager", name, n, t, v);
}

RtVoid RiQuantize(RtToken type, RtInt one, RtInt qmin, RtInt qmax, RtFloat ampl)
{
    Request q("Quantize");
    q.s(type).i(one).i(qmin).i(qmax).f(ampl);
    send(q);
}

RtVoid RiDisplay(char* name, RtToken type, RtToken mode, ...)
{
    COLLECT(mode);
    RiDisplayV(name, type, mode, PARAMS);
}

RtVoid RiDisplayV(char* name, RtToken type, RtToken mode, RtInt n, RtToken t[], RtPointer v[])
{
    Request q("Display");
    q.s(name).s(type).s(mode);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiDisplayChannel(RtToken channel, ...)
{
    COLLECT(channel);
    RiDisplayChannelV(channel, PARAMS);
}

RtVoid RiDisplayChannelV(RtToken channel, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("DisplayChannel", channel, n, t, v);
}

RtFloat RiGaussianFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterWeight(FilterKind::Gaussian, x, y, xw, yw);
}

RtFloat RiBoxFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterWeight(FilterKind::Box, x, y, xw, yw);
}

RtFloat RiTriangleFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterWeight(FilterKind::Triangle, x, y, xw, yw);
}

RtFloat RiMitchellFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterWeight(FilterKind::Mitchell, x, y, xw, yw);
}

RtFloat RiCatmullRomFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterWeight(FilterKind::CatmullRom, x, y, xw, yw);
}

RtFloat RiBlackmanHarrisFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterWeight(FilterKind::BlackmanHarris, x, y, xw, yw);
}

RtFloat RiSincFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterWeight(FilterKind::Sinc, x, y, xw, yw);
}

RtFloat RiGaussianStepFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterStep(FilterKind::Gaussian, x, y, xw, yw);
}

RtFloat RiBoxStepFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterStep(FilterKind::Box, x, y, xw, yw);
}

RtFloat RiTriangleStepFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterStep(FilterKind::Triangle, x, y, xw, yw);
}

RtFloat RiMitchellStepFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterStep(FilterKind::Mitchell, x, y, xw, yw);
}

RtFloat RiCatmullRomStepFilter(RtFloat x, RtFloat y, RtFloat xw, RtFloat yw)
{
    return filterStep(FilterKind::CatmullRom, x, y, xw, yw);
}

RtVoid RiHider(RtToken type, ...)
{
    COLLECT(type);
    RiHiderV(type, PARAMS);
}

RtVoid RiHiderV(RtToken type, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Hider", type, n, t, v);
}

RtVoid RiColorSamples(RtInt n, RtFloat nRGB[], RtFloat RGBn[])
{
    Request q("ColorSamples");
    size_t k = size_t(std::max(0, n)) * 3;
    q.fa(nRGB, k).fa(RGBn, k);
    send(q);
}

RtVoid RiRelativeDetail(RtFloat relativedetail)
{
    Request q("RelativeDetail");
    q.f(relativedetail);
    send(q);
}

RtVoid RiOption(RtToken name, ...)
{
    COLLECT(name);
    RiOptionV(name, PARAMS);
}

RtVoid RiOptionV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Option", name, n, t, v);
}

RtVoid RiAttributeBegin(void)
{
    Request q("AttributeBegin");
    send(q);
}

RtVoid RiAttributeEnd(void)
{
    Request q("AttributeEnd");
    send(q);
}

RtVoid RiColor(RtColor color)
{
    Request q("Color");
    q.fa(color, 3);
    send(q);
}

RtVoid RiOpacity(RtColor color)
{
    Request q("Opacity");
    q.fa(color, 3);
    send(q);
}

RtVoid RiTextureCoordinates(RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2, RtFloat s3, RtFloat t3,
                            RtFloat s4, RtFloat t4)
{
    Request q("TextureCoordinates");
    q.f(s1).f(t1).f(s2).f(t2).f(s3).f(t3).f(s4).f(t4);
    send(q);
}

static RtLightHandle lightV(const char* request, RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    Context* ctx = tCurrent;
    if (!ctx) {
        report(RIE_NOTSTARTED, RIE_ERROR, std::string(request) + " outside RiBegin/RiEnd");
        return nullptr;
    }
    int id = ++ctx->nextLight;
    Request q(request);
    q.s(name).i(id);
    addParams(q, n, t, v, kOne);
    send(q);
    return reinterpret_cast<RtLightHandle>(intptr_t(id));
}

RtLightHandle RiLightSource(RtToken name, ...)
{
    COLLECT(name);
    return RiLightSourceV(name, PARAMS);
}

RtLightHandle RiLightSourceV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    return lightV("LightSource", name, n, t, v);
}

RtLightHandle RiAreaLightSource(RtToken name, ...)
{
    COLLECT(name);
    return RiAreaLightSourceV(name, PARAMS);
}

RtLightHandle RiAreaLightSourceV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    return lightV("AreaLightSource", name, n, t, v);
}

RtVoid RiIlluminate(RtLightHandle light, RtBoolean onoff)
{
    Request q("Illuminate");
    q.i(int(reinterpret_cast<intptr_t>(light))).i(onoff ? 1 : 0);
    send(q);
}

RtVoid RiSurface(RtToken name, ...)
{
    COLLECT(name);
    RiSurfaceV(name, PARAMS);
}

RtVoid RiSurfaceV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Surface", name, n, t, v);
}

RtVoid RiAtmosphere(RtToken name, ...)
{
    COLLECT(name);
    RiAtmosphereV(name, PARAMS);
}

RtVoid RiAtmosphereV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Atmosphere", name, n, t, v);
}

RtVoid RiInterior(RtToken name, ...)
{
    COLLECT(name);
    RiInteriorV(name, PARAMS);
}

RtVoid RiInteriorV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Interior", name, n, t, v);
}

RtVoid RiExterior(RtToken name, ...)
{
    COLLECT(name);
    RiExteriorV(name, PARAMS);
}

RtVoid RiExteriorV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Exterior", name, n, t, v);
}

RtVoid RiShadingRate(RtFloat size)
{
    Request q("ShadingRate");
    q.f(size);
    send(q);
}

RtVoid RiShadingInterpolation(RtToken type)
{
    Request q("ShadingInterpolation");
    q.s(type);
    send(q);
}

RtVoid RiMatte(RtBoolean onoff)
{
    Request q("Matte");
    q.i(onoff ? 1 : 0);
    send(q);
}

RtVoid RiBound(RtBound bound)
{
    Request q("Bound");
    q.fa(bound, 6);
    send(q);
}

RtVoid RiDetail(RtBound bound)
{
    Request q("Detail");
    q.fa(bound, 6);
    send(q);
}

RtVoid RiDetailRange(RtFloat minvis, RtFloat lowtran, RtFloat uptran, RtFloat maxvis)
{
    Request q("DetailRange");
    q.f(minvis).f(lowtran).f(uptran).f(maxvis);
    send(q);
}

RtVoid RiGeometricApproximation(RtToken type, RtFloat value)
{
    Request q("GeometricApproximation");
    q.s(type).f(value);
    send(q);
}

RtVoid RiGeometricRepresentation(RtToken type)
{
    Request q("GeometricRepresentation");
    q.s(type);
    send(q);
}

RtVoid RiOrientation(RtToken orientation)
{
    Request q("Orientation");
    q.s(orientation);
    send(q);
}

RtVoid RiReverseOrientation(void)
{
    Request q("ReverseOrientation");
    send(q);
}

RtVoid RiSides(RtInt nsides)
{
    Request q("Sides");
    q.i(nsides);
    send(q);
}

RtVoid RiIdentity(void)
{
    Request q("Identity");
    send(q);
}

RtVoid RiTransform(RtMatrix transform)
{
    Request q("Transform");
    q.fa(&transform[0][0], 16);
    send(q);
}

RtVoid RiConcatTransform(RtMatrix transform)
{
    Request q("ConcatTransform");
    q.fa(&transform[0][0], 16);
    send(q);
}

RtVoid RiPerspective(RtFloat fov)
{
    Request q("Perspective");
    q.f(fov);
    send(q);
}

RtVoid RiTranslate(RtFloat dx, RtFloat dy, RtFloat dz)
{
    Request q("Translate");
    q.f(dx).f(dy).f(dz);
    send(q);
}

RtVoid RiRotate(RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz)
{
    Request q("Rotate");
    q.f(angle).f(dx).f(dy).f(dz);
    send(q);
}

RtVoid RiScale(RtFloat sx, RtFloat sy, RtFloat sz)
{
    Request q("Scale");
    q.f(sx).f(sy).f(sz);
    send(q);
}

RtVoid RiSkew(RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2, RtFloat dy2,
              RtFloat dz2)
{
    Request q("Skew");
    q.f(angle).f(dx1).f(dy1).f(dz1).f(dx2).f(dy2).f(dz2);
    send(q);
}

RtVoid RiDeformation(RtToken name, ...)
{
    COLLECT(name);
    RiDeformationV(name, PARAMS);
}

RtVoid RiDeformationV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Deformation", name, n, t, v);
}

RtVoid RiDisplacement(RtToken name, ...)
{
    COLLECT(name);
    RiDisplacementV(name, PARAMS);
}

RtVoid RiDisplacementV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Displacement", name, n, t, v);
}

RtVoid RiCoordinateSystem(RtToken space)
{
    Request q("CoordinateSystem");
    q.s(space);
    send(q);
}

RtVoid RiCoordSysTransform(RtToken space)
{
    Request q("CoordSysTransform");
    q.s(space);
    send(q);
}

RtPoint* RiTransformPoints(RtToken fromspace, RtToken tospace, RtInt n, RtPoint points[])
{
    Context* ctx = tCurrent;
    if (!ctx || !fromspace || !tospace || n < 0 || (n > 0 && !points))
        return nullptr;
    if (!ctx->sink->transformPoints(fromspace, tospace, n, &points[0][0]))
        return nullptr;
    return points;
}

RtVoid RiTransformBegin(void)
{
    Request q("TransformBegin");
    send(q);
}

RtVoid RiTransformEnd(void)
{
    Request q("TransformEnd");
    send(q);
}

RtVoid RiAttribute(RtToken name, ...)
{
    COLLECT(name);
    RiAttributeV(name, PARAMS);
}

RtVoid RiAttributeV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Attribute", name, n, t, v);
}

RtVoid RiPolygon(RtInt nvertices, ...)
{
    COLLECT(nvertices);
    RiPolygonV(nvertices, PARAMS);
}

RtVoid RiPolygonV(RtInt nvertices, RtInt n, RtToken t[], RtPointer v[])
{
    size_t nv = size_t(std::max(0, nvertices));
    sendV("Polygon", n, t, v, uniformCounts(1, nv, nv, nv));
}

RtVoid RiGeneralPolygon(RtInt nloops, RtInt nverts[], ...)
{
    COLLECT(nverts);
    RiGeneralPolygonV(nloops, nverts, PARAMS);
}

RtVoid RiGeneralPolygonV(RtInt nloops, RtInt nverts[], RtInt n, RtToken t[], RtPointer v[])
{
    Request q("GeneralPolygon");
    size_t loops = size_t(std::max(0, nloops));
    q.ia(nverts, loops);
    size_t total = sum(nverts, nloops);
    addParams(q, n, t, v, uniformCounts(1, total, total, total));
    send(q);
}

RtVoid RiPointsPolygons(RtInt npolys, RtInt nverts[], RtInt verts[], ...)
{
    COLLECT(verts);
    RiPointsPolygonsV(npolys, nverts, verts, PARAMS);
}

RtVoid RiPointsPolygonsV(RtInt npolys, RtInt nverts[], RtInt verts[], RtInt n, RtToken t[],
                         RtPointer v[])
{
    Request q("PointsPolygons");
    size_t polys = size_t(std::max(0, npolys));
    size_t corners = sum(nverts, npolys);
    q.ia(nverts, polys).ia(verts, corners);
    size_t points = maxIndexPlusOne(verts, corners);
    addParams(q, n, t, v, uniformCounts(polys, points, points, corners));
    send(q);
}

RtVoid RiPointsGeneralPolygons(RtInt npolys, RtInt nloops[], RtInt nverts[], RtInt verts[], ...)
{
    COLLECT(verts);
    RiPointsGeneralPolygonsV(npolys, nloops, nverts, verts, PARAMS);
}

RtVoid RiPointsGeneralPolygonsV(RtInt npolys, RtInt nloops[], RtInt nverts[], RtInt verts[],
                                RtInt n, RtToken t[], RtPointer v[])
{
    Request q("PointsGeneralPolygons");
    size_t polys = size_t(std::max(0, npolys));
    size_t loops = sum(nloops, npolys);
    size_t corners = sum(nverts, RtInt(loops));
    q.ia(nloops, polys).ia(nverts, loops).ia(verts, corners);
    size_t points = maxIndexPlusOne(verts, corners);
    addParams(q, n, t, v, uniformCounts(polys, points, points, corners));
    send(q);
}

RtVoid RiBasis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep)
{
    Request q("Basis");
    q.fa(&ubasis[0][0], 16).i(ustep).fa(&vbasis[0][0], 16).i(vstep);
    gBasisStep[0] = ustep;
    gBasisStep[1] = vstep;
    send(q);
}

static size_t patchesAlong(bool bicubic, int n, bool periodic, int step)
{
    if (!bicubic)
        return size_t(std::max(0, periodic ? n : n - 1));
    step = std::max(1, step);
    return size_t(std::max(0, periodic ? n / step : (n - 4) / step + 1));
}

RtVoid RiPatch(RtToken type, ...)
{
    COLLECT(type);
    RiPatchV(type, PARAMS);
}

RtVoid RiPatchV(RtToken type, RtInt n, RtToken t[], RtPointer v[])
{
    bool bicubic = type && std::strcmp(type, "bicubic") == 0;
    sendNamedV("Patch", type, n, t, v, uniformCounts(1, 4, bicubic ? 16 : 4, 4));
}

RtVoid RiPatchMesh(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, ...)
{
    COLLECT(vwrap);
    RiPatchMeshV(type, nu, uwrap, nv, vwrap, PARAMS);
}

RtVoid RiPatchMeshV(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap, RtInt n,
                    RtToken t[], RtPointer v[])
{
    Request q("PatchMesh");
    q.s(type).i(nu).s(uwrap).i(nv).s(vwrap);
    bool bicubic = type && std::strcmp(type, "bicubic") == 0;
    bool uper = uwrap && std::strcmp(uwrap, "periodic") == 0;
    bool vper = vwrap && std::strcmp(vwrap, "periodic") == 0;
    size_t pu = patchesAlong(bicubic, nu, uper, gBasisStep[0]);
    size_t pv = patchesAlong(bicubic, nv, vper, gBasisStep[1]);
    size_t vu = uper ? pu : pu + 1, vvv = vper ? pv : pv + 1;
    size_t vertices = size_t(std::max(0, nu)) * size_t(std::max(0, nv));
    addParams(q, n, t, v, uniformCounts(pu * pv, vu * vvv, vertices, pu * pv * 4));
    send(q);
}

RtVoid RiNuPatch(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
                 RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, ...)
{
    COLLECT(vmax);
    RiNuPatchV(nu, uorder, uknot, umin, umax, nv, vorder, vknot, vmin, vmax, PARAMS);
}

RtVoid RiNuPatchV(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax, RtInt nv,
                  RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax, RtInt n, RtToken t[],
                  RtPointer v[])
{
    Request q("NuPatch");
    size_t ku = size_t(std::max(0, nu + uorder)), kv = size_t(std::max(0, nv + vorder));
    q.i(nu).i(uorder).fa(uknot, ku).f(umin).f(umax).i(nv).i(vorder).fa(vknot, kv).f(vmin).f(vmax);
    size_t su = size_t(std::max(0, nu - uorder + 1)), sv = size_t(std::max(0, nv - vorder + 1));
    size_t vertices = size_t(std::max(0, nu)) * size_t(std::max(0, nv));
    addParams(q, n, t, v, uniformCounts(su * sv, (su + 1) * (sv + 1), vertices, su * sv * 4));
    send(q);
}

RtVoid RiTrimCurve(RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[], RtFloat amin[],
                   RtFloat amax[], RtInt nv[], RtFloat u[], RtFloat v[], RtFloat w[])
{
    Request q("TrimCurve");
    size_t curves = sum(ncurves, nloops);
    size_t knots = 0, points = 0;
    for (size_t k = 0; order && nv && k < curves; ++k) {
        knots += size_t(std::max(0, order[k] + nv[k]));
        points += size_t(std::max(0, nv[k]));
    }
    q.ia(ncurves, size_t(std::max(0, nloops))).ia(order, curves).fa(knot, knots);
    q.fa(amin, curves).fa(amax, curves).ia(nv, curves).fa(u, points).fa(v, points).fa(w, points);
    send(q);
}

RtVoid RiSphere(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...)
{
    COLLECT(thetamax);
    RiSphereV(radius, zmin, zmax, thetamax, PARAMS);
}

RtVoid RiSphereV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n, RtToken t[],
                 RtPointer v[])
{
    Request q("Sphere");
    q.f(radius).f(zmin).f(zmax).f(thetamax);
    addParams(q, n, t, v, kQuadric);
    send(q);
}

RtVoid RiCone(RtFloat height, RtFloat radius, RtFloat thetamax, ...)
{
    COLLECT(thetamax);
    RiConeV(height, radius, thetamax, PARAMS);
}

RtVoid RiConeV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken t[],
               RtPointer v[])
{
    Request q("Cone");
    q.f(height).f(radius).f(thetamax);
    addParams(q, n, t, v, kQuadric);
    send(q);
}

RtVoid RiCylinder(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...)
{
    COLLECT(thetamax);
    RiCylinderV(radius, zmin, zmax, thetamax, PARAMS);
}

RtVoid RiCylinderV(RtFloat radius, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                   RtToken t[], RtPointer v[])
{
    Request q("Cylinder");
    q.f(radius).f(zmin).f(zmax).f(thetamax);
    addParams(q, n, t, v, kQuadric);
    send(q);
}

RtVoid RiHyperboloid(RtPoint point1, RtPoint point2, RtFloat thetamax, ...)
{
    COLLECT(thetamax);
    RiHyperboloidV(point1, point2, thetamax, PARAMS);
}

RtVoid RiHyperboloidV(RtPoint point1, RtPoint point2, RtFloat thetamax, RtInt n, RtToken t[],
                      RtPointer v[])
{
    Request q("Hyperboloid");
    for (int k = 0; k < 3; ++k)
        q.f(point1 ? point1[k] : 0.f);
    for (int k = 0; k < 3; ++k)
        q.f(point2 ? point2[k] : 0.f);
    q.f(thetamax);
    addParams(q, n, t, v, kQuadric);
    send(q);
}

RtVoid RiParaboloid(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, ...)
{
    COLLECT(thetamax);
    RiParaboloidV(rmax, zmin, zmax, thetamax, PARAMS);
}

RtVoid RiParaboloidV(RtFloat rmax, RtFloat zmin, RtFloat zmax, RtFloat thetamax, RtInt n,
                     RtToken t[], RtPointer v[])
{
    Request q("Paraboloid");
    q.f(rmax).f(zmin).f(zmax).f(thetamax);
    addParams(q, n, t, v, kQuadric);
    send(q);
}

RtVoid RiDisk(RtFloat height, RtFloat radius, RtFloat thetamax, ...)
{
    COLLECT(thetamax);
    RiDiskV(height, radius, thetamax, PARAMS);
}

RtVoid RiDiskV(RtFloat height, RtFloat radius, RtFloat thetamax, RtInt n, RtToken t[],
               RtPointer v[])
{
    Request q("Disk");
    q.f(height).f(radius).f(thetamax);
    addParams(q, n, t, v, kQuadric);
    send(q);
}

RtVoid RiTorus(RtFloat majorrad, RtFloat minorrad, RtFloat phimin, RtFloat phimax, RtFloat thetamax,
               ...)
{
    COLLECT(thetamax);
    RiTorusV(majorrad, minorrad, phimin, phimax, thetamax, PARAMS);
}

RtVoid RiTorusV(RtFloat majorrad, RtFloat minorrad, RtFloat phimin, RtFloat phimax,
                RtFloat thetamax, RtInt n, RtToken t[], RtPointer v[])
{
    Request q("Torus");
    q.f(majorrad).f(minorrad).f(phimin).f(phimax).f(thetamax);
    addParams(q, n, t, v, kQuadric);
    send(q);
}

RtVoid RiCurves(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, ...)
{
    COLLECT(wrap);
    RiCurvesV(type, ncurves, nvertices, wrap, PARAMS);
}

RtVoid RiCurvesV(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, RtInt n, RtToken t[],
                 RtPointer v[])
{
    Request q("Curves");
    size_t curves = size_t(std::max(0, ncurves));
    size_t vertices = sum(nvertices, ncurves);
    q.s(type).ia(nvertices, curves).s(wrap);
    addParams(q, n, t, v, uniformCounts(curves, vertices, vertices, vertices));
    send(q);
}

RtVoid RiProcedural(RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc,
                    RtProcFreeFunc freefunc)
{
    // Only the three standard procedurals can be named; their data is an array of strings.
    Request q("Procedural");
    const char* kind = subdivfunc == RiProcDelayedReadArchive ? "DelayedReadArchive"
                       : subdivfunc == RiProcRunProgram       ? "RunProgram"
                       : subdivfunc == RiProcDynamicLoad      ? "DynamicLoad"
                                                              : nullptr;
    if (!kind) {
        reportUnimplemented("RiProcedural with a procedure of the caller's own");
        if (freefunc)
            freefunc(data);
        return;
    }
    int count = subdivfunc == RiProcDelayedReadArchive ? 1 : 2;
    q.s(kind).sa(static_cast<const char* const*>(data), size_t(count)).fa(bound, 6);
    send(q);
    if (freefunc)
        freefunc(data);
}

RtVoid RiGeometry(RtToken type, ...)
{
    COLLECT(type);
    RiGeometryV(type, PARAMS);
}

RtVoid RiGeometryV(RtToken type, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("Geometry", type, n, t, v);
}

RtVoid RiPoints(RtInt npoints, ...)
{
    COLLECT(npoints);
    RiPointsV(npoints, PARAMS);
}

RtVoid RiPointsV(RtInt npoints, RtInt n, RtToken t[], RtPointer v[])
{
    size_t k = size_t(std::max(0, npoints));
    sendV("Points", n, t, v, uniformCounts(1, k, k, k));
}

RtVoid RiSubdivisionMesh(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                         RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                         RtFloat floatargs[], ...)
{
    COLLECT(floatargs);
    RiSubdivisionMeshV(scheme, nfaces, nvertices, vertices, ntags, tags, nargs, intargs, floatargs,
                       PARAMS);
}

RtVoid RiSubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[], RtInt vertices[],
                          RtInt ntags, RtToken tags[], RtInt nargs[], RtInt intargs[],
                          RtFloat floatargs[], RtInt n, RtToken t[], RtPointer v[])
{
    Request q("SubdivisionMesh");
    size_t faces = size_t(std::max(0, nfaces)), corners = sum(nvertices, nfaces);
    size_t ntag = size_t(std::max(0, ntags));
    size_t nint = 0, nflt = 0;
    for (size_t k = 0; nargs && k < ntag; ++k) {
        nint += size_t(std::max(0, nargs[2 * k]));
        nflt += size_t(std::max(0, nargs[2 * k + 1]));
    }
    q.s(scheme).ia(nvertices, faces).ia(vertices, corners).sa(tags, ntag).ia(nargs, 2 * ntag);
    q.ia(intargs, nint).fa(floatargs, nflt);
    size_t points = maxIndexPlusOne(vertices, corners);
    addParams(q, n, t, v, uniformCounts(faces, points, points, corners));
    send(q);
}

RtVoid RiBlobby(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr,
                RtToken str[], ...)
{
    COLLECT(str);
    RiBlobbyV(nleaf, ncode, code, nflt, flt, nstr, str, PARAMS);
}

RtVoid RiBlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[], RtInt nstr,
                 RtToken str[], RtInt n, RtToken t[], RtPointer v[])
{
    Request q("Blobby");
    q.i(nleaf).ia(code, size_t(std::max(0, ncode))).fa(flt, size_t(std::max(0, nflt)));
    q.sa(str, size_t(std::max(0, nstr)));
    size_t leaves = size_t(std::max(0, nleaf));
    addParams(q, n, t, v, uniformCounts(1, leaves, leaves, leaves));
    send(q);
}

// The standard procedurals are only ever named (see RiProcedural); called directly they have
// nothing to do.
RtVoid RiProcDelayedReadArchive(RtPointer, RtFloat)
{
}
RtVoid RiProcRunProgram(RtPointer, RtFloat)
{
}
RtVoid RiProcDynamicLoad(RtPointer, RtFloat)
{
}
RtVoid RiProcFree(RtPointer data)
{
    std::free(data);
}

RtVoid RiSolidBegin(RtToken operation)
{
    Request q("SolidBegin");
    q.s(operation);
    send(q);
}

RtVoid RiSolidEnd(void)
{
    Request q("SolidEnd");
    send(q);
}

RtObjectHandle RiObjectBegin(void)
{
    Context* ctx = tCurrent;
    if (!ctx) {
        report(RIE_NOTSTARTED, RIE_ERROR, "ObjectBegin outside RiBegin/RiEnd");
        return nullptr;
    }
    int id = ++ctx->nextObject;
    Request q("ObjectBegin");
    q.i(id);
    send(q);
    return reinterpret_cast<RtObjectHandle>(intptr_t(id));
}

RtVoid RiObjectEnd(void)
{
    Request q("ObjectEnd");
    send(q);
}

RtVoid RiObjectInstance(RtObjectHandle handle)
{
    Request q("ObjectInstance");
    q.i(int(reinterpret_cast<intptr_t>(handle)));
    send(q);
}

RtVoid RiMotionBegin(RtInt n, ...)
{
    std::vector<RtFloat> times;
    va_list ap;
    va_start(ap, n);
    for (RtInt k = 0; k < n && k < 64; ++k)
        times.push_back(RtFloat(va_arg(ap, double)));
    va_end(ap);
    RiMotionBeginV(RtInt(times.size()), times.data());
}

RtVoid RiMotionBeginV(RtInt n, RtFloat times[])
{
    Request q("MotionBegin");
    q.fa(times, size_t(std::max(0, n)));
    send(q);
}

RtVoid RiMotionEnd(void)
{
    Request q("MotionEnd");
    send(q);
}

static void makeTextureLike(const char* request, char* pic, char* tex, RtToken swrap, RtToken twrap,
                            RtFilterFunc filter, RtFloat sw, RtFloat tw, RtInt n, RtToken t[],
                            RtPointer v[])
{
    Request q(request);
    q.s(pic).s(tex).s(swrap).s(twrap);
    addFilter(q, filter);
    q.f(sw).f(tw);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiMakeTexture(char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
                     RtFloat swidth, RtFloat twidth, ...)
{
    COLLECT(twidth);
    RiMakeTextureV(pic, tex, swrap, twrap, filterfunc, swidth, twidth, PARAMS);
}

RtVoid RiMakeTextureV(char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
                      RtFloat swidth, RtFloat twidth, RtInt n, RtToken t[], RtPointer v[])
{
    makeTextureLike("MakeTexture", pic, tex, swrap, twrap, filterfunc, swidth, twidth, n, t, v);
}

RtVoid RiMakeBump(char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
                  RtFloat swidth, RtFloat twidth, ...)
{
    COLLECT(twidth);
    RiMakeBumpV(pic, tex, swrap, twrap, filterfunc, swidth, twidth, PARAMS);
}

RtVoid RiMakeBumpV(char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc filterfunc,
                   RtFloat swidth, RtFloat twidth, RtInt n, RtToken t[], RtPointer v[])
{
    makeTextureLike("MakeBump", pic, tex, swrap, twrap, filterfunc, swidth, twidth, n, t, v);
}

RtVoid RiMakeLatLongEnvironment(char* pic, char* tex, RtFilterFunc filterfunc, RtFloat swidth,
                                RtFloat twidth, ...)
{
    COLLECT(twidth);
    RiMakeLatLongEnvironmentV(pic, tex, filterfunc, swidth, twidth, PARAMS);
}

RtVoid RiMakeLatLongEnvironmentV(char* pic, char* tex, RtFilterFunc filterfunc, RtFloat swidth,
                                 RtFloat twidth, RtInt n, RtToken t[], RtPointer v[])
{
    Request q("MakeLatLongEnvironment");
    q.s(pic).s(tex);
    addFilter(q, filterfunc);
    q.f(swidth).f(twidth);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiMakeCubeFaceEnvironment(char* px, char* nx, char* py, char* ny, char* pz, char* nz,
                                 char* tex, RtFloat fov, RtFilterFunc filterfunc, RtFloat swidth,
                                 RtFloat twidth, ...)
{
    COLLECT(twidth);
    RiMakeCubeFaceEnvironmentV(px, nx, py, ny, pz, nz, tex, fov, filterfunc, swidth, twidth,
                               PARAMS);
}

RtVoid RiMakeCubeFaceEnvironmentV(char* px, char* nx, char* py, char* ny, char* pz, char* nz,
                                  char* tex, RtFloat fov, RtFilterFunc filterfunc, RtFloat swidth,
                                  RtFloat twidth, RtInt n, RtToken t[], RtPointer v[])
{
    Request q("MakeCubeFaceEnvironment");
    q.s(px).s(nx).s(py).s(ny).s(pz).s(nz).s(tex).f(fov);
    addFilter(q, filterfunc);
    q.f(swidth).f(twidth);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiMakeShadow(char* pic, char* tex, ...)
{
    COLLECT(tex);
    RiMakeShadowV(pic, tex, PARAMS);
}

RtVoid RiMakeShadowV(char* pic, char* tex, RtInt n, RtToken t[], RtPointer v[])
{
    Request q("MakeShadow");
    q.s(pic).s(tex);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiMakeBrickMap(RtInt nptc, char** ptcnames, char* bkmname, ...)
{
    COLLECT(bkmname);
    RiMakeBrickMapV(nptc, ptcnames, bkmname, PARAMS);
}

RtVoid RiMakeBrickMapV(RtInt nptc, char** ptcnames, char* bkmname, RtInt n, RtToken t[],
                       RtPointer v[])
{
    Request q("MakeBrickMap");
    q.sa(ptcnames, size_t(std::max(0, nptc))).s(bkmname);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiErrorHandler(RtErrorHandler handler)
{
    tHandler = handler ? handler : RiErrorPrint;
    Context* ctx = tCurrent;
    if (ctx) {
        Request q("ErrorHandler");
        q.s(handler == RiErrorIgnore ? "ignore" : handler == RiErrorAbort ? "abort" : "print");
        ctx->sink->handle(q);
    }
}

RtVoid RiErrorIgnore(RtInt, RtInt, char*)
{
}

RtVoid RiErrorPrint(RtInt code, RtInt severity, char* message)
{
    static const char* const names[] = {"info", "warning", "error", "severe error"};
    const char* level = severity >= 0 && severity <= 3 ? names[severity] : "error";
    std::fprintf(stderr, "ri: %s (%d): %s\n", level, int(code), message ? message : "");
}

// Prints the message; for an error it also marks the current frame as failed so that it
// stops early. It never ends the process: the renderer runs inside its caller's process.
RtVoid RiErrorAbort(RtInt code, RtInt severity, char* message)
{
    RiErrorPrint(code, severity, message);
    if (severity >= RIE_ERROR && tCurrent) {
        Request q("Abort");
        tCurrent->sink->handle(q);
    }
}

RtVoid RiResource(RtToken handle, RtToken type, ...)
{
    COLLECT(type);
    RiResourceV(handle, type, PARAMS);
}

RtVoid RiResourceV(RtToken handle, RtToken type, RtInt n, RtToken t[], RtPointer v[])
{
    Request q("Resource");
    q.s(handle).s(type);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiResourceBegin(void)
{
    Request q("ResourceBegin");
    send(q);
}

RtVoid RiResourceEnd(void)
{
    Request q("ResourceEnd");
    send(q);
}

RtArchiveHandle RiArchiveBegin(RtToken name, ...)
{
    COLLECT(name);
    return RiArchiveBeginV(name, PARAMS);
}

RtArchiveHandle RiArchiveBeginV(RtToken name, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("ArchiveBegin", name, n, t, v);
    return name;
}

RtVoid RiArchiveEnd(void)
{
    Request q("ArchiveEnd");
    send(q);
}

RtVoid RiIfBegin(char* condition, ...)
{
    COLLECT(condition);
    RiIfBeginV(condition, PARAMS);
}

RtVoid RiIfBeginV(char* condition, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("IfBegin", condition, n, t, v);
}

RtVoid RiElseIf(char* condition, ...)
{
    COLLECT(condition);
    RiElseIfV(condition, PARAMS);
}

RtVoid RiElseIfV(char* condition, RtInt n, RtToken t[], RtPointer v[])
{
    sendNamedV("ElseIf", condition, n, t, v);
}

RtVoid RiElse(void)
{
    Request q("Else");
    send(q);
}

RtVoid RiIfEnd(void)
{
    Request q("IfEnd");
    send(q);
}

RtVoid RiArchiveRecord(RtToken type, char* format, ...)
{
    if (!format)
        return;
    char buffer[4096];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buffer, sizeof buffer, format, ap);
    va_end(ap);
    Request q("ArchiveRecord");
    q.s(type).s(buffer);
    send(q);
}

RtVoid RiReadArchive(RtToken name, RtArchiveCallback callback, ...)
{
    COLLECT(callback);
    RiReadArchiveV(name, callback, PARAMS);
}

RtVoid RiReadArchiveV(RtToken name, RtArchiveCallback callback, RtInt n, RtToken t[], RtPointer v[])
{
    Request q("ReadArchive");
    q.s(name);
    q.function = reinterpret_cast<void*>(callback);
    addParams(q, n, t, v, kOne);
    send(q);
}

RtVoid RiProgressHandler(RtProgressFunc func, RtPointer data)
{
    setProgressHandler(func, data);
}

} // extern "C"
