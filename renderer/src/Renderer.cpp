#include "Renderer.h"

#include "Display.h"
#include "Errors.h"
#include "Hider.h"
#include "RibReader.h"
#include "ShaderCatalog.h"
#include "Textures.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ri {

namespace {

thread_local RtProgressFunc tProgress = nullptr;
thread_local RtPointer tProgressData = nullptr;

constexpr float kPi = 3.14159265358979f;

bool isQuadric(const std::string& n)
{
    return n == "Sphere" || n == "Cylinder" || n == "Cone" || n == "Disk" || n == "Paraboloid" ||
           n == "Hyperboloid" || n == "Torus";
}

bool isGeometry(const std::string& n)
{
    return isQuadric(n) || n == "Polygon" || n == "GeneralPolygon" || n == "PointsPolygons" ||
           n == "PointsGeneralPolygons" || n == "Patch" || n == "PatchMesh" || n == "NuPatch" ||
           n == "Curves" || n == "Points" || n == "SubdivisionMesh" || n == "Blobby" ||
           n == "Geometry" || n == "TrimCurve" || n == "Procedural";
}

Matrix matrixArg(const Request& q, size_t k)
{
    if (k < q.args.size() && q.args[k].floats.size() == 16)
        return Matrix::fromArray(q.args[k].floats.data());
    return Matrix();
}

float farg(const Request& q, size_t k, float def = 0)
{
    return k < q.args.size() ? q.args[k].asFloat() : def;
}

const std::string& sarg(const Request& q, size_t k)
{
    static const std::string empty;
    return k < q.args.size() ? q.args[k].asString() : empty;
}

Vec3 colorArg(const Request& q)
{
    if (!q.args.empty() && q.args[0].floats.size() >= 3)
        return {q.args[0].floats[0], q.args[0].floats[1], q.args[0].floats[2]};
    if (q.args.size() >= 3)
        return {q.args[0].asFloat(), q.args[1].asFloat(), q.args[2].asFloat()};
    return {1, 1, 1};
}

std::string defaultSearchPath(const char* folder)
{
    const char* home = std::getenv("PIXIEHOME");
    std::string path;
    if (home && *home)
        path = std::string(home) + "/" + folder;
    std::string lib = libraryDirectory();
    if (!lib.empty()) {
        if (!path.empty())
            path += ":";
        path += lib + "/" + folder;
    }
    return path;
}

} // namespace

void setProgressHandler(RtProgressFunc func, RtPointer data)
{
    tProgress = func;
    tProgressData = data;
}

void FrameOptions::effectiveScreenWindow(float out[4]) const
{
    if (screenWindowSet) {
        std::copy(screenWindow, screenWindow + 4, out);
        return;
    }
    float aspect =
        frameAspect > 0 ? frameAspect : float(xres) * pixelAspect / float(std::max(1, yres));
    if (aspect >= 1) {
        out[0] = -aspect, out[1] = aspect, out[2] = -1, out[3] = 1;
    } else {
        out[0] = -1, out[1] = 1, out[2] = -1 / aspect, out[3] = 1 / aspect;
    }
}

Renderer::Attributes::Attributes()
{
    Surface s;
    makeSurface("defaultsurface", {}, s);
    surface = s;
    static const float bezier[16] = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};
    std::copy(bezier, bezier + 16, ubasis);
    std::copy(bezier, bezier + 16, vbasis);
}

Renderer::Renderer()
{
    options_.shaderPath = defaultSearchPath("shaders");
    options_.displays.push_back({"ri.tif", "file", "rgba", {}});
}

Renderer::~Renderer() = default;

void Renderer::handle(const Request& q)
{
    const std::string& n = q.name;
    if (recordingObject_ && n != "ObjectEnd") {
        if (isGeometry(n) || n == "AttributeBegin" || n == "AttributeEnd" || n == "Color" ||
            n == "Opacity" || n == "TransformBegin" || n == "TransformEnd" ||
            n == "ConcatTransform" || n == "Translate" || n == "Rotate" || n == "Scale" ||
            n == "Surface" || n == "Sides" || n == "Orientation" || n == "ReverseOrientation" ||
            n == "TextureCoordinates" || n == "Basis" || n == "ObjectInstance")
            objects_[recordingObject_].push_back(q);
        return;
    }
    if (motionDepth_ > 0 && n != "MotionEnd") {
        if (motionSeen_++ > 0)
            return; // only the first time sample
    }
    if (n == "WorldBegin")
        return worldBegin();
    if (n == "WorldEnd")
        return worldEnd();
    if (n == "FrameBegin") {
        frameSavedOptions_ = options_;
        inFrame_ = true;
        stack_.push_back({attributes_, transform_, Saved::Frame});
        return;
    }
    if (n == "FrameEnd")
        return frameEnd();
    if (n == "End") {
        if (inWorld_)
            worldEnd();
        return;
    }
    if (n == "Abort") {
        aborted_ = true;
        return;
    }
    if (n == "Declare" || n == "ErrorHandler" || n == "ArchiveRecord")
        return;

    // Transformations.
    if (n == "Identity") {
        transform_ = Matrix();
        return;
    }
    if (n == "Transform") {
        // Inside the world block the matrix is taken as object-to-world.
        transform_ = matrixArg(q, 0);
        return;
    }
    if (n == "ConcatTransform") {
        transform_ = matrixArg(q, 0) * transform_;
        return;
    }
    if (n == "Translate") {
        transform_ = Matrix::translate(farg(q, 0), farg(q, 1), farg(q, 2)) * transform_;
        return;
    }
    if (n == "Rotate") {
        transform_ = Matrix::rotate(farg(q, 0), {farg(q, 1), farg(q, 2), farg(q, 3)}) * transform_;
        return;
    }
    if (n == "Scale") {
        transform_ = Matrix::scale(farg(q, 0), farg(q, 1), farg(q, 2)) * transform_;
        return;
    }
    if (n == "TransformBegin") {
        stack_.push_back({attributes_, transform_, Saved::Transform});
        return;
    }
    if (n == "TransformEnd" || n == "AttributeEnd") {
        bool attr = n == "AttributeEnd";
        if (stack_.empty() || stack_.back().kind != (attr ? Saved::Attribute : Saved::Transform)) {
            report(RIE_NESTING, RIE_ERROR, n + " without its Begin");
            return;
        }
        transform_ = stack_.back().transform;
        if (attr)
            attributes_ = stack_.back().attributes;
        stack_.pop_back();
        sceneAttributesFor_ = -1;
        return;
    }
    if (n == "AttributeBegin") {
        stack_.push_back({attributes_, transform_, Saved::Attribute});
        return;
    }
    if (n == "CoordinateSystem") {
        coordinateSystems_[sarg(q, 0)] = transform_;
        return;
    }
    if (n == "CoordSysTransform") {
        Matrix m;
        if (transformFor(sarg(q, 0), m))
            transform_ = m;
        else
            report(RIE_BADTOKEN, RIE_ERROR, "unknown coordinate system \"" + sarg(q, 0) + "\"");
        return;
    }

    // Attributes.
    if (n == "Color") {
        attributes_.color = colorArg(q);
        return;
    }
    if (n == "Opacity") {
        attributes_.opacity = colorArg(q);
        return;
    }
    if (n == "TextureCoordinates") {
        for (size_t k = 0; k < 8; ++k)
            attributes_.textureCoordinates[k] = farg(q, k);
        return;
    }
    if (n == "Surface")
        return surface(q);
    if (n == "LightSource")
        return lightSource(q);
    if (n == "Illuminate") {
        int id = q.args.empty() ? 0 : q.args[0].asInt();
        bool on = q.args.size() > 1 && q.args[1].asInt() != 0;
        if (lightIndex_.count(id) == 0)
            return; // an unknown or skipped light
        if (on)
            attributes_.lightsOn.insert(id);
        else
            attributes_.lightsOn.erase(id);
        sceneAttributesFor_ = -1;
        return;
    }
    if (n == "Sides") {
        attributes_.sides = q.args.empty() ? 2 : q.args[0].asInt();
        sceneAttributesFor_ = -1;
        return;
    }
    if (n == "Orientation") {
        const std::string& o = sarg(q, 0);
        bool lhCamera = true;
        if (o == "outside" || o == "inside")
            attributes_.outside = o == "outside";
        else if (o == "lh" || o == "rh")
            attributes_.outside = (o == "lh") == lhCamera;
        return;
    }
    if (n == "ReverseOrientation") {
        attributes_.outside = !attributes_.outside;
        return;
    }
    if (n == "Matte") {
        attributes_.matte = !q.args.empty() && q.args[0].asInt() != 0;
        sceneAttributesFor_ = -1;
        return;
    }
    if (n == "Basis") {
        if (q.args.size() >= 4) {
            if (q.args[0].floats.size() == 16)
                std::copy(q.args[0].floats.begin(), q.args[0].floats.end(), attributes_.ubasis);
            attributes_.ustep = q.args[1].asInt();
            if (q.args[2].floats.size() == 16)
                std::copy(q.args[2].floats.begin(), q.args[2].floats.end(), attributes_.vbasis);
            attributes_.vstep = q.args[3].asInt();
        }
        return;
    }
    if (n == "ShadingRate" || n == "ShadingInterpolation" || n == "Attribute" || n == "Bound" ||
        n == "Detail" || n == "DetailRange" || n == "GeometricApproximation" ||
        n == "RelativeDetail" || n == "PixelVariance" || n == "SolidBegin" || n == "SolidEnd" ||
        n == "Shutter" || n == "ColorSamples" || n == "GeometricRepresentation")
        return; // accepted; the hider shades per pixel and primitive whatever they say

    if (n == "MotionBegin") {
        ++motionDepth_;
        motionSeen_ = 0;
        return;
    }
    if (n == "MotionEnd") {
        motionDepth_ = std::max(0, motionDepth_ - 1);
        return;
    }
    if (n == "ObjectBegin") {
        recordingObject_ = q.args.empty() ? 0 : q.args[0].asInt();
        objects_[recordingObject_].clear();
        return;
    }
    if (n == "ObjectEnd") {
        recordingObject_ = 0;
        return;
    }
    if (n == "ObjectInstance") {
        int id = q.args.empty() ? 0 : q.args[0].asInt();
        auto it = objects_.find(id);
        if (it == objects_.end()) {
            report(RIE_BADHANDLE, RIE_ERROR, "unknown object " + std::to_string(id));
            return;
        }
        if (instanceDepth_ >= 16) {
            report(RIE_NESTING, RIE_ERROR, "objects instanced too deeply");
            return;
        }
        ++instanceDepth_;
        std::vector<Request> copy = it->second;
        stack_.push_back({attributes_, transform_, Saved::Attribute});
        for (const Request& r : copy)
            if (r.name != "ObjectInstance" || r.args.empty() || r.args[0].asInt() != id)
                handle(r);
        handle(Request("AttributeEnd"));
        --instanceDepth_;
        return;
    }
    if (n == "MakeTexture")
        return makeTexture(q);
    if (n == "MakeShadow")
        return makeShadow(q);
    if (n == "ReadArchive")
        return readArchive(q);
    if (n == "Procedural" && sarg(q, 0) == "DelayedReadArchive") {
        Request r("ReadArchive");
        r.s(q.args.size() > 1 && !q.args[1].strings.empty() ? q.args[1].strings[0].c_str() : "");
        return readArchive(r);
    }
    if (isGeometry(n))
        return addPrimitive(q);
    if (n == "Format" || n == "FrameAspectRatio" || n == "ScreenWindow" || n == "CropWindow" ||
        n == "Projection" || n == "Clipping" || n == "PixelSamples" || n == "PixelFilter" ||
        n == "Exposure" || n == "Quantize" || n == "Display" || n == "Hider" || n == "Option")
        return option(q);
    reportUnimplemented("Ri" + n);
}

void Renderer::option(const Request& q)
{
    const std::string& n = q.name;
    if (inWorld_) {
        report(RIE_NOTOPTIONS, RIE_ERROR, n + " inside the world block; ignored");
        return;
    }
    FrameOptions& o = options_;
    if (n == "Format") {
        int x = q.args.size() > 0 ? q.args[0].asInt() : 0;
        int y = q.args.size() > 1 ? q.args[1].asInt() : 0;
        if (x <= 0 || y <= 0 || x > 16384 || y > 16384) {
            report(RIE_RANGE, RIE_ERROR,
                   "bad format " + std::to_string(x) + "x" + std::to_string(y));
            return;
        }
        o.xres = x, o.yres = y;
        float a = farg(q, 2, 1);
        o.pixelAspect = a > 0 ? a : 1;
    } else if (n == "FrameAspectRatio") {
        o.frameAspect = std::max(0.f, farg(q, 0));
    } else if (n == "ScreenWindow") {
        for (size_t k = 0; k < 4; ++k)
            o.screenWindow[k] = farg(q, k);
        o.screenWindowSet = true;
    } else if (n == "CropWindow") {
        o.crop[0] = std::clamp(farg(q, 0), 0.f, 1.f);
        o.crop[1] = std::clamp(farg(q, 1), 0.f, 1.f);
        o.crop[2] = std::clamp(farg(q, 2), 0.f, 1.f);
        o.crop[3] = std::clamp(farg(q, 3), 0.f, 1.f);
    } else if (n == "Projection") {
        const std::string& type = sarg(q, 0);
        if (type == "perspective") {
            o.perspective = true;
            const Param* fov = q.find("fov");
            o.fov = fov && !fov->floats.empty() ? fov->floats[0] : 90.f;
            if (!(o.fov > 0 && o.fov < 180)) {
                report(RIE_RANGE, RIE_ERROR, "bad field of view; 90 used");
                o.fov = 90;
            }
        } else if (type == "orthographic") {
            o.perspective = false;
        } else {
            report(RIE_BADTOKEN, RIE_ERROR, "unknown projection \"" + type + "\"");
        }
        transform_ = Matrix();
    } else if (n == "Clipping") {
        o.hither = std::max(RI_EPSILON, farg(q, 0, RI_EPSILON));
        o.yon = std::max(o.hither, farg(q, 1, RI_INFINITY));
    } else if (n == "PixelSamples") {
        o.xsamples = std::clamp(farg(q, 0, 1), 1.f, 64.f);
        o.ysamples = std::clamp(farg(q, 1, 1), 1.f, 64.f);
    } else if (n == "PixelFilter") {
        FilterKind k;
        if (q.function) {
            o.customFilter = reinterpret_cast<RtFilterFunc>(q.function);
        } else if (filterFromName(sarg(q, 0), k)) {
            o.filter = k;
            o.customFilter = nullptr;
        } else {
            report(RIE_BADTOKEN, RIE_ERROR, "unknown filter \"" + sarg(q, 0) + "\"");
            return;
        }
        o.filterWidth[0] = std::clamp(farg(q, 1, 1), 0.01f, 16.f);
        o.filterWidth[1] = std::clamp(farg(q, 2, 1), 0.01f, 16.f);
    } else if (n == "Exposure") {
        o.gain = farg(q, 0, 1);
        o.gamma = farg(q, 1, 1) > 0 ? farg(q, 1, 1) : 1;
    } else if (n == "Quantize") {
        QuantizeSpec s;
        s.one = q.args.size() > 1 ? q.args[1].asInt() : 255;
        s.min = q.args.size() > 2 ? q.args[2].asInt() : 0;
        s.max = q.args.size() > 3 ? q.args[3].asInt() : 255;
        s.dither = farg(q, 4, 0.5f);
        if (sarg(q, 0) == "z")
            o.depthQuantize = s;
        else
            o.colorQuantize = s;
    } else if (n == "Display") {
        DisplaySpec d{sarg(q, 0), sarg(q, 1), sarg(q, 2), q.params};
        if (!d.name.empty() && d.name[0] == '+') {
            d.name.erase(0, 1);
            o.displays.push_back(d);
        } else {
            o.displays.assign(1, d);
        }
    } else if (n == "Hider") {
        const std::string& type = sarg(q, 0);
        if (type != "hidden" && type != "raytrace" && type != "stochastic")
            report(RIE_UNIMPLEMENT, RIE_WARNING,
                   "hider \"" + type + "\" is not implemented; \"hidden\" used");
        const Param* j = q.find("jitter");
        if (j)
            o.jitter =
                (!j->floats.empty() && j->floats[0] != 0) || (!j->ints.empty() && j->ints[0]);
    } else if (n == "Option") {
        const std::string& name = sarg(q, 0);
        for (const Param& p : q.params) {
            if (name == "searchpath" && !p.strings.empty()) {
                std::string value = p.strings[0];
                std::string& target = p.name == "shader"    ? o.shaderPath
                                      : p.name == "texture" ? o.texturePath
                                      : p.name == "display" ? o.displayPath
                                                            : o.texturePath;
                // "&" stands for the path as it was.
                size_t amp;
                while ((amp = value.find('&')) != std::string::npos)
                    value.replace(amp, 1, target);
                if (p.name == "shader" || p.name == "texture" || p.name == "display")
                    target = value;
            } else if (name == "limits" && p.name == "bucketsize" && p.ints.size() >= 2) {
                o.bucket[0] = std::clamp(p.ints[0], 4, 256);
                o.bucket[1] = std::clamp(p.ints[1], 4, 256);
            } else if ((name == "limits" || name == "render") && p.name == "threads" &&
                       !p.ints.empty()) {
                o.threads = std::clamp(p.ints[0], 0, 256);
            }
        }
    }
}

void Renderer::worldBegin()
{
    if (inWorld_) {
        report(RIE_NESTING, RIE_ERROR, "WorldBegin inside the world block");
        return;
    }
    inWorld_ = true;
    aborted_ = false;
    options_.worldToCamera = transform_;
    coordinateSystems_["camera"] = transform_.inverse();
    coordinateSystems_["world"] = Matrix();
    stack_.push_back({attributes_, transform_, Saved::World});
    transform_ = Matrix();
    scene_ = Scene();
    lightIndex_.clear();
    sceneAttributesFor_ = -1;
}

void Renderer::worldEnd()
{
    if (!inWorld_) {
        report(RIE_NESTING, RIE_ERROR, "WorldEnd without WorldBegin");
        return;
    }
    while (!stack_.empty() && stack_.back().kind != Saved::World) {
        report(RIE_NESTING, RIE_WARNING, "a block left open at WorldEnd is closed");
        stack_.pop_back();
    }
    if (!stack_.empty()) {
        attributes_ = stack_.back().attributes;
        transform_ = stack_.back().transform;
        stack_.pop_back();
    }
    inWorld_ = false;
    if (!aborted_) {
        HiderResult result = renderFrame(options_, scene_, tProgress, tProgressData);
        for (const HiderMessage& m : result.messages)
            report(m.code, m.severity, m.text);
        if (result.stopped)
            report(RIE_NOERROR, RIE_WARNING, "frame stopped");
    }
    scene_ = Scene();
    lightIndex_.clear();
}

void Renderer::frameEnd()
{
    if (inWorld_)
        worldEnd();
    if (!inFrame_) {
        report(RIE_NESTING, RIE_ERROR, "FrameEnd without FrameBegin");
        return;
    }
    inFrame_ = false;
    options_ = frameSavedOptions_;
    while (!stack_.empty() && stack_.back().kind != Saved::Frame)
        stack_.pop_back();
    if (!stack_.empty()) {
        attributes_ = stack_.back().attributes;
        transform_ = stack_.back().transform;
        stack_.pop_back();
    }
}

void Renderer::surface(const Request& q)
{
    const std::string& name = sarg(q, 0);
    Surface s;
    bool known =
        makeSurface(name, q.params, s) && shaderAvailable(name, "surface", options_.shaderPath);
    if (!known) {
        if (warned_.insert("surface " + name).second)
            report(RIE_NOSHADER, RIE_WARNING,
                   "surface \"" + name + "\" not found; defaultsurface used");
        makeSurface("defaultsurface", {}, s);
    }
    attributes_.surface = s;
    sceneAttributesFor_ = -1;
}

void Renderer::lightSource(const Request& q)
{
    const std::string& name = sarg(q, 0);
    int id = q.args.size() > 1 ? q.args[1].asInt() : 0;
    Light l;
    if (!makeLight(name, q.params, transform_, l) ||
        !shaderAvailable(name, "light", options_.shaderPath)) {
        if (warned_.insert("light " + name).second)
            report(RIE_NOSHADER, RIE_WARNING, "light \"" + name + "\" not found; skipped");
        return;
    }
    if (!inWorld_) {
        report(RIE_NOTATTRIBS, RIE_ERROR, "LightSource outside the world block");
        return;
    }
    lightIndex_[id] = int(scene_.lights.size());
    scene_.lights.push_back(l);
    attributes_.lightsOn.insert(id);
    sceneAttributesFor_ = -1;
}

bool Renderer::transformFor(const std::string& space, Matrix& toWorld) const
{
    if (space == "object" || space == "current" || space == "shader") {
        toWorld = transform_;
        return true;
    }
    auto it = coordinateSystems_.find(space);
    if (it == coordinateSystems_.end())
        return false;
    toWorld = it->second;
    return true;
}

bool Renderer::transformPoints(const std::string& from, const std::string& to, int n, float* points)
{
    Matrix a, b;
    if (!transformFor(from, a) || !transformFor(to, b))
        return false;
    Matrix m = a * b.inverse();
    for (int k = 0; k < n; ++k) {
        Vec3 p = m.point({points[3 * k], points[3 * k + 1], points[3 * k + 2]});
        points[3 * k] = p.x, points[3 * k + 1] = p.y, points[3 * k + 2] = p.z;
    }
    return true;
}

int Renderer::segmentsForBound(const ObjectMesh& bound) const
{
    // bound.P holds the object-space centre and a point at the primitive's largest radius.
    if (bound.P.size() < 2)
        return 64;
    Vec3 c = (options_.worldToCamera).point(transform_.point(bound.P[0]));
    Vec3 e = (options_.worldToCamera).point(transform_.point(bound.P[1]));
    float r = length(e - c);
    // Also the scale of the other axes: take the largest transformed unit axis.
    Matrix m = transform_ * options_.worldToCamera;
    float s = std::max(
        {length(m.vector({1, 0, 0})), length(m.vector({0, 1, 0})), length(m.vector({0, 0, 1}))});
    r = std::max(r, length(bound.P[1] - bound.P[0]) * s);
    float sw[4];
    options_.effectiveScreenWindow(sw);
    float pixelsPerUnit = float(options_.xres) / std::max(1e-6f, sw[1] - sw[0]);
    float rpx;
    if (options_.perspective) {
        float z = c.z - r;
        float t = std::tan(options_.fov * kPi / 360.f);
        rpx = z > 1e-6f * r ? r / (z * t) * pixelsPerUnit : 4096.f;
    } else {
        rpx = r * pixelsPerUnit;
    }
    // Chord error under a quarter pixel: n > pi * sqrt(2 r).
    int n = int(std::ceil(kPi * std::sqrt(2 * std::max(0.f, rpx))));
    return std::clamp(n, 16, 1024);
}

void Renderer::addPrimitive(const Request& q)
{
    if (!inWorld_ && !recordingObject_) {
        report(RIE_NOTPRIMS, RIE_ERROR, q.name + " outside the world block");
        return;
    }
    ObjectMesh mesh;
    std::string error;
    auto ints = [&](size_t k) { return k < q.args.size() ? q.args[k].ints : std::vector<int>(); };
    if (q.name == "Polygon" || q.name == "GeneralPolygon") {
        std::vector<int> loops;
        if (q.name == "Polygon") {
            const Param* P = q.find("P");
            if (!P)
                P = q.find("Pw");
            size_t n = P ? P->floats.size() / size_t(P->decl.componentsPerElement()) : 0;
            loops.push_back(int(n));
        } else {
            loops = ints(0);
        }
        int total = 0;
        for (int l : loops)
            total += std::max(0, l);
        std::vector<int> idx(static_cast<size_t>(total));
        for (int k = 0; k < total; ++k)
            idx[size_t(k)] = k;
        error = tessellatePolygons({int(loops.size())}, loops, idx, q, mesh);
    } else if (q.name == "PointsPolygons") {
        std::vector<int> nverts = ints(0);
        error = tessellatePolygons(std::vector<int>(nverts.size(), 1), nverts, ints(1), q, mesh);
    } else if (q.name == "PointsGeneralPolygons") {
        error = tessellatePolygons(ints(0), ints(1), ints(2), q, mesh);
    } else if (isQuadric(q.name) || q.name == "Patch" || q.name == "PatchMesh") {
        TessellationContext ctx;
        std::copy(attributes_.textureCoordinates, attributes_.textureCoordinates + 8,
                  ctx.textureCoordinates);
        std::copy(attributes_.ubasis, attributes_.ubasis + 16, ctx.ubasis);
        std::copy(attributes_.vbasis, attributes_.vbasis + 16, ctx.vbasis);
        ctx.ustep = attributes_.ustep;
        ctx.vstep = attributes_.vstep;
        ObjectMesh bound;
        auto a = [&](size_t k) { return std::fabs(farg(q, k)); };
        float radius = 1;
        if (q.name == "Sphere" || q.name == "Cylinder")
            radius = std::max({a(0), a(1), a(2)});
        else if (q.name == "Cone" || q.name == "Disk")
            radius = std::max(a(0), a(1));
        else if (q.name == "Paraboloid")
            radius = std::max({a(0), a(1), a(2)});
        else if (q.name == "Hyperboloid")
            radius = std::max({a(0), a(1), a(2), a(3), a(4), a(5)});
        else if (q.name == "Torus")
            radius = a(0) + a(1);
        else {
            const Param* P = q.find("P");
            radius = 0;
            if (P)
                for (float v : P->floats)
                    radius = std::max(radius, std::fabs(v));
        }
        bound.P = {Vec3(0, 0, 0), Vec3(radius, 0, 0)};
        ctx.circleSegments = segmentsForBound(bound);
        error = isQuadric(q.name) ? tessellateQuadric(q, ctx, mesh) : tessellatePatch(q, ctx, mesh);
    } else {
        reportUnimplemented("Ri" + q.name);
        return;
    }
    if (!error.empty()) {
        report(RIE_CONSISTENCY, RIE_ERROR, q.name + ": " + error + "; skipped");
        return;
    }
    appendMesh(mesh);
}

void Renderer::appendMesh(const ObjectMesh& mesh)
{
    if (mesh.triangles.empty())
        return;
    if (sceneAttributesFor_ < 0) {
        PrimitiveAttributes pa;
        pa.surface = attributes_.surface;
        for (int id : attributes_.lightsOn) {
            auto it = lightIndex_.find(id);
            if (it != lightIndex_.end())
                pa.lights.push_back(uint32_t(it->second));
        }
        pa.oneSided = attributes_.sides == 1;
        pa.matte = attributes_.matte;
        scene_.attributes.push_back(std::move(pa));
        sceneAttributesFor_ = int(scene_.attributes.size() - 1);
    }
    Scene& s = scene_;
    if (!s.P.empty())
        s.P.pop_back(); // the padding float
    uint32_t base = uint32_t(s.vertexCount());
    Matrix normalM = transform_.inverse();
    for (size_t k = 0; k < mesh.P.size(); ++k) {
        Vec3 p = transform_.point(mesh.P[k]);
        s.P.insert(s.P.end(), {p.x, p.y, p.z});
        Vec3 nn = k < mesh.N.size() ? normalize(normalM.normalByInverse(mesh.N[k])) : Vec3();
        s.N.insert(s.N.end(), {nn.x, nn.y, nn.z});
        Vec3 c = k < mesh.Cs.size() ? mesh.Cs[k] : attributes_.color;
        s.Cs.insert(s.Cs.end(), {c.x, c.y, c.z});
        Vec3 o = k < mesh.Os.size() ? mesh.Os[k] : attributes_.opacity;
        s.Os.insert(s.Os.end(), {o.x, o.y, o.z});
        if (2 * k + 1 < mesh.st.size())
            s.st.insert(s.st.end(), {mesh.st[2 * k], mesh.st[2 * k + 1]});
        else
            s.st.insert(s.st.end(), {0.f, 0.f});
    }
    s.P.push_back(0);
    bool flipped = !attributes_.outside != (transform_.determinant3() < 0);
    uint32_t count = uint32_t(mesh.P.size());
    for (size_t k = 0; k + 2 < mesh.triangles.size(); k += 3) {
        uint32_t a = mesh.triangles[k], b = mesh.triangles[k + 1], c = mesh.triangles[k + 2];
        if (a >= count || b >= count || c >= count)
            continue;
        s.triangles.insert(s.triangles.end(), {base + a, base + b, base + c});
        s.triangleAttributes.push_back(uint32_t(sceneAttributesFor_));
        s.triangleFlipped.push_back(flipped ? 1 : 0);
    }
}

void Renderer::makeTexture(const Request& q)
{
    std::string error;
    FilterKind filter = FilterKind::Gaussian;
    filterFromName(sarg(q, 4), filter);
    if (!ri::makeTexture(sarg(q, 0), sarg(q, 1), sarg(q, 2), sarg(q, 3), filter, farg(q, 5, 1),
                         farg(q, 6, 1), error))
        report(RIE_NOFILE, RIE_ERROR, error);
}

void Renderer::makeShadow(const Request& q)
{
    std::string error;
    if (!ri::makeShadow(sarg(q, 0), sarg(q, 1), error))
        report(RIE_NOFILE, RIE_ERROR, error);
}

void Renderer::readArchive(const Request& q)
{
    if (archiveDepth_ > 16) {
        report(RIE_NESTING, RIE_ERROR, "archives nested too deeply");
        return;
    }
    ++archiveDepth_;
    std::string error;
    Context* ctx = currentContext();
    if (!ctx) {
        --archiveDepth_;
        return;
    }
    RibReader reader(*ctx, [this](const Request& r) { handle(r); });
    if (!reader.readFile(sarg(q, 0), error))
        report(RIE_NOFILE, RIE_ERROR, error);
    --archiveDepth_;
}

} // namespace ri
