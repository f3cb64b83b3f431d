// Textures and shadow maps: making them from pictures and depth files, and looking them up
// while shading.
#pragma once

#include "Filters.h"
#include "Math.h"
#include "Shading.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace ri {

/// Makes a tiled, mip-mapped texture file keeping the wrap modes and filter.
bool makeTexture(const std::string& picture, const std::string& texture, const std::string& swrap,
                 const std::string& twrap, FilterKind filter, float swidth, float twidth,
                 std::string& error);

/// Makes a shadow map from a depth file (zfile), keeping its two matrices.
bool makeShadow(const std::string& depthFile, const std::string& shadowMap, std::string& error);

/// A depth map with the matrices it was rendered with.
struct ShadowMap
{
    int width = 0, height = 0;
    std::vector<float> depth;
    float worldToCamera[16];
    float worldToScreen[16];
    /// World length of one camera-space unit along x (for the depth bias), set on reading.
    Vec3 cameraX;
    /// The two matrices, set on reading.
    Matrix toCamera, toScreen;
};

/// Reads a shadow map (or a zfile); false with `error` set when it cannot.
bool readShadowMap(const std::string& path, ShadowMap& out, std::string& error);

/// The lookups of one frame. Thread-safe; messages are collected for the calling thread.
class TextureStore : public ShadingServices
{
public:
    explicit TextureStore(const std::string& searchPath);
    ~TextureStore() override;
    Vec3 texture(const std::string& name, const ShadingPoint& sp) override;
    float shadow(const std::string& name, const Vec3& P, const Light& light) override;

    /// Reads the shadow maps the lights name before the frame's threads start, so that their
    /// lookups need no lock.
    void preloadShadowMaps(const std::vector<Light>& lights);

    /// One line per texture or shadow map that could not be read.
    std::vector<std::string> takeMessages();

private:
    std::shared_ptr<const ShadowMap> shadowMap(const std::string& name);
    /// Depth test with percentage-closer filtering of one map.
    static float shadowLookup(const ShadowMap& map, const Vec3& P, const Light& light);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string searchPath_;
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const ShadowMap>> shadows_;
    /// Maps read by preloadShadowMaps; not changed while threads look up.
    std::unordered_map<std::string, std::shared_ptr<const ShadowMap>> preloaded_;
    std::set<std::string> failed_;
    std::vector<std::string> messages_;
};

} // namespace ri
