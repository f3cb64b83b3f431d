#include "render/RibWriter.h"

#include "platform/Errors.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <string>

namespace vs {

namespace {

FILE* g_out = nullptr;
int g_frame = 0;
long g_light = 0;
bool g_failed = false;

void put(const std::string& text)
{
    if (g_out != nullptr && std::fputs(text.c_str(), g_out) < 0)
        g_failed = true;
}

std::string quoted(const char* text)
{
    std::string q = "\"";
    for (const char* c = text ? text : ""; *c; ++c) {
        if (*c == '"' || *c == '\\')
            q += '\\';
        q += *c;
    }
    return q + "\"";
}

std::string number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

std::string floats(const RtFloat* v, int n)
{
    std::string s = "[";
    for (int i = 0; i < n; ++i)
        s += (i ? " " : "") + number(v[i]);
    return s + "]";
}

/** Values per parameter of the lists the export writes; -1 for a string. */
int valuesOf(const std::string& token, int vertices)
{
    if (token == "texturename" || token.rfind("shadowname", 0) == 0)
        return -1;
    if (token == "from" || token == "to" || token == "lightcolor")
        return 3;
    if (token == "P" || token == "N" || token == "Cs" || token == "Os")
        return 3 * vertices;
    if (token == "st")
        return 2 * vertices;
    return 1;
}

std::string parameters(va_list ap, int vertices = 1)
{
    std::string s;
    while (const char* token = va_arg(ap, const char*)) {
        const int n = valuesOf(token, vertices);
        s += " " + quoted(token) + " ";
        if (n < 0)
            s += "[" + quoted(*va_arg(ap, char**)) + "]";
        else
            s += floats(va_arg(ap, RtFloat*), n);
    }
    return s;
}

RtFloat boxFilter(RtFloat, RtFloat, RtFloat, RtFloat)
{
    return 1;
}
RtFloat catmullRomFilter(RtFloat, RtFloat, RtFloat, RtFloat)
{
    return 1;
}
RtFloat gaussianFilter(RtFloat, RtFloat, RtFloat, RtFloat)
{
    return 1;
}

const char* filterName(RtFilterFunc f)
{
    if (f == boxFilter)
        return "box";
    if (f == catmullRomFilter)
        return "catmull-rom";
    return "gaussian";
}

std::string matrix(RtMatrix m)
{
    return floats(&m[0][0], 16);
}

RtVoid begin(RtToken)
{
    put("FrameBegin " + std::to_string(++g_frame) + "\n");
}
RtVoid end()
{
    put("FrameEnd\n");
}
RtVoid worldBegin()
{
    put("WorldBegin\n");
}
RtVoid worldEnd()
{
    put("WorldEnd\n");
}
RtVoid attributeBegin()
{
    put("AttributeBegin\n");
}
RtVoid attributeEnd()
{
    put("AttributeEnd\n");
}
RtVoid transformBegin()
{
    put("TransformBegin\n");
}
RtVoid transformEnd()
{
    put("TransformEnd\n");
}
RtVoid format(RtInt x, RtInt y, RtFloat aspect)
{
    put("Format " + std::to_string(x) + " " + std::to_string(y) + " " + number(aspect) + "\n");
}
RtVoid pixelSamples(RtFloat x, RtFloat y)
{
    put("PixelSamples " + number(x) + " " + number(y) + "\n");
}
RtVoid pixelFilter(RtFilterFunc f, RtFloat x, RtFloat y)
{
    put("PixelFilter " + quoted(filterName(f)) + " " + number(x) + " " + number(y) + "\n");
}
RtVoid shadingRate(RtFloat r)
{
    put("ShadingRate " + number(r) + "\n");
}
RtVoid transform(RtMatrix m)
{
    put("Transform " + matrix(m) + "\n");
}
RtVoid concatTransform(RtMatrix m)
{
    put("ConcatTransform " + matrix(m) + "\n");
}
RtVoid opacity(RtColor c)
{
    put("Opacity " + floats(c, 3) + "\n");
}
RtVoid illuminate(RtLightHandle light, RtBoolean on)
{
    put("Illuminate " + std::to_string(reinterpret_cast<long>(light)) + " " +
        std::to_string(on ? 1 : 0) + "\n");
}

#define VS_RIB_NAMED_REQUEST(function, request)                                                    \
    RtVoid function(RtToken name, ...)                                                             \
    {                                                                                              \
        va_list ap;                                                                                \
        va_start(ap, name);                                                                        \
        put(std::string(request " ") + quoted(name) + parameters(ap) + "\n");                      \
        va_end(ap);                                                                                \
    }
VS_RIB_NAMED_REQUEST(projection, "Projection")
VS_RIB_NAMED_REQUEST(hider, "Hider")
VS_RIB_NAMED_REQUEST(surface, "Surface")
#undef VS_RIB_NAMED_REQUEST

RtLightHandle lightSource(RtToken name, ...)
{
    const long handle = ++g_light;
    va_list ap;
    va_start(ap, name);
    put("LightSource " + quoted(name) + " " + std::to_string(handle) + parameters(ap) + "\n");
    va_end(ap);
    return reinterpret_cast<RtLightHandle>(handle);
}

RtVoid display(char* name, RtToken type, RtToken mode, ...)
{
    va_list ap;
    va_start(ap, mode);
    put("Display " + quoted(name) + " " + quoted(type) + " " + quoted(mode) + parameters(ap) +
        "\n");
    va_end(ap);
}

RtVoid polygon(RtInt n, ...)
{
    va_list ap;
    va_start(ap, n);
    put("Polygon" + parameters(ap, n) + "\n");
    va_end(ap);
}

RtVoid makeTexture(char* picture, char* texture, RtToken swrap, RtToken twrap, RtFilterFunc f,
                   RtFloat swidth, RtFloat twidth, ...)
{
    put("MakeTexture " + quoted(picture) + " " + quoted(texture) + " " + quoted(swrap) + " " +
        quoted(twrap) + " " + quoted(filterName(f)) + " " + number(swidth) + " " + number(twidth) +
        "\n");
}

RtVoid makeShadow(char* picture, char* texture, ...)
{
    put("MakeShadow " + quoted(picture) + " " + quoted(texture) + "\n");
}

template <class F> void set(RenderManBinding::Slots& slots, RiSlot slot, F f)
{
    slots[static_cast<size_t>(slot)] = reinterpret_cast<void*>(f);
}

} // namespace

RibWriterScope::RibWriterScope(const std::string& path)
    : previous_(RenderManBinding::instance().snapshot()), path_(path)
{
    g_out = std::fopen(path.c_str(), "wb");
    if (g_out == nullptr)
        throw FileError("cannot write " + path + ": " + std::strerror(errno));
    g_frame = 0;
    g_light = 0;
    g_failed = false;
    put("##RenderMan RIB\nversion 3.04\n");
    RenderManBinding::Slots s{};
    set(s, RiSlot::RiBegin, begin);
    set(s, RiSlot::RiEnd, end);
    set(s, RiSlot::RiWorldBegin, worldBegin);
    set(s, RiSlot::RiWorldEnd, worldEnd);
    set(s, RiSlot::RiAttributeBegin, attributeBegin);
    set(s, RiSlot::RiAttributeEnd, attributeEnd);
    set(s, RiSlot::RiTransformBegin, transformBegin);
    set(s, RiSlot::RiTransformEnd, transformEnd);
    set(s, RiSlot::RiFormat, format);
    set(s, RiSlot::RiPixelSamples, pixelSamples);
    set(s, RiSlot::RiPixelFilter, pixelFilter);
    set(s, RiSlot::RiShadingRate, shadingRate);
    set(s, RiSlot::RiTransform, transform);
    set(s, RiSlot::RiConcatTransform, concatTransform);
    set(s, RiSlot::RiOpacity, opacity);
    set(s, RiSlot::RiIlluminate, illuminate);
    set(s, RiSlot::RiProjection, projection);
    set(s, RiSlot::RiHider, hider);
    set(s, RiSlot::RiSurface, surface);
    set(s, RiSlot::RiLightSource, lightSource);
    set(s, RiSlot::RiDisplay, display);
    set(s, RiSlot::RiPolygon, polygon);
    set(s, RiSlot::RiMakeTexture, makeTexture);
    set(s, RiSlot::RiMakeShadow, makeShadow);
    set(s, RiSlot::RiBoxFilter, boxFilter);
    set(s, RiSlot::RiCatmullRomFilter, catmullRomFilter);
    set(s, RiSlot::RiGaussianFilter, gaussianFilter);
    RenderManBinding::instance().restore(s);
}

RibWriterScope::~RibWriterScope()
{
    RenderManBinding::instance().restore(previous_);
    if (g_out != nullptr)
        std::fclose(g_out);
    g_out = nullptr;
}

void RibWriterScope::finish()
{
    const bool flushed = g_out != nullptr && std::fflush(g_out) == 0 && !g_failed;
    const bool closed = g_out != nullptr && std::fclose(g_out) == 0;
    g_out = nullptr;
    if (!flushed || !closed)
        throw FileError("cannot write " + path_);
}

} // namespace vs
