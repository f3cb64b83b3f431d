#include "RenderFixture.h"

#include <OpenImageIO/imageio.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace ritest {

Picture readPicture(const std::string& path)
{
    Picture p;
    auto in = OIIO::ImageInput::open(path);
    if (!in)
        return p;
    const OIIO::ImageSpec& s = in->spec();
    p.width = s.width, p.height = s.height, p.channels = s.nchannels;
    p.pixels.resize(size_t(s.width) * size_t(s.height) * size_t(s.nchannels));
    if (!in->read_image(0, 0, 0, s.nchannels, OIIO::TypeDesc::FLOAT, p.pixels.data()))
        return Picture();
    return p;
}

ScratchDir::ScratchDir()
{
    char tmpl[] = "/tmp/ritestXXXXXX";
    path_ = ::mkdtemp(tmpl);
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<ErrorLog::Entry>& ErrorLog::entries()
{
    static std::vector<Entry> e;
    return e;
}

void ErrorLog::handler(RtInt code, RtInt severity, char* message)
{
    entries().push_back({code, severity, message ? message : ""});
}

int ErrorLog::count(int code)
{
    int n = 0;
    for (const Entry& e : entries())
        n += e.code == code;
    return n;
}

bool ErrorLog::contains(const std::string& text)
{
    for (const Entry& e : entries())
        if (e.text.find(text) != std::string::npos)
            return true;
    return false;
}

void exactFrame(const std::string& file, int w, int h, const char* mode)
{
    RiDisplay(const_cast<char*>(file.c_str()), RI_FILE, const_cast<char*>(mode), RI_NULL);
    RiFormat(w, h, 1);
    RiPixelSamples(1, 1);
    RiPixelFilter(RiBoxFilter, 1, 1);
    RtFloat jitter = 0;
    RiHider(RI_HIDDEN, "jitter", &jitter, RI_NULL);
    RiQuantize(RI_RGBA, 0, 0, 0, 0);
}

void orthoCamera(float s)
{
    RiProjection(RI_ORTHOGRAPHIC, RI_NULL);
    RiScreenWindow(-s, s, -s, s);
}

void square(float half, float z)
{
    RtPoint p[4] = {{-half, -half, z}, {-half, half, z}, {half, half, z}, {half, -half, z}};
    RiPolygon(4, RI_P, p, RI_NULL);
}

} // namespace ritest
