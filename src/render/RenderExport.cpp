#include "render/RenderExport.h"
#include "scene/TowerScene.h"

#include "document/CFlatFacility.h"
#include "document/CGridMapping.h"
#include "document/CHost.h"
#include "document/CSectionLine.h"
#include "document/CSolidDocument.h"
#include "document/CSplitLine.h"
#include "document/CTile.h"
#include "document/CWall.h"
#include "document/CWallPart.h"
#include "document/SolidCeiling.h"
#include "platform/Picture.h"
#include "platform/TexturePictures.h"
#include "render/RenderManBinding.h"
#include "render/RenderSettings.h"
#include "scene/CCustomSceneNode.h"
#include "scene/CFloorSceneNode.h"
#include "scene/CGridMappingSceneNode.h"
#include "scene/CRoofSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/GridMappingScene.h"
#include "scene/RoomScene.h"
#include "scene/SectionBarScene.h"
#include "scene/WallScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <unistd.h>
#include <vector>

using namespace irr;

namespace vs {

namespace {

/** Degrees to radians as the engine's single-precision constant has it. */
constexpr float kDegToRad = 0.0174532924f;
/** Linear attenuation the module gives ceiling lamps; stands in for a light without any. */
constexpr float kDefaultLinearAttenuation = 0.002f;
/** Height of the shadow camera for rooms it covers as it is. */
constexpr float kShadowCameraHeight = 37000;

void exportMeshBuffers(const scene::IMesh* mesh, const char* textureOverride, float opacity);

// ---- calling the renderer ----------------------------------------------------------------

template <class F> F need(RiSlot slot)
{
    const F f = RenderManBinding::instance().procedure<F>(slot);
    if (f == nullptr)
        throw std::runtime_error(std::string("the renderer lacks ") + RenderManBinding::name(slot));
    return f;
}

RtFilterFunc needFilter(RiSlot slot)
{
    return need<RtFilterFunc>(slot);
}

RtToken token(const char* text)
{
    return const_cast<RtToken>(text);
}

RtFloat (*matrixArg(const core::matrix4& m))[4]
{
    return reinterpret_cast<RtFloat(*)[4]>(const_cast<f32*>(m.pointer()));
}

void callVoid(RiSlot slot)
{
    need<RiVoidFunc>(slot)();
}

void concatTransform(const core::matrix4& m)
{
    need<RiMatrixFunc>(RiSlot::RiConcatTransform)(matrixArg(m));
}

/** Calls RiEnd when a frame is left by an exception, so the renderer's context is closed. */
class FrameScope
{
public:
    FrameScope() { need<RiBeginFunc>(RiSlot::RiBegin)(RI_NULL); }
    ~FrameScope()
    {
        const auto end = RenderManBinding::instance().procedure<RiVoidFunc>(RiSlot::RiEnd);
        if (!ended_ && end != nullptr)
            end();
    }
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;
    void end()
    {
        ended_ = true;
        callVoid(RiSlot::RiEnd);
    }

private:
    bool ended_ = false;
};

RtInt progressThunk(RtFloat fraction, RtPointer data)
{
    const auto* progress = static_cast<const RenderProgress*>(data);
    return (*progress)(fraction) ? 0 : 1;
}

// ---- scene geometry ----------------------------------------------------------------------

core::matrix4 absoluteOf(const scene::ISceneNode* node)
{
    core::matrix4 m = node->getRelativeTransformation();
    for (const scene::ISceneNode* p = node->getParent(); p != nullptr; p = p->getParent())
        m = p->getRelativeTransformation() * m;
    return m;
}

/** The active camera's position in the local coordinates of `node`. */
core::vector3df cameraIn(const RenderView& view, const scene::ISceneNode* node)
{
    core::vector3df eye = view.camera ? absoluteOf(view.camera).getTranslation() : view.eye;
    core::matrix4 inverse;
    absoluteOf(node).getInverse(inverse);
    inverse.transformVect(eye);
    return eye;
}

core::matrix4 rotationX(double degrees)
{
    core::matrix4 m;
    m.setRotationRadians({static_cast<f32>(degrees) * kDegToRad, 0, 0});
    return m;
}

core::matrix4 rotationY(double degrees)
{
    core::matrix4 m;
    m.setRotationRadians({0, static_cast<f32>(degrees) * kDegToRad, 0});
    return m;
}

core::matrix4 translation(const core::vector3df& to)
{
    core::matrix4 m;
    m.setTranslation(to);
    return m;
}

const CGridMapping* rootPlane(const CSolidDocument& document)
{
    return document.ceiling ? document.ceiling->root.get() : nullptr;
}

/** Centre of the root plane's outline bounds in room coordinates (x, z). */
core::vector2df outlineCentre(const CSolidDocument& document)
{
    const CGridMapping* root = rootPlane(document);
    if (root == nullptr)
        return {0, 0};
    const RRect& b = root->outlineBounds;
    const RPoint origin = roomPlanOrigin(document);
    return {static_cast<f32>((b.left + b.right) * 0.5 - origin.x),
            static_cast<f32>((b.top + b.bottom) * 0.5 - origin.y)};
}

// ---- world pieces ------------------------------------------------------------------------

const char* const kShadowNames[] = {"shadowname_px", "shadowname_nx", "shadowname_py",
                                    "shadowname_ny", "shadowname_pz", "shadowname_nz"};

RtLightHandle pointLight(const char* shader, RtFloat intensity, const core::vector3df& from,
                         bool shadowed)
{
    const auto lightSource = need<RiLightSourceFunc>(RiSlot::RiLightSource);
    RtPoint point = {from.X, from.Y, from.Z};
    if (!shadowed)
        return lightSource(token(shader), token("intensity"), &intensity, token("from"), point,
                           RI_NULL);
    char* map = const_cast<char*>(RenderSettings::instance().shadowMapFile.c_str());
    return lightSource(token(shader), token("intensity"), &intensity, token("from"), point,
                       token(kShadowNames[0]), &map, token(kShadowNames[1]), &map,
                       token(kShadowNames[2]), &map, token(kShadowNames[3]), &map,
                       token(kShadowNames[4]), &map, token(kShadowNames[5]), &map, RI_NULL);
}

void exportGlobalLights(const RenderView& view)
{
    RenderSettings& settings = RenderSettings::instance();
    const core::vector2df centre = outlineCentre(*view.document);
    const float per = 0.002f;
    const auto intensity =
        static_cast<RtFloat>(RenderSettings::baseIntensity(settings.brightness) / per);
    size_t i = 0;
    for (int y = 14000; y < 32000; y += 6000, ++i) {
        const core::vector3df from(centre.X, static_cast<f32>(y), centre.Y);
        settings.globalLights[i] = settings.renderShadows
                                       ? pointLight("linearshadowpoint", intensity, from, true)
                                       : pointLight("linearpointlight", intensity, from, false);
    }
    const auto illuminate = need<RiIlluminateFunc>(RiSlot::RiIlluminate);
    illuminate(settings.globalLights[1], 0);
    illuminate(settings.globalLights[2], 0);
}

void exportDocumentLight(const CSolidLight& light)
{
    if (!light.isVisible)
        return;
    const RenderSettings& settings = RenderSettings::instance();
    const double base = RenderSettings::baseIntensity(settings.brightness);
    callVoid(RiSlot::RiTransformBegin);
    const core::vector3df from(light.position.x, light.position.y, light.position.z);
    const LightIntensity li =
        lightIntensity(base, light.attenuation.x, light.attenuation.y, light.attenuation.z);
    if (light.type == CSolidLight::Point) {
        const bool shadowed = light.isMain && settings.renderShadows;
        const char* shader = shadowed ? (li.linear ? "linearshadowpoint" : "shadowpoint")
                                      : (li.linear ? "linearpointlight" : "pointlight");
        pointLight(shader, li.intensity, from, shadowed);
    } else if (light.type == CSolidLight::Spot) {
        RtColor colour = {light.diffuseColor.r, light.diffuseColor.g, light.diffuseColor.b};
        RtFloat intensity = li.intensity;
        RtPoint point = {from.X, from.Y, from.Z};
        RtPoint to = {from.X, -10000.0f, from.Z};
        RtFloat cone = light.outerCone * core::PI / 180;
        RtFloat delta = (light.outerCone - light.innerCone) * core::PI / 180;
        need<RiLightSourceFunc>(RiSlot::RiLightSource)(
            token(li.linear ? "linearspotlight" : "spotlight"), token("lightcolor"), colour,
            token("intensity"), &intensity, token("from"), point, token("to"), to,
            token("coneangle"), &cone, token("conedeltaangle"), &delta, RI_NULL);
    }
    callVoid(RiSlot::RiTransformEnd);
}

/** A node and its visible children in a transform block each, meshes through ExportMesh. */
void exportNode(const scene::ISceneNode* node)
{
    if (node == nullptr)
        return;
    callVoid(RiSlot::RiTransformBegin);
    concatTransform(node->getRelativeTransformation());
    if (node->getType() == scene::ESNT_MESH)
        ExportMesh(
            const_cast<scene::IMeshSceneNode*>(static_cast<const scene::IMeshSceneNode*>(node))
                ->getMesh(),
            nullptr);
    callVoid(RiSlot::RiTransformEnd);
}

/** The transformation from the frame of `frame` to that of `node`: the relative
 *  transformations down from `frame` when it is an ancestor (exactly the node's own one when it
 *  is the parent), else through the inverse of `frame`'s absolute transformation. */
core::matrix4 transformFrom(const scene::ISceneNode* frame, const scene::ISceneNode* node)
{
    core::matrix4 m = node->getRelativeTransformation();
    for (const scene::ISceneNode* p = node->getParent(); p != nullptr; p = p->getParent()) {
        if (p == frame)
            return m;
        m = p->getRelativeTransformation() * m;
    }
    core::matrix4 inverse;
    if (frame != nullptr)
        absoluteOf(frame).getInverse(inverse);
    return inverse * m;
}

/** The section lines written so far in this frame; the ceiling's last step writes the others. */
std::set<const CSectionLine*>& writtenSectionLines()
{
    static std::set<const CSectionLine*> written;
    return written;
}

/** One section bar; `frame` is the scene node whose frame the transform stack now holds. The
 *  bar's node hangs under its plane's grid node (or the roof), which need not be `frame`. */
void exportSectionLine(const CSectionLine& line, const scene::ISceneNode* frame)
{
    if (sectionNode(line) == nullptr || !sectionNode(line)->isVisible() ||
        !writtenSectionLines().insert(&line).second)
        return;
    callVoid(RiSlot::RiTransformBegin);
    concatTransform(transformFrom(frame, sectionNode(line)));
    for (const scene::ISceneNode* bar : sectionMeshNodes(line))
        exportNode(bar);
    callVoid(RiSlot::RiTransformEnd);
}

/** Every section line of `plane` and of the planes below it, bends included. */
void collectSectionLines(const CGridMapping& plane, std::vector<const CSectionLine*>& lines)
{
    for (const auto& line : plane.trusteeSectionLines)
        lines.push_back(line.get());
    for (const auto& split : plane.splitLines) {
        if (split->sectionLine)
            lines.push_back(split->sectionLine.get());
        if (split->bend)
            collectSectionLines(*split->bend, lines);
    }
    for (const auto& bend : plane.bends)
        if (bend)
            collectSectionLines(*bend, lines);
    for (const auto& child : plane.children)
        collectSectionLines(*child, lines);
}

void exportCandyNodes(const CCandy& candy)
{
    scene::ISceneNode* top = vs::towerTop(candy);
    if (top == nullptr)
        return;
    exportNode(top);
    for (const scene::ISceneNode* side : vs::towerSides(candy))
        exportNode(side);
}

std::string planeTextureBase(const scene::ISceneNode* node)
{
    static std::map<const scene::ISceneNode*, unsigned> ids;
    const auto found = ids.find(node);
    const unsigned id =
        found != ids.end() ? found->second : (ids[node] = static_cast<unsigned>(ids.size() + 1));
    char name[64];
    std::snprintf(name, sizeof name, "%d_%08x_level", static_cast<int>(::getpid()), id);
    return name;
}

QImage squarePicture(const QImage& picture)
{
    const int side = std::max(picture.width(), picture.height());
    return picture.convertToFormat(QImage::Format_ARGB32)
        .scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void exportPlaneNode(const RenderView& view, const CGridMapping& plane,
                     const CGridMappingSceneNode& node)
{
    const std::string base = planeTextureBase(&node);
    std::string tx;
    if (!plane.picture.isNull()) {
        const std::string tif = base + ".tif";
        tx = base + ".tx";
        Picture(squarePicture(plane.picture)).save(tif, PictureFormat::Tiff);
        RtFloat width = 2;
        need<RiMakeTextureFunc>(RiSlot::RiMakeTexture)(
            token(tif.c_str()), token(tx.c_str()), token("black"), token("black"),
            needFilter(RiSlot::RiGaussianFilter), width, width, RI_NULL);
    }
    const SolidViewState* state = view.document->viewState.get();
    const float seeThrough =
        state ? std::clamp(state->roofBackAlphaPercent, 0, 100) / 100.0f : 0.5f;
    const RtFloat o = cameraIn(view, &node).Y >= 0 ? seeThrough : 1.0f;
    RtColor opacity = {o, o, o};
    need<RiColorFunc>(RiSlot::RiOpacity)(opacity);
    callVoid(RiSlot::RiTransformBegin);
    concatTransform(core::matrix4());
    // The mesh's own Os would replace the opacity just set: it carries it instead.
    exportMeshBuffers(node.faceMesh(), tx.empty() ? nullptr : tx.c_str(), o);
    callVoid(RiSlot::RiTransformEnd);
}

void exportCeilingTree(const RenderView& view, const CGridMapping& plane,
                       const scene::ISceneNode* frame);

void exportChildExtras(const RenderView& view, const CGridMapping& child,
                       const scene::ISceneNode* frame)
{
    for (const auto& bend : child.bends)
        if (bend)
            exportCeilingTree(view, *bend, frame);
    for (const auto& line : child.trusteeSectionLines)
        exportSectionLine(*line, frame);
}

void exportParentSplitLine(const RenderView& view, const CGridMapping& plane,
                           const scene::ISceneNode* frame)
{
    if (plane.parent == nullptr)
        return;
    for (const auto& split : plane.parent->splitLines) {
        if (split->child != &plane)
            continue;
        if (split->bend)
            exportCeilingTree(view, *split->bend, frame);
        else if (split->sectionLine)
            exportSectionLine(*split->sectionLine, frame);
    }
}

/** `frame`: the scene node whose frame the transform stack holds when the plane's block opens. */
void exportCeilingTree(const RenderView& view, const CGridMapping& plane,
                       const scene::ISceneNode* frame)
{
    callVoid(RiSlot::RiTransformBegin);
    const auto* node = dynamic_cast<const CGridMappingSceneNode*>(planeNode(plane));
    if (node != nullptr) {
        concatTransform(node->getRelativeTransformation());
        exportPlaneNode(view, plane, *node);
        for (const auto& tile : plane.tiles)
            exportCandyNodes(*tile);
        for (const auto& host : plane.hosts)
            exportCandyNodes(*host);
        for (const auto& child : plane.children) {
            exportCeilingTree(view, *child, node);
            exportChildExtras(view, *child, node);
        }
        exportParentSplitLine(view, plane, node);
    } else {
        for (const auto& child : plane.children)
            exportCeilingTree(view, *child, frame);
    }
    callVoid(RiSlot::RiTransformEnd);
}

/** The bars the tree's order leaves out, as the window shows them: trustee lines of the root
 *  and of split planes, and bars of split lines without a step. */
void exportRemainingSectionLines(const CGridMapping& root, const scene::ISceneNode* frame)
{
    std::vector<const CSectionLine*> lines;
    collectSectionLines(root, lines);
    for (const CSectionLine* line : lines)
        exportSectionLine(*line, frame);
}

void exportCeiling(const RenderView& view)
{
    const CSolidDocument& document = *view.document;
    const CGridMapping* root = rootPlane(document);
    if (root == nullptr || document.ceiling->roofNode == nullptr)
        return;
    callVoid(RiSlot::RiTransformBegin);
    need<RiMatrixFunc>(RiSlot::RiTransform)(
        matrixArg(document.ceiling->roofNode->getRelativeTransformation()));
    writtenSectionLines().clear();
    exportCeilingTree(view, *root, document.ceiling->roofNode);
    exportRemainingSectionLines(*root, document.ceiling->roofNode);
    writtenSectionLines().clear();
    callVoid(RiSlot::RiTransformEnd);
}

void exportFloor(const RenderView& view)
{
    const CSolidDocument& document = *view.document;
    const CGridMapping* root = rootPlane(document);
    if (root == nullptr || !document.floor || !document.floor->scene ||
        document.floor->scene->node == nullptr)
        return;
    CFloorSceneNode* node = document.floor->scene->node;
    if (cameraIn(view, node).Y <= 0)
        return;
    std::vector<RPoint> outline = root->indentedOutline;
    if (root->positiveWinding)
        std::reverse(outline.begin(), outline.end());
    const RRect& b = root->outlineBounds;
    const bool invertTop = document.viewState && document.viewState->invertTop;
    const core::dimension2d<double> tile = CFloorSceneNode::tileSize(*document.floor);
    const RPoint origin = roomPlanOrigin(document);
    std::vector<RtFloat> P, st;
    for (RPoint p : outline) {
        if (invertTop)
            p.y = (b.top + b.bottom) - p.y;
        // The floor's mesh stands at the room's plan origin; so do these points.
        P.insert(P.end(), {static_cast<RtFloat>(p.x - origin.x), 0.0f,
                           static_cast<RtFloat>(p.y - origin.y)});
        st.insert(st.end(), {static_cast<RtFloat>((p.x - b.left) / tile.Width),
                             static_cast<RtFloat>((b.bottom - p.y) / tile.Height)});
    }
    if (outline.size() < 3)
        return;
    const std::string texture = ConvertTexture(node->getMaterial(0).getTexture(0));
    callVoid(RiSlot::RiAttributeBegin);
    concatTransform(node->getRelativeTransformation());
    if (texture.empty()) {
        need<RiTokenListFunc>(RiSlot::RiSurface)(token("plastic"), RI_NULL);
    } else {
        char* name = const_cast<char*>(texture.c_str());
        need<RiTokenListFunc>(RiSlot::RiSurface)(token("paintedplastic"), token("texturename"),
                                                 &name, RI_NULL);
    }
    need<RiPolygonFunc>(RiSlot::RiPolygon)(static_cast<RtInt>(outline.size()), token("P"), P.data(),
                                           token("st"), st.data(), RI_NULL);
    callVoid(RiSlot::RiAttributeEnd);
}

bool insideOutline(const std::vector<RPoint>& outline, const RPoint& origin, double x, double z)
{
    bool inside = false;
    for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
        const double xi = outline[i].x - origin.x, zi = outline[i].y - origin.y;
        const double xj = outline[j].x - origin.x, zj = outline[j].y - origin.y;
        if ((zi > z) != (zj > z) && x < (xj - xi) * (z - zi) / (zj - zi) + xi)
            inside = !inside;
    }
    return inside;
}

/** +1 when the room lies on the local +y side of the wall's group node, else -1. A point just
 *  off the middle of the base line tells, whichever way the outline runs. */
float roomSideOf(const CSolidDocument& document, const CWall& wall)
{
    const CGridMapping* root = rootPlane(document);
    if (root == nullptr || root->indentedOutline.size() < 3)
        return -1;
    const WallFrame frame = wallFrame(document, wall);
    const core::matrix4 m = wallGroupNode(wall)->getRelativeTransformation();
    core::vector3df probe(static_cast<f32>(frame.length / 2), 50, 0);
    m.transformVect(probe);
    return insideOutline(root->indentedOutline, roomPlanOrigin(document), probe.X, probe.Z) ? 1.0f
                                                                                            : -1.0f;
}

void exportWall(const RenderView& view, const CWall& wall)
{
    // Only walls whose room side faces the camera are written.
    if (wallGroupNode(wall) == nullptr ||
        cameraIn(view, wallGroupNode(wall)).Y * roomSideOf(*view.document, wall) <= 0)
        return;
    callVoid(RiSlot::RiAttributeBegin);
    concatTransform(wallGroupNode(wall)->getRelativeTransformation());
    for (const auto& part : wall.wallParts)
        if (wallPartNode(*part) != nullptr && wallPartNode(*part)->isVisible())
            exportNode(wallPartNode(*part));
    for (const auto& flat : wall.flatFacilities)
        if (flatFacilityNode(*flat) != nullptr && flatFacilityNode(*flat)->isVisible())
            exportNode(flatFacilityNode(*flat));
    callVoid(RiSlot::RiAttributeEnd);
}

const scene::IMesh* shownFacilityMesh(const CSolidFacility& facility)
{
    CCustomSceneNode* node = facilityNode(facility);
    scene::IMeshSceneNode* meshNode = node ? node->meshNode() : nullptr;
    return meshNode ? meshNode->getMesh() : nullptr;
}

/** Group members, at any depth, inside their group's block. */
void exportMembers(const CSolidFacility& facility)
{
    for (const auto& member : facility.children) {
        const CCustomSceneNode* node = facilityNode(*member);
        if (node == nullptr)
            continue;
        callVoid(RiSlot::RiTransformBegin);
        concatTransform(node->getRelativeTransformation());
        if (const scene::IMesh* mesh = shownFacilityMesh(*member))
            ExportMesh(mesh, nullptr);
        exportMembers(*member);
        callVoid(RiSlot::RiTransformEnd);
    }
}

void exportFacility(const CSolidFacility& facility)
{
    const CCustomSceneNode* node = facilityNode(facility);
    if (node == nullptr)
        return;
    const RenderSettings& settings = RenderSettings::instance();
    callVoid(RiSlot::RiAttributeBegin);
    concatTransform(node->getRelativeTransformation());
    if (!settings.shadowPass && settings.jobSimpleLighting) {
        const float top = facility.position.y + facility.size.y;
        const int group = top < 1000 ? 0 : top < 1600 ? 1 : 2;
        const auto illuminate = need<RiIlluminateFunc>(RiSlot::RiIlluminate);
        for (int i = 0; i < 3; ++i)
            illuminate(settings.globalLights[static_cast<size_t>(i)], i == group ? 1 : 0);
    }
    if (const scene::IMesh* mesh = shownFacilityMesh(facility))
        ExportMesh(mesh, nullptr);
    exportMembers(facility);
    callVoid(RiSlot::RiAttributeEnd);
}

// ---- meshes ------------------------------------------------------------------------------

const video::S3DVertex& vertexAt(const scene::IMeshBuffer& buffer, u32 index)
{
    const u32 pitch = video::getVertexPitchFromType(buffer.getVertexType());
    const auto* bytes = static_cast<const u8*>(buffer.getVertices());
    return *reinterpret_cast<const video::S3DVertex*>(bytes + size_t(index) * pitch);
}

u32 indexAt(const scene::IMeshBuffer& buffer, u32 i)
{
    if (buffer.getIndexType() == video::EIT_32BIT)
        return static_cast<const u32*>(static_cast<const void*>(buffer.getIndices()))[i];
    return buffer.getIndices()[i];
}

/** `opacity` scales every vertex's Os (its alpha). */
void exportBufferTriangles(const scene::IMeshBuffer& buffer, bool textured, float opacity)
{
    const auto polygon = need<RiPolygonFunc>(RiSlot::RiPolygon);
    const double toUnit = 0.003921568859368563; // 1 / 255 as the colours were always scaled
    const u32 vertexCount = buffer.getVertexCount();
    for (u32 t = 0; t + 2 < buffer.getIndexCount(); t += 3) {
        RtFloat P[9], N[9], Cs[9], Os[9], st[6];
        bool valid = true;
        for (u32 k = 0; k < 3; ++k) {
            const u32 index = indexAt(buffer, t + k);
            if (index >= vertexCount) {
                valid = false;
                break;
            }
            const video::S3DVertex& v = vertexAt(buffer, index);
            const u32 c = 3 * k;
            P[c] = v.Pos.X, P[c + 1] = v.Pos.Y, P[c + 2] = v.Pos.Z;
            N[c] = v.Normal.X, N[c + 1] = v.Normal.Y, N[c + 2] = v.Normal.Z;
            Cs[c] = static_cast<RtFloat>(v.Color.getRed() * toUnit);
            Cs[c + 1] = static_cast<RtFloat>(v.Color.getGreen() * toUnit);
            Cs[c + 2] = static_cast<RtFloat>(v.Color.getBlue() * toUnit);
            Os[c] = Os[c + 1] = Os[c + 2] =
                static_cast<RtFloat>(v.Color.getAlpha() * toUnit) * opacity;
            st[2 * k] = v.TCoords.X, st[2 * k + 1] = v.TCoords.Y;
        }
        if (!valid)
            continue; // a broken index list must not read past the vertices
        if (textured)
            polygon(3, token("P"), P, token("st"), st, token("N"), N, token("Cs"), Cs, token("Os"),
                    Os, RI_NULL);
        else
            polygon(3, token("P"), P, token("N"), N, token("Cs"), Cs, token("Os"), Os, RI_NULL);
    }
}

} // namespace

LightIntensity lightIntensity(double base, float constant, float linear, float quadratic)
{
    // A term read from a file may be negative or not a number: it counts as absent, so that
    // no light is exported with a negative or undefined intensity.
    const auto usable = [](float term) { return std::isfinite(term) && term > 0; };
    if (!usable(linear) && usable(quadratic))
        return {static_cast<float>(base / quadratic), false};
    // The renderer's lights fall off with 1/d and have no constant term. A light without falloff
    // (constant 1: the main light as the module makes it) renders as the default lamp, so a
    // constant c weighs as linear 0.002 c beside the light's own linear term: lamps with c = 0
    // keep base / linear, and a constant dims a light as it does in the window.
    const double c = usable(constant) ? constant : 0.0;
    const double l = (usable(linear) ? linear : 0.0) + kDefaultLinearAttenuation * c;
    return {static_cast<float>(base / (l > 0 ? l : kDefaultLinearAttenuation)), true};
}

float shadowCameraHeight(double largerExtent, float fovDegrees)
{
    const double halfTan = std::tan(fovDegrees * 0.5 * core::DEGTORAD64);
    if (!(halfTan > 0) || !std::isfinite(largerExtent))
        return kShadowCameraHeight;
    // A little margin so that the outline's edge does not fall on the map's last texel.
    const double needed = 0.5 * largerExtent / halfTan * 1.05;
    return static_cast<float>(std::max<double>(kShadowCameraHeight, needed));
}

RenderCameraSetup renderCamera(const RenderView& view, bool shadowPass)
{
    RenderCameraSetup setup;
    const CSolidDocument& document = *view.document;
    if (shadowPass) {
        const CGridMapping* root = rootPlane(document);
        double extent = 0;
        if (root != nullptr)
            extent = std::max(root->outlineBounds.right - root->outlineBounds.left,
                              root->outlineBounds.bottom - root->outlineBounds.top);
        setup.fov = static_cast<float>(std::atan(0.5 * extent) * 57.29577951308232);
        const core::vector2df centre = outlineCentre(document);
        const float height = shadowCameraHeight(extent, setup.fov);
        setup.cameraToWorld = translation({centre.X, height, centre.Y}) * rotationX(90);
        return setup;
    }
    const float fovRadians = view.camera ? view.camera->getFOV() : core::PI / 4;
    setup.fov = fovRadians * 57.2957764f;
    if (view.orbit) {
        const core::vector3df p = view.camera ? view.camera->getPosition() : core::vector3df();
        core::matrix4 roomInverse;
        if (document.roomNode != nullptr)
            document.roomNode->getRelativeTransformation().getInverse(roomInverse);
        setup.cameraToWorld = roomInverse * translation(p) * rotationX(-90);
    } else {
        setup.cameraToWorld = translation(view.eye) * rotationY(view.yaw) * rotationX(view.pitch);
    }
    return setup;
}

void ExportFrame(const RenderView& view, const RenderProgress& progress)
{
    if (view.document == nullptr)
        throw std::invalid_argument("no document to render");
    RenderSettings& settings = RenderSettings::instance();
    const bool shadow = settings.shadowPass;
    FrameScope frame;
    const auto progressHandler =
        RenderManBinding::instance().procedure<RiProgressHandlerFunc>(RiSlot::RiProgressHandler);
    if (progressHandler != nullptr)
        progressHandler(progress ? progressThunk : nullptr,
                        progress ? const_cast<RenderProgress*>(&progress) : nullptr);

    const auto display = need<RiDisplayFunc>(RiSlot::RiDisplay);
    const auto samples = need<RiPixelSamplesFunc>(RiSlot::RiPixelSamples);
    const auto filter = need<RiPixelFilterFunc>(RiSlot::RiPixelFilter);
    const auto format = need<RiFormatFunc>(RiSlot::RiFormat);
    if (shadow) {
        display(token(settings.shadowDepthFile.c_str()), token("file"), token("z"), RI_NULL);
        samples(1, 1);
        filter(needFilter(RiSlot::RiBoxFilter), 1, 1);
        format(view.width, view.height, 1.0f);
        need<RiFloatFunc>(RiSlot::RiShadingRate)(4.0f);
        RtFloat jitter = 0.0f;
        need<RiTokenListFunc>(RiSlot::RiHider)(token("hidden"), token("jitter"), &jitter, RI_NULL);
    } else {
        display(token(settings.imageFile.c_str()), token(settings.displayDriver.c_str()),
                token("rgb"), RI_NULL);
        const auto n = static_cast<RtFloat>(settings.pixelSamples);
        samples(n, n);
        filter(needFilter(RiSlot::RiCatmullRomFilter), 3, 3);
        format(view.width, view.height, 1.0f);
    }

    const RenderCameraSetup camera = renderCamera(view, shadow);
    RtFloat fov = camera.fov;
    need<RiTokenListFunc>(RiSlot::RiProjection)(token("perspective"), token("fov"), &fov, RI_NULL);
    core::matrix4 worldToCamera;
    camera.cameraToWorld.getInverse(worldToCamera);
    need<RiMatrixFunc>(RiSlot::RiTransform)(matrixArg(worldToCamera));
    callVoid(RiSlot::RiWorldBegin);
    if (!shadow) {
        RtFloat ambient = 0.5f;
        need<RiLightSourceFunc>(RiSlot::RiLightSource)(token("ambientlight"), token("intensity"),
                                                       &ambient, RI_NULL);
    }
    ExportWorld(view);
    callVoid(RiSlot::RiWorldEnd);
    if (shadow)
        need<RiMakeShadowFunc>(RiSlot::RiMakeShadow)(token(settings.shadowDepthFile.c_str()),
                                                     token(settings.shadowMapFile.c_str()),
                                                     RI_NULL);
    frame.end();
}

void ExportWorld(const RenderView& view)
{
    const CSolidDocument& document = *view.document;
    const RenderSettings& settings = RenderSettings::instance();
    if (!settings.shadowPass) {
        if (settings.jobSimpleLighting)
            exportGlobalLights(view);
        else
            for (const auto& light : document.solidLights)
                exportDocumentLight(*light);
        exportCeiling(view);
        exportFloor(view);
        for (const auto& wall : document.walls)
            exportWall(view, *wall);
    }
    for (const auto& facility : document.solidFacilities)
        exportFacility(*facility);
}

void ExportMesh(const scene::IMesh* mesh, const char* textureOverride)
{
    exportMeshBuffers(mesh, textureOverride, 1.0f);
}

namespace {

void exportMeshBuffers(const scene::IMesh* mesh, const char* textureOverride, float opacity)
{
    if (mesh == nullptr)
        return;
    const bool mainPass = !RenderSettings::instance().shadowPass;
    const auto surface = need<RiTokenListFunc>(RiSlot::RiSurface);
    for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b) {
        const scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
        if (buffer == nullptr)
            continue;
        callVoid(RiSlot::RiAttributeBegin);
        bool textured = false;
        if (mainPass) {
            std::string texture = textureOverride ? textureOverride : "";
            if (texture.empty() && buffer->getMaterial().getTexture(0) != nullptr)
                texture = ConvertTexture(buffer->getMaterial().getTexture(0));
            textured = !texture.empty();
            if (textured) {
                char* name = const_cast<char*>(texture.c_str());
                surface(token("paintedplastic"), token("texturename"), &name, RI_NULL);
            } else {
                surface(token("plastic"), RI_NULL);
            }
        }
        exportBufferTriangles(*buffer, textured, opacity);
        callVoid(RiSlot::RiAttributeEnd);
    }
}

} // namespace

std::string ConvertTexture(video::ITexture* texture)
{
    if (texture == nullptr)
        return {};
    const std::string engineName = texture->getName().getPath().c_str();
    // Names of this process only: another render process may convert a texture of the same
    // engine name from other pixels at the same time.
    std::string name = std::to_string(::getpid()) + "_" + engineName;
    std::replace(name.begin(), name.end(), '/', '_');
    const std::string result = name + ".tx";
    if (convertedTextures().count(engineName) != 0)
        return result;
    const QImage picture = texturePicture(engineName);
    if (picture.isNull())
        return {};
    // A TIFF named as one: an engine name may end in ".jpg" or ".bmp".
    const std::string tif = name + ".tif";
    Picture(squarePicture(picture)).save(tif, PictureFormat::Tiff);
    RtFloat width = 2;
    need<RiMakeTextureFunc>(RiSlot::RiMakeTexture)(
        token(tif.c_str()), token(result.c_str()), token("periodic"), token("periodic"),
        needFilter(RiSlot::RiGaussianFilter), width, width, RI_NULL);
    convertedTextures().insert(engineName);
    return result;
}

} // namespace vs
