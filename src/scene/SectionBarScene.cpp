#include "scene/SectionBarScene.h"

#include "catalogue/CSectionBarType.h"
#include "document/CGridMapping.h"
#include "document/CSectionLine.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "scene/EngineTexture.h"
#include "scene/GridMappingScene.h"
#include "scene/MeshBuffers.h"

#include <irrlicht.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using namespace irr;

namespace vs {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadToDeg = 180.0 / kPi;
/** Polygon offset of section-bar quads, in the engine's steps (1 to 7). */
constexpr u8 kBarDepthOffset = 4;

/** Direction of (dx, dy) in [0, 2 pi). */
double direction(double dx, double dy)
{
    const double a = std::atan2(dy, dx);
    return a < 0 ? a + 2 * kPi : a;
}

/** x / tan(angle): how far a mitre at `angle` moves the bar's end at profile offset x. A square
 *  end (pi / 2), and angles whose tangent vanishes or is not finite (an absent angle reads as
 *  0), move nothing. */
double mitreOffset(double x, double angle)
{
    const double t = std::tan(angle);
    if (!std::isfinite(t) || std::fabs(t) < 1e-6 || std::fabs(angle - kPi / 2) <= 0.0001)
        return 0;
    return x / t;
}

/** The texture shift of the left mitre along the bar. */
double leftMitreShift(const CSectionBarProfile& profile, double leftAngle)
{
    if (std::fabs(leftAngle - kPi / 2) <= 0.0001)
        return 0;
    const double t = std::tan(leftAngle);
    if (!std::isfinite(t) || std::fabs(t) < 1e-6)
        return 0;
    return leftAngle < kPi / 2 ? profile.faceupHeightPart1 / t : -profile.faceupHeightPart2 / t;
}

CGridMapping* rootOf(const CGridMapping* plane)
{
    return plane && plane->ceiling ? plane->ceiling->root.get() : nullptr;
}

bool shownInverted(const CSectionLine& line)
{
    const SolidCeiling* ceiling = line.owner ? line.owner->ceiling : nullptr;
    return ceiling && ceiling->room && ceiling->room->inverted && ceiling->root;
}

bool gammaCorrected(const CSectionLine& line)
{
    const SolidCeiling* ceiling = line.owner ? line.owner->ceiling : nullptr;
    const CSolidDocument* room = ceiling ? ceiling->room : nullptr;
    return room && room->viewState && room->viewState->gammaCorrection;
}

/** The picture a picture field names: "texture0" ... "texture3" (or "side0" ...) are the
 *  type's side textures, any other name its plan picture. */
const Picture& fieldPicture(CSectionBarType& type, const std::string& field)
{
    for (const char* prefix : {"texture", "side"}) {
        const std::string p = prefix;
        if (field.size() == p.size() + 1 && field.compare(0, p.size(), p) == 0 &&
            field.back() >= '0' && field.back() <= '3')
            return type.sidePicture(field.back() - '0');
    }
    return type.planPicture();
}

struct BarTexture
{
    video::ITexture* texture = nullptr;
    double width = 1;
    double height = 1;
};

BarTexture loadBarTexture(video::IVideoDriver* driver, CSectionBarType& type,
                          const std::string& field, bool srgb)
{
    BarTexture result;
    const Picture& picture = fieldPicture(type, field);
    if (picture.isNull())
        return result;
    char name[128];
    std::snprintf(name, sizeof name, "bar-%d-%p-%.40s%s.bmp", type.id, static_cast<void*>(&type),
                  field.c_str(), srgb ? "-srgb" : "");
    result.texture = makeEngineTexture(driver, picture.image(), name, srgb);
    result.width = picture.width();
    result.height = picture.height();
    return result;
}

core::matrix4 mirrorMatrix(double axisSum)
{
    core::matrix4 m;
    m[10] = -1;
    m[14] = static_cast<f32>(axisSum);
    return m;
}

void reverseQuad(scene::ISceneNode* node)
{
    if (!node || node->getType() != scene::ESNT_MESH)
        return;
    scene::IMesh* mesh = static_cast<scene::IMeshSceneNode*>(node)->getMesh();
    for (u32 b = 0; mesh && b < mesh->getMeshBufferCount(); ++b) {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
        u16* indices = buffer->getIndices();
        for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
            std::swap(indices[i + 1], indices[i + 2]);
    }
}

/** A bar's face-up quads lie in the plane of the panels beside it: their depth is pulled a
 *  little towards the viewer so that the bar, not the panel, wins every pixel they share. */
void pullTowardsViewer(scene::ISceneNode& node)
{
    for (u32 i = 0; i < node.getMaterialCount(); ++i) {
        video::SMaterial& material = node.getMaterial(i);
        material.PolygonOffsetFactor = kBarDepthOffset;
        material.PolygonOffsetDirection = video::EPO_FRONT;
    }
}

/** What one bar needs while its quads are made. */
struct BarFrame
{
    double length = 0;
    double leftAngle = 0;
    double rightAngle = 0;
    double shift = 0;
};

scene::ISceneNode* addQuad(scene::ISceneManager* smgr, scene::ISceneNode* parent,
                           const BarFrame& bar, const RPointWithTexturePos& p,
                           const RPointWithTexturePos& q, const ProfilePolyline& polyline,
                           const BarTexture* texture)
{
    const double d = std::hypot(q.x - p.x, q.y - p.y);
    const double a0 = mitreOffset(p.x, bar.leftAngle);
    const double a1 = mitreOffset(q.x, bar.leftAngle);
    const double b0 = bar.length - mitreOffset(p.x, bar.rightAngle);
    const double b1 = bar.length - mitreOffset(q.x, bar.rightAngle);
    const double along[4] = {a0, b0, b1, a1};
    const double across[4] = {0, 0, d, d};

    std::vector<video::S3DVertex> vertices(4);
    for (size_t i = 0; i < 4; ++i) {
        video::S3DVertex& v = vertices[i];
        v.Pos = {static_cast<f32>(along[i]), 0, static_cast<f32>(across[i])};
        if (texture) {
            const double total = polyline.totalLength > 0 ? polyline.totalLength : 1;
            const double t = i < 2 ? p.texturePos : q.texturePos;
            v.Color = video::SColor(255, 255, 255, 255);
            v.Normal = core::vector3df(0, 0, 1);
            v.TCoords = core::vector2df(static_cast<f32>(texture->height * (along[i] + bar.shift) /
                                                         (total * texture->width)),
                                        static_cast<f32>(t / total));
        } else {
            const uint32_t c = polyline.material ? polyline.material->colour : 0xffffffu;
            v.Color = video::SColor(255, c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
            v.Normal = core::vector3df(0, -1, 0);
            v.TCoords = core::vector2df(0, 0);
        }
    }
    scene::SMesh* mesh = makeMesh(vertices, {0, 1, 2, 0, 2, 3});
    setMeshTexture(*mesh, texture ? texture->texture : nullptr);
    scene::IMeshSceneNode* node = smgr->addMeshSceneNode(mesh, parent);
    mesh->drop();
    if (!node)
        return nullptr;
    node->setMaterialFlag(video::EMF_LIGHTING, false);
    node->setMaterialFlag(video::EMF_NORMALIZE_NORMALS, true);
    pullTowardsViewer(*node);
    node->setAutomaticCulling(scene::EAC_OFF);
    const double beta = direction(q.x - p.x, q.y - p.y);
    node->setRotation({static_cast<f32>(-beta * kRadToDeg), 0, 0});
    node->setPosition({0, static_cast<f32>(p.y), static_cast<f32>(p.x)});
    return node;
}

void deleteSectionScene(SectionLineScene* record)
{
    delete record;
}

} // namespace

size_t buildSectionBar(CSectionLine& line, scene::ISceneNode* fallbackParent,
                       scene::ISceneManager* smgr)
{
    removeSectionBar(line);
    if (!smgr || !line.candyType || !line.candyType->isSectionBar())
        return 0;
    auto& type = static_cast<CSectionBarType&>(*line.candyType);
    scene::ISceneNode* parent =
        line.owner && planeNode(*line.owner) ? planeNode(*line.owner) : fallbackParent;
    const double dx = line.pt2.x - line.pt1.x;
    const double dy = line.pt2.y - line.pt1.y;
    const double length = std::hypot(dx, dy);
    if (!type.profile || !parent || !std::isfinite(length) || length <= 0)
        return 0;

    const std::vector<ProfilePolyline> polylines = type.profile->evaluate();
    BarFrame bar;
    bar.length = length;
    bar.leftAngle = line.leftAngle;
    bar.rightAngle = line.rightAngle;
    bar.shift = leftMitreShift(*type.profile, line.leftAngle);

    core::matrix4 turn;
    turn.setRotationRadians({0, static_cast<f32>(-direction(dx, dy)), 0});
    core::matrix4 move;
    move.setTranslation({static_cast<f32>(line.pt1.x), 0, static_cast<f32>(line.pt1.y)});
    core::matrix4 placement = move * turn;
    const bool inverted = shownInverted(line);
    if (inverted) {
        const RRect& b = rootOf(line.owner)->indentedBounds;
        placement = mirrorMatrix(b.top + b.bottom) * placement;
    }
    scene::IDummyTransformationSceneNode* section = smgr->addDummyTransformationSceneNode(parent);
    section->getRelativeTransformationMatrix() = placement;
    line.scene = CSectionLine::ScenePtr(new SectionLineScene(), deleteSectionScene);
    line.scene->sectionNode = section;
    std::vector<scene::ISceneNode*>& quads = line.scene->meshNodes;

    video::IVideoDriver* driver = smgr->getVideoDriver();
    const bool srgb = gammaCorrected(line);
    for (const ProfilePolyline& polyline : polylines) {
        BarTexture texture;
        const bool textured = polyline.material && polyline.material->isPicture();
        if (textured)
            texture = loadBarTexture(driver, type, polyline.material->pictureField, srgb);
        for (size_t i = 1; i < polyline.points.size(); ++i) {
            const RPointWithTexturePos& p = polyline.points[i - 1];
            const RPointWithTexturePos& q = polyline.points[i];
            if (!(std::hypot(q.x - p.x, q.y - p.y) > 0))
                continue; // repeated or non-finite points make no quad
            scene::ISceneNode* node =
                addQuad(smgr, section, bar, p, q, polyline, textured ? &texture : nullptr);
            if (!node)
                continue;
            if (inverted)
                reverseQuad(node);
            quads.push_back(node);
        }
    }
    return quads.size();
}

scene::ISceneNode* sectionNode(const CSectionLine& line)
{
    return line.scene ? line.scene->sectionNode : nullptr;
}

const std::vector<scene::ISceneNode*>& sectionMeshNodes(const CSectionLine& line)
{
    static const std::vector<scene::ISceneNode*> none;
    return line.scene ? line.scene->meshNodes : none;
}

void forgetSectionBar(CSectionLine& line)
{
    line.scene.reset();
}

void removeSectionBar(CSectionLine& line)
{
    // The quads hang under the section node and leave the scene with it.
    if (scene::ISceneNode* section = sectionNode(line))
        section->remove();
    else
        for (scene::ISceneNode* node : sectionMeshNodes(line))
            if (node)
                node->remove();
    line.scene.reset();
}

void mirrorSectionBar(CSectionLine& line, double axisSum)
{
    scene::ISceneNode* placed = sectionNode(line);
    if (!placed || placed->getType() != scene::ESNT_DUMMY_TRANSFORMATION)
        return;
    auto* section = static_cast<scene::IDummyTransformationSceneNode*>(placed);
    core::matrix4& m = section->getRelativeTransformationMatrix();
    m = mirrorMatrix(axisSum) * m;
    for (scene::ISceneNode* node : sectionMeshNodes(line))
        reverseQuad(node);
}

} // namespace vs
