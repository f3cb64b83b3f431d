#include "Textures.h"

#include "Math.h"

#include <OpenImageIO/imagebufalgo.h>
#include <OpenImageIO/imageio.h>
#include <OpenImageIO/texture.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace ri {

namespace {

std::string wrapName(const std::string& w)
{
    if (w == "periodic" || w == "clamp" || w == "black" || w == "mirror")
        return w;
    return "black";
}

bool exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

bool makeTexture(const std::string& picture, const std::string& texture, const std::string& swrap,
                 const std::string& twrap, FilterKind filter, float swidth, float twidth,
                 std::string& error)
{
    if (picture.empty() || texture.empty()) {
        error = "MakeTexture: no file name";
        return false;
    }
    if (!exists(picture)) {
        error = "MakeTexture: cannot read \"" + picture + "\"";
        return false;
    }
    OIIO::ImageSpec config;
    config.tile_width = 64;
    config.tile_height = 64;
    config.tile_depth = 1;
    config.attribute("wrapmodes", wrapName(swrap) + "," + wrapName(twrap));
    config.attribute("maketx:filtername", filterName(filter));
    config.attribute("maketx:fileformatname", "tiff");
    config.attribute("ri:filterwidth", std::max(swidth, twidth));
    std::ostringstream log;
    if (!OIIO::ImageBufAlgo::make_texture(OIIO::ImageBufAlgo::MakeTxTexture, picture, texture,
                                          config, &log)) {
        error = "MakeTexture \"" + picture + "\": " + OIIO::geterror();
        return false;
    }
    return true;
}

bool makeShadow(const std::string& depthFile, const std::string& shadowMap, std::string& error)
{
    ShadowMap map;
    if (!readShadowMap(depthFile, map, error))
        return false;
    // A float TIFF of the depths, tiled, with the matrices as the file's own tags; written
    // beside the target and renamed, so that a failure leaves no half-written map.
    OIIO::ImageSpec imageSpec(map.width, map.height, 1, OIIO::TypeDesc::FLOAT);
    imageSpec.tile_width = 64;
    imageSpec.tile_height = 64;
    imageSpec.attribute("worldtocamera", OIIO::TypeMatrix, map.worldToCamera);
    imageSpec.attribute("worldtoscreen", OIIO::TypeMatrix, map.worldToScreen);
    imageSpec.attribute("textureformat", "Shadow");
    imageSpec.attribute("compression", "none");
    std::string temp = shadowMap + ".tmp" + std::to_string(::getpid());
    auto out = OIIO::ImageOutput::create("tiff");
    if (!out || !out->open(temp, imageSpec) ||
        !out->write_image(OIIO::TypeDesc::FLOAT, map.depth.data()) || !out->close()) {
        error = "MakeShadow: cannot write \"" + shadowMap + "\"";
        std::remove(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), shadowMap.c_str()) != 0) {
        error = "MakeShadow: cannot write \"" + shadowMap + "\"";
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool readShadowMap(const std::string& path, ShadowMap& out, std::string& error)
{
    auto in = OIIO::ImageInput::open(path);
    if (!in) {
        error = "cannot read the depth map \"" + path + "\"";
        OIIO::geterror();
        return false;
    }
    const OIIO::ImageSpec& imageSpec = in->spec();
    const OIIO::ParamValue* w2c = imageSpec.find_attribute("worldtocamera", OIIO::TypeMatrix);
    const OIIO::ParamValue* w2s = imageSpec.find_attribute("worldtoscreen", OIIO::TypeMatrix);
    if (!w2c || !w2s || imageSpec.width <= 0 || imageSpec.height <= 0 || imageSpec.nchannels < 1 ||
        size_t(imageSpec.width) * size_t(imageSpec.height) > (size_t(1) << 28)) {
        error = "\"" + path + "\" is not a depth map with its matrices";
        return false;
    }
    std::copy_n(static_cast<const float*>(w2c->data()), 16, out.worldToCamera);
    std::copy_n(static_cast<const float*>(w2s->data()), 16, out.worldToScreen);
    out.width = imageSpec.width;
    out.height = imageSpec.height;
    std::vector<float> all(size_t(imageSpec.width) * size_t(imageSpec.height) *
                           size_t(imageSpec.nchannels));
    if (!in->read_image(0, 0, 0, imageSpec.nchannels, OIIO::TypeDesc::FLOAT, all.data())) {
        error = "cannot read the depth map \"" + path + "\"";
        return false;
    }
    out.toCamera = Matrix::fromArray(out.worldToCamera);
    out.toScreen = Matrix::fromArray(out.worldToScreen);
    out.cameraX = out.toCamera.inverse().vector({1, 0, 0});
    out.depth.resize(size_t(imageSpec.width) * size_t(imageSpec.height));
    for (size_t k = 0; k < out.depth.size(); ++k)
        out.depth[k] = all[k * size_t(imageSpec.nchannels)];
    return true;
}

struct TextureStore::Impl
{
    OIIO::TextureSystem* system = nullptr;
};

TextureStore::TextureStore(const std::string& searchPath)
    : impl_(std::make_unique<Impl>()), searchPath_(searchPath)
{
    // A private system per frame: files rewritten between frames are read afresh.
    impl_->system = OIIO::TextureSystem::create(false);
    impl_->system->attribute("max_memory_MB", 64.0f);
    impl_->system->attribute("automip", 1);
    impl_->system->attribute("searchpath", searchPath);
}

TextureStore::~TextureStore()
{
    OIIO::TextureSystem::destroy(impl_->system, true);
}

Vec3 TextureStore::texture(const std::string& name, const ShadingPoint& sp)
{
    OIIO::TextureOpt opt;
    float result[3] = {1, 1, 1};
    opt.fill = 1;
    OIIO::ustring file(name);
    bool ok = impl_->system->texture(file, opt, sp.s, sp.t, sp.dsdx, sp.dtdx, sp.dsdy, sp.dtdy, 3,
                                     result);
    if (!ok) {
        impl_->system->geterror(); // clears it
        std::lock_guard<std::mutex> lock(mutex_);
        if (failed_.insert(name).second)
            messages_.push_back("cannot read texture \"" + name + "\"");
        return {1, 1, 1};
    }
    return {result[0], result[1], result[2]};
}

std::shared_ptr<const ShadowMap> TextureStore::shadowMap(const std::string& name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = shadows_.find(name);
    if (it != shadows_.end())
        return it->second;
    auto map = std::make_shared<ShadowMap>();
    std::string error;
    if (!readShadowMap(name, *map, error)) {
        map.reset();
        if (failed_.insert(name).second)
            messages_.push_back(error);
    }
    shadows_[name] = map;
    return map;
}

void TextureStore::preloadShadowMaps(const std::vector<Light>& lights)
{
    for (const Light& light : lights)
        for (const std::string& name : light.shadowMaps) {
            if (name.empty() || preloaded_.count(name))
                continue;
            // A map that cannot be read is left to the first lookup, which reports it.
            auto map = std::make_shared<ShadowMap>();
            std::string error;
            if (readShadowMap(name, *map, error))
                preloaded_[name] = std::move(map);
        }
}

float TextureStore::shadow(const std::string& name, const Vec3& P, const Light& light)
{
    auto it = preloaded_.find(name);
    if (it != preloaded_.end())
        return shadowLookup(*it->second, P, light);
    std::shared_ptr<const ShadowMap> map = shadowMap(name);
    return map ? shadowLookup(*map, P, light) : 1;
}

float TextureStore::shadowLookup(const ShadowMap& map, const Vec3& P, const Light& light)
{
    Vec3 pc = map.toCamera.point(P);
    if (pc.z <= 0)
        return 1;
    Vec3 ps = map.toScreen.point(P);
    if (ps.x < -1 || ps.x > 1 || ps.y < -1 || ps.y > 1)
        return 1; // outside the map's frustum: nothing known, so lit
    float fx = (ps.x + 1) * 0.5f * float(map.width);
    float fy = (1 - ps.y) * 0.5f * float(map.height);
    // Size of one texel at this depth, from the screen matrix's scale, for the bias.
    Vec3 ps2 = map.toScreen.point(P + map.cameraX * pc.z * 0.01f);
    float texelWorld =
        0.01f * pc.z / std::max(1e-12f, std::fabs(ps2.x - ps.x) * 0.5f * float(map.width));
    float bias = light.bias > 0 ? light.bias : 0.002f * pc.z + 2 * texelWorld;
    int n = std::clamp(int(std::lround(std::sqrt(std::max(1.f, light.samples)))), 1, 8);
    float radius = std::max(1.f, light.width) + light.blur * float(map.width);
    // The taps form an n x n grid: its columns and rows, each found once.
    int xs[8], ys[8];
    for (int i = 0; i < n; ++i) {
        float o = n == 1 ? 0 : ((float(i) + 0.5f) / float(n) * 2 - 1) * radius;
        xs[i] = int(std::floor(fx + o));
        ys[i] = int(std::floor(fy + o));
    }
    const float depth = pc.z - bias;
    int occluded = 0, total = 0;
    for (int j = 0; j < n; ++j) {
        if (ys[j] < 0 || ys[j] >= map.height)
            continue;
        const float* row = &map.depth[size_t(ys[j]) * size_t(map.width)];
        for (int i = 0; i < n; ++i) {
            if (xs[i] < 0 || xs[i] >= map.width)
                continue;
            ++total;
            occluded += depth > row[xs[i]];
        }
    }
    return total ? 1 - float(occluded) / float(total) : 1;
}

std::vector<std::string> TextureStore::takeMessages()
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> m;
    m.swap(messages_);
    return m;
}

} // namespace ri
