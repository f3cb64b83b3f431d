#include "scene/EngineTexture.h"

#include "platform/TexturePictures.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace irr;

namespace vs {
namespace {

/** 8-bit sRGB code to 8-bit linear value, by the exact sRGB transfer function. */
const std::array<uint8_t, 256>& srgbToLinearTable()
{
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            const double linear = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
            t[size_t(i)] = uint8_t(std::lround(linear * 255.0));
        }
        return t;
    }();
    return table;
}

void decodeSrgbTexels(std::vector<uint32_t>& texels)
{
    const auto& table = srgbToLinearTable();
    for (uint32_t& t : texels) {
        const uint32_t r = table[(t >> 16) & 0xFF];
        const uint32_t g = table[(t >> 8) & 0xFF];
        const uint32_t b = table[t & 0xFF];
        t = (t & 0xFF000000u) | r << 16 | g << 8 | b;
    }
}

} // namespace

video::ITexture* makeEngineTexture(video::IVideoDriver* driver, const QImage& picture,
                                   const io::path& name, bool decodeSrgb)
{
    if (!driver || picture.isNull())
        return nullptr;
    if (video::ITexture* existing = driver->findTexture(name))
        return existing;

    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull())
        return nullptr;
    const auto width = u32(argb.width());
    const auto height = u32(argb.height());
    std::vector<uint32_t> texels(size_t(width) * height);
    for (u32 y = 0; y < height; ++y)
        std::memcpy(texels.data() + size_t(y) * width, argb.constScanLine(int(y)),
                    size_t(width) * 4);
    if (decodeSrgb)
        decodeSrgbTexels(texels);

    // The image copies the texels (no foreign memory is kept).
    video::IImage* image = driver->createImageFromData(
        video::ECF_A8R8G8B8, core::dimension2d<u32>(width, height), texels.data(), false, true);
    if (!image)
        return nullptr;
    video::ITexture* texture = driver->addTexture(name, image);
    image->drop();
    if (texture != nullptr)
        rememberTexturePicture(name.c_str(), picture); // the renderer export reads it back
    return texture;
}

} // namespace vs
