// The recording stand-in renderer (see RiRecorder.h). Built twice: in full, with every
// procedure the scene export calls and the progress extension, and as VS_RI_PARTIAL, which
// lacks RiMakeShadow, RiSphere and the progress extension.
#include "RiRecorder.h"

#include "render/RiTypes.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#define EXPORT extern "C" __attribute__((visibility("default")))

using rirecorder::Call;

namespace {

std::vector<Call> g_calls;
rirecorder::Behaviour g_behaviour;
RtProgressFunc g_progress = nullptr;
RtPointer g_progressData = nullptr;
intptr_t g_lights = 0;
std::string g_display, g_displayMode;
int g_width = 0, g_height = 0;

void put16(std::string& s, unsigned v)
{
    s += char(v & 0xFF), s += char((v >> 8) & 0xFF);
}

void put32(std::string& s, unsigned v)
{
    put16(s, v & 0xFFFF), put16(s, v >> 16);
}

/** An uncompressed grey RGB TIFF of the frame's size, as a display would leave it. */
[[maybe_unused]] void writePicture(const std::string& path, int width, int height)
{
    const unsigned pixels = unsigned(width) * unsigned(height) * 3;
    std::string tiff = "II*";
    tiff += '\0';
    put32(tiff, 8);
    const unsigned entries = 10, bitsAt = 8 + 2 + entries * 12 + 4, dataAt = bitsAt + 6;
    put16(tiff, entries);
    auto entry = [&](unsigned tag, unsigned type, unsigned count, unsigned value) {
        put16(tiff, tag), put16(tiff, type), put32(tiff, count);
        if (type == 3 && count == 1)
            put16(tiff, value), put16(tiff, 0);
        else
            put32(tiff, value);
    };
    entry(256, 4, 1, unsigned(width));
    entry(257, 4, 1, unsigned(height));
    entry(258, 3, 3, bitsAt);
    entry(259, 3, 1, 1);
    entry(262, 3, 1, 2);
    entry(273, 4, 1, dataAt);
    entry(277, 3, 1, 3);
    entry(278, 4, 1, unsigned(height));
    entry(279, 4, 1, pixels);
    entry(284, 3, 1, 1);
    put32(tiff, 0);
    put16(tiff, 8), put16(tiff, 8), put16(tiff, 8);
    tiff.append(pixels, char(128));
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(tiff.data(), 1, tiff.size(), f);
        std::fclose(f);
    }
}

std::string num(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

std::string str(const char* s)
{
    return s ? s : "(null)";
}

Call& record(const char* name, std::vector<std::string> args = {})
{
#ifdef VS_RI_DISCARD
    // The benchmarks' renderer: takes every call and keeps nothing.
    static Call sink;
    (void)name;
    (void)args;
    return sink;
#endif
    g_calls.push_back(Call{name, std::move(args), {}});
    return g_calls.back();
}

/** Values per parameter: negative counts are per vertex (times the vertex count). */
int floatsOf(const std::string& token, int vertices)
{
    if (token == "intensity" || token == "fov" || token == "jitter" || token == "coneangle" ||
        token == "conedeltaangle")
        return 1;
    if (token == "from" || token == "to" || token == "lightcolor")
        return 3;
    if (token == "P" || token == "N" || token == "Cs" || token == "Os")
        return 3 * vertices;
    if (token == "st")
        return 2 * vertices;
    return -1;
}

bool isString(const std::string& token)
{
    return token == "texturename" || token.rfind("shadowname", 0) == 0;
}

void readParams(Call& call, va_list ap, int vertices = 1)
{
#ifdef VS_RI_DISCARD
    (void)call, (void)ap, (void)vertices;
    return;
#endif
    for (;;) {
        const char* token = va_arg(ap, const char*);
        if (token == nullptr)
            return;
        std::vector<std::string> values;
        if (isString(token)) {
            values.push_back(str(*va_arg(ap, char**)));
        } else {
            const int n = floatsOf(token, vertices);
            if (n < 0) {
                call.params.emplace_back(token, std::vector<std::string>{"?"});
                return; // the size of an unknown parameter is unknown: stop reading
            }
            const RtFloat* v = va_arg(ap, RtFloat*);
            for (int i = 0; i < n; ++i)
                values.push_back(num(v[i]));
        }
        call.params.emplace_back(token, values);
    }
}

std::vector<std::string> matrixArgs(RtMatrix m)
{
    std::vector<std::string> a;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            a.push_back(num(m[r][c]));
    return a;
}

} // namespace

EXPORT std::vector<Call>* RiRecorderCalls()
{
    return &g_calls;
}

EXPORT rirecorder::Behaviour* RiRecorderBehaviour()
{
    return &g_behaviour;
}

EXPORT RtFloat RiBoxFilter(RtFloat, RtFloat, RtFloat, RtFloat)
{
    return 1;
}
EXPORT RtFloat RiCatmullRomFilter(RtFloat, RtFloat, RtFloat, RtFloat)
{
    return 1;
}
EXPORT RtFloat RiGaussianFilter(RtFloat, RtFloat, RtFloat, RtFloat)
{
    return 1;
}

namespace {
std::string filterName(RtFilterFunc f)
{
    if (f == RiBoxFilter)
        return "RiBoxFilter";
    if (f == RiCatmullRomFilter)
        return "RiCatmullRomFilter";
    if (f == RiGaussianFilter)
        return "RiGaussianFilter";
    return "?";
}
} // namespace

EXPORT RtVoid RiBegin(RtToken name)
{
    record("RiBegin", {str(name)});
    g_display.clear();
    g_displayMode.clear();
}
EXPORT RtVoid RiEnd()
{
    record("RiEnd");
    g_progress = nullptr;
}
EXPORT RtVoid RiWorldBegin()
{
    record("RiWorldBegin");
}
EXPORT RtVoid RiWorldEnd()
{
    Call& call = record("RiWorldEnd");
    if (g_progress != nullptr) {
        for (float f : g_behaviour.fractions) {
            if (g_progress(f, g_progressData) != 0) {
                call.args.push_back("stopped at " + num(f));
                return; // a stopped frame writes nothing
            }
        }
    }
#ifndef VS_RI_DISCARD
    if (g_displayMode == "rgb" || g_displayMode == "rgba")
        writePicture(g_display, g_width, g_height);
#endif
}
EXPORT RtVoid RiFormat(RtInt x, RtInt y, RtFloat aspect)
{
    record("RiFormat", {num(x), num(y), num(aspect)});
    g_width = x;
    g_height = y;
}
EXPORT RtVoid RiProjection(RtToken name, ...)
{
    Call& call = record("RiProjection", {str(name)});
    va_list ap;
    va_start(ap, name);
    readParams(call, ap);
    va_end(ap);
}
EXPORT RtVoid RiPixelSamples(RtFloat x, RtFloat y)
{
    record("RiPixelSamples", {num(x), num(y)});
}
EXPORT RtVoid RiPixelFilter(RtFilterFunc f, RtFloat x, RtFloat y)
{
    record("RiPixelFilter", {filterName(f), num(x), num(y)});
}
EXPORT RtVoid RiDisplay(char* name, RtToken type, RtToken mode, ...)
{
    Call& call = record("RiDisplay", {str(name), str(type), str(mode)});
    g_display = str(name);
    g_displayMode = str(mode);
    va_list ap;
    va_start(ap, mode);
    readParams(call, ap);
    va_end(ap);
}
EXPORT RtVoid RiHider(RtToken name, ...)
{
    Call& call = record("RiHider", {str(name)});
    va_list ap;
    va_start(ap, name);
    readParams(call, ap);
    va_end(ap);
}
EXPORT RtVoid RiShadingRate(RtFloat r)
{
    record("RiShadingRate", {num(r)});
}
EXPORT RtVoid RiTransform(RtMatrix m)
{
    record("RiTransform", matrixArgs(m));
}
EXPORT RtVoid RiConcatTransform(RtMatrix m)
{
    record("RiConcatTransform", matrixArgs(m));
}
EXPORT RtVoid RiTransformBegin()
{
    record("RiTransformBegin");
}
EXPORT RtVoid RiTransformEnd()
{
    record("RiTransformEnd");
}
EXPORT RtVoid RiAttributeBegin()
{
    record("RiAttributeBegin");
}
EXPORT RtVoid RiAttributeEnd()
{
    record("RiAttributeEnd");
}
EXPORT RtVoid RiSurface(RtToken name, ...)
{
    Call& call = record("RiSurface", {str(name)});
    va_list ap;
    va_start(ap, name);
    readParams(call, ap);
    va_end(ap);
}
EXPORT RtVoid RiOpacity(RtColor c)
{
    record("RiOpacity", {num(c[0]), num(c[1]), num(c[2])});
}
EXPORT RtLightHandle RiLightSource(RtToken name, ...)
{
    const intptr_t handle = ++g_lights;
    Call& call = record("RiLightSource", {str(name), num(static_cast<double>(handle))});
    va_list ap;
    va_start(ap, name);
    readParams(call, ap);
    va_end(ap);
    return reinterpret_cast<RtLightHandle>(handle);
}
EXPORT RtVoid RiIlluminate(RtLightHandle light, RtBoolean on)
{
    record("RiIlluminate", {num(static_cast<double>(reinterpret_cast<intptr_t>(light))), num(on)});
}
EXPORT RtVoid RiPolygon(RtInt n, ...)
{
    Call& call = record("RiPolygon", {num(n)});
    va_list ap;
    va_start(ap, n);
    readParams(call, ap, n);
    va_end(ap);
}
EXPORT RtVoid RiMakeTexture(char* pic, char* tex, RtToken swrap, RtToken twrap, RtFilterFunc f,
                            RtFloat sw, RtFloat tw, ...)
{
    record("RiMakeTexture",
           {str(pic), str(tex), str(swrap), str(twrap), filterName(f), num(sw), num(tw)});
}

#ifndef VS_RI_PARTIAL
EXPORT RtVoid RiMakeShadow(char* pic, char* tex, ...)
{
    record("RiMakeShadow", {str(pic), str(tex)});
}
EXPORT RtVoid RiSphere(RtFloat, RtFloat, RtFloat, RtFloat, ...)
{
    record("RiSphere");
}
EXPORT RtVoid RiProgressHandler(RtProgressFunc func, RtPointer data)
{
    record("RiProgressHandler", {func ? "func" : "null"});
    g_progress = func;
    g_progressData = data;
}
#endif
