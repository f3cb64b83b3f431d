#include "ImageFile.h"

#include <OpenImageIO/imageio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace ri {

ImageFile::ImageFile(std::string name, const RiDisplayFormat& fmt, std::string format)
    : name_(std::move(name)), fmt_(fmt), channelNames_(fmt.channelNames ? fmt.channelNames : ""),
      fileFormat_(std::move(format)),
      pixels_(size_t(std::max(0, fmt.width)) * size_t(std::max(0, fmt.height)) *
              size_t(std::max(0, fmt.channels)))
{
    fmt_.channelNames = channelNames_.c_str();
}

bool ImageFile::put(int x0, int y0, int x1, int y1, const float* data)
{
    if (x0 < 0 || y0 < 0 || x1 > fmt_.width || y1 > fmt_.height || x0 >= x1 || y0 >= y1 || !data)
        return false;
    size_t c = size_t(fmt_.channels), w = size_t(x1 - x0);
    for (int y = y0; y < y1; ++y)
        std::copy_n(data + size_t(y - y0) * w * c, w * c,
                    pixels_.data() + (size_t(y) * size_t(fmt_.width) + size_t(x0)) * c);
    return true;
}

bool ImageFile::write(std::string& error) const
{
    OIIO::TypeDesc type = fmt_.bitsPerSample == 8    ? OIIO::TypeDesc::UINT8
                          : fmt_.bitsPerSample == 16 ? OIIO::TypeDesc::UINT16
                                                     : OIIO::TypeDesc::FLOAT;
    if (fileFormat_ == "hdr" || fileFormat_ == "zfile")
        type = OIIO::TypeDesc::FLOAT;
    OIIO::ImageSpec imageSpec(fmt_.width, fmt_.height, fmt_.channels, type);
    imageSpec.x = fmt_.originX;
    imageSpec.y = fmt_.originY;
    imageSpec.full_width = fmt_.frameWidth;
    imageSpec.full_height = fmt_.frameHeight;
    imageSpec.channelnames.clear();
    for (char ch : channelNames_)
        imageSpec.channelnames.push_back(ch == 'r'   ? "R"
                                         : ch == 'g' ? "G"
                                         : ch == 'b' ? "B"
                                         : ch == 'a' ? "A"
                                                     : "Z");
    size_t alpha = channelNames_.find('a');
    if (alpha != std::string::npos)
        imageSpec.alpha_channel = int(alpha);
    size_t z = channelNames_.find('z');
    if (z != std::string::npos)
        imageSpec.z_channel = int(z);
    imageSpec.attribute("worldtocamera", OIIO::TypeMatrix, fmt_.worldToCamera);
    imageSpec.attribute("worldtoscreen", OIIO::TypeMatrix, fmt_.worldToScreen);
    imageSpec.attribute("Software", "libri");

    // Values arrive already quantised (0..255 or 0..65535) or as floats; the library wants
    // 0..1 for integer formats.
    std::vector<float> scaled(pixels_);
    float scale = fmt_.bitsPerSample == 8 ? 1.f / 255 : fmt_.bitsPerSample == 16 ? 1.f / 65535 : 1;
    if (scale != 1)
        for (float& v : scaled)
            v *= scale;

    std::string temp;
    size_t slash = name_.rfind('/');
    std::string dir = slash == std::string::npos ? "" : name_.substr(0, slash + 1);
    temp = dir + ".tmp" + std::to_string(::getpid()) + "_" +
           (slash == std::string::npos ? name_ : name_.substr(slash + 1));
    auto out = OIIO::ImageOutput::create(fileFormat_);
    if (!out) {
        error = "no writer for \"" + fileFormat_ + "\"";
        return false;
    }
    bool ok = out->open(temp, imageSpec) &&
              out->write_image(OIIO::TypeDesc::FLOAT, scaled.data()) && out->close();
    if (!ok) {
        error = "cannot write \"" + name_ + "\": " + out->geterror();
        std::remove(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), name_.c_str()) != 0) {
        error = "cannot write \"" + name_ + "\": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

void setError(char* buffer, int size, const std::string& message)
{
    if (!buffer || size <= 0)
        return;
    std::snprintf(buffer, size_t(size), "%s", message.c_str());
}

} // namespace ri
