// Renders the requests of one context: keeps the options and the attribute and transformation
// stacks, turns primitives into the frame's Scene, and runs the hider at WorldEnd.
#pragma once

#include "../include/ri.h"
#include "Context.h"
#include "Filters.h"
#include "Scene.h"
#include "Tessellate.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ri {

/// Sets the progress handler of the calling thread (RiProgressHandler).
void setProgressHandler(RtProgressFunc func, RtPointer data);

struct DisplaySpec
{
    std::string name, type, mode;
    std::vector<Param> params;
};

struct QuantizeSpec
{
    int one = 255, min = 0, max = 255;
    float dither = 0.5f;
};

/// Everything fixed per frame: image, camera and hider options.
struct FrameOptions
{
    int xres = 640, yres = 480;
    float pixelAspect = 1;
    float frameAspect = 0; ///< 0: from the resolution
    bool screenWindowSet = false;
    float screenWindow[4] = {-1, 1, -1, 1};
    float crop[4] = {0, 1, 0, 1};
    bool perspective = false;
    float fov = 90;
    float hither = RI_EPSILON, yon = RI_INFINITY;
    float xsamples = 2, ysamples = 2;
    FilterKind filter = FilterKind::Gaussian;
    RtFilterFunc customFilter = nullptr;
    float filterWidth[2] = {2, 2};
    float gain = 1, gamma = 1;
    QuantizeSpec colorQuantize;
    QuantizeSpec depthQuantize{0, 0, 0, 0};
    std::vector<DisplaySpec> displays;
    bool jitter = true;
    std::string shaderPath, texturePath, displayPath;
    int threads = 0; ///< 0: all cores
    int bucket[2] = {16, 16};
    Matrix worldToCamera; ///< fixed at WorldBegin

    /// The screen window in use (explicit, or the default for the frame aspect ratio).
    void effectiveScreenWindow(float out[4]) const;
};

class Renderer : public Sink
{
public:
    Renderer();
    ~Renderer() override;
    void handle(const Request& request) override;
    bool transformPoints(const std::string& from, const std::string& to, int n,
                         float* points) override;

    /// The scene collected so far in the current world block (for tests).
    const Scene& scene() const { return scene_; }

private:
    struct Attributes
    {
        Vec3 color{1, 1, 1}, opacity{1, 1, 1};
        Surface surface;
        std::set<int> lightsOn; ///< light ids
        float textureCoordinates[8] = {0, 0, 1, 0, 0, 1, 1, 1};
        int sides = 2;
        bool outside = true;
        bool matte = false;
        float ubasis[16], vbasis[16];
        int ustep = 3, vstep = 3;
        Attributes();
    };
    struct Saved
    {
        Attributes attributes;
        Matrix transform;
        enum Kind { Transform, Attribute, World, Frame } kind;
    };

    void option(const Request& q);
    void worldBegin();
    void worldEnd();
    void frameEnd();
    void addPrimitive(const Request& q);
    void lightSource(const Request& q);
    void surface(const Request& q);
    void appendMesh(const ObjectMesh& mesh);
    int segmentsForBound(const ObjectMesh& unitBound) const;
    void makeTexture(const Request& q);
    void makeShadow(const Request& q);
    void readArchive(const Request& q);
    bool transformFor(const std::string& space, Matrix& toWorld) const;

    FrameOptions options_;
    FrameOptions frameSavedOptions_;
    Attributes attributes_;
    Matrix transform_; ///< object to world inside the world block; to camera before it
    std::vector<Saved> stack_;
    bool inWorld_ = false;
    bool inFrame_ = false;
    bool aborted_ = false;
    int motionDepth_ = 0, motionSeen_ = 0;
    Scene scene_;
    int sceneAttributesFor_ = -1;   ///< attributes_ snapshot index still valid, or -1
    std::map<int, int> lightIndex_; ///< light id -> index into scene_.lights
    std::map<std::string, Matrix> coordinateSystems_;
    std::map<int, std::vector<Request>> objects_;
    int recordingObject_ = 0;
    std::set<std::string> warned_;
    int archiveDepth_ = 0;
    int instanceDepth_ = 0;
};

} // namespace ri
