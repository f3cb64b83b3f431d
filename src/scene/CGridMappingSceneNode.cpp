#include "scene/CGridMappingSceneNode.h"

#include "ceiling/PlanPicture.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "scene/EngineTexture.h"
#include "scene/GridMappingScene.h"
#include "scene/MeshBuffers.h"
#include "scene/PolygonTiling.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

using namespace irr;

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

/** A serial for texture names: every texture the grid nodes make gets a name of its own, so a
 *  new texture never meets a stale one of an earlier node in the driver's cache. */
u32 nextTextureSerial()
{
    static u32 serial = 0;
    return ++serial;
}

bool gammaCorrected(const CGridMapping& plane)
{
    const CSolidDocument* room = plane.ceiling ? plane.ceiling->room : nullptr;
    return room && room->viewState && room->viewState->gammaCorrection;
}

void mirrorVertices(scene::IMeshBuffer& buffer, f32 axisSum)
{
    auto* vertices = static_cast<video::S3DVertex*>(buffer.getVertices());
    for (u32 i = 0; i < buffer.getVertexCount(); ++i)
        vertices[i].Pos.Z = axisSum - vertices[i].Pos.Z;
    buffer.recalculateBoundingBox();
}

} // namespace

CGridMappingSceneNode::CGridMappingSceneNode(CGridMapping* plane, scene::ISceneNode* parent,
                                             scene::ISceneManager* smgr)
    : CSolidSceneNode(parent, smgr, true), plane_(plane)
{
    setAutomaticCulling(scene::EAC_OFF);
    if (plane_)
        vs::planeScene(*plane_).node = this;
}

// The plane may already be deleted when the scene manager destroys the node, so the destructor
// leaves it alone; releasing the ceiling scene clears the plane's references first.
CGridMappingSceneNode::~CGridMappingSceneNode()
{
    for (scene::SMesh* mesh : {drawMesh_, faceMesh_, pickingMesh_})
        if (mesh)
            mesh->drop();
}

void CGridMappingSceneNode::initialise()
{
    buildDrawMesh();
    buildFaceMesh();
    buildPickingMesh();
    updateBoundingBox();
    updateTexture();
    place();
}

core::vector2df CGridMappingSceneNode::textureCoords(double x, double y) const
{
    // The plan picture covers alignedBoundRRect of the turned grid.
    const CGridMapping& p = *plane_;
    const float angle = static_cast<float>(-p.rotateDegree * kDegreesToRadians);
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float rx = static_cast<float>(x - p.realGridOffset.x);
    const float ry = static_cast<float>(y - p.realGridOffset.y);
    const double gx = rx * c - ry * s;
    const double gy = rx * s + ry * c;
    const RRect& a = p.alignedBoundRRect;
    const double width = a.right > a.left ? a.right - a.left : 1;
    const double height = a.bottom > a.top ? a.bottom - a.top : 1;
    return {static_cast<f32>((gx - a.left) / width), static_cast<f32>((gy - a.top) / height)};
}

void CGridMappingSceneNode::buildDrawMesh()
{
    RRect bounds = plane_->indentedBounds;
    if (!(bounds.left <= bounds.right && bounds.top <= bounds.bottom))
        bounds = vs::polygonBounds(plane_->openPolygon);
    vs::TileGrid grid;
    grid.origin = {bounds.left, bounds.top};
    const double longer = std::max(bounds.right - bounds.left, bounds.bottom - bounds.top);
    const double square =
        std::isfinite(longer) ? std::max(kSquareSize, longer / kMaxSquaresPerSide) : kSquareSize;
    grid.width = square;
    grid.height = square;
    vs::TiledSurface surface = vs::tilePolygon(plane_->openPolygon, bounds, grid);
    for (video::S3DVertex& v : surface.vertices)
        v.TCoords = textureCoords(v.Pos.X, v.Pos.Z);

    drawMesh_ = vs::makeMesh(surface.vertices, surface.indices);
    reversed_.clear();
    for (u32 b = 0; b < drawMesh_->getMeshBufferCount(); ++b) {
        scene::IMeshBuffer* buffer = drawMesh_->getMeshBuffer(b);
        const u16* indices = buffer->getIndices();
        std::vector<u16> turned(indices, indices + buffer->getIndexCount() / 3 * 3);
        for (size_t i = 0; i + 2 < turned.size(); i += 3)
            std::swap(turned[i], turned[i + 1]);
        reversed_.push_back(std::move(turned));
    }
}

void CGridMappingSceneNode::buildFaceMesh()
{
    vs::TileGrid grid;
    vs::TiledSurface surface = vs::triangulateSurface(plane_->openPolygon, grid);
    for (video::S3DVertex& v : surface.vertices)
        v.TCoords = textureCoords(v.Pos.X, v.Pos.Z);
    faceMesh_ = vs::makeMesh(surface.vertices, surface.indices);
}

void CGridMappingSceneNode::buildPickingMesh()
{
    const f32 h = kPickingHalfSize;
    const video::SColor colour(128, 255, 255, 255);
    const core::vector3df down(0, -1, 0);
    // Corners in plan order; (b - a) x (c - a) of (0, 1, 2) and (0, 2, 3) points down (-y).
    std::vector<video::S3DVertex> vertices = {
        {core::vector3df(-h, 0, -h), down, colour, {0, 0}},
        {core::vector3df(h, 0, -h), down, colour, {1, 0}},
        {core::vector3df(h, 0, h), down, colour, {1, 1}},
        {core::vector3df(-h, 0, h), down, colour, {0, 1}},
    };
    pickingMesh_ = vs::makeMesh(vertices, {0, 1, 2, 0, 2, 3});
}

void CGridMappingSceneNode::updateBoundingBox()
{
    if (drawMesh_ && drawMesh_->getMeshBufferCount() > 0)
        setBoundingBox(drawMesh_->getBoundingBox());
}

void CGridMappingSceneNode::render()
{
    video::IVideoDriver* driver = SceneManager->getVideoDriver();
    if (!driver || !drawMesh_)
        return;
    driver->setTransform(video::ETS_WORLD, AbsoluteTransformation);
    for (int pass = 0; pass < 2; ++pass) {
        material_.MaterialType =
            pass == 0 ? video::EMT_SOLID : video::EMT_TRANSPARENT_ALPHA_CHANNEL;
        material_.MaterialTypeParam = pass == 0 ? 0.f : kTopPassParam;
        driver->setMaterial(material_);
        for (u32 b = 0; b < drawMesh_->getMeshBufferCount(); ++b) {
            scene::IMeshBuffer* buffer = drawMesh_->getMeshBuffer(b);
            const u16* indices = pass == 0 ? buffer->getIndices() : reversed_[b].data();
            const u32 count = pass == 0 ? buffer->getIndexCount() : u32(reversed_[b].size());
            if (count < 3)
                continue;
            driver->drawVertexPrimitiveList(buffer->getVertices(), buffer->getVertexCount(),
                                            indices, count / 3, video::EVT_STANDARD,
                                            scene::EPT_TRIANGLES, video::EIT_16BIT);
        }
    }
}

void CGridMappingSceneNode::place()
{
    core::matrix4 m;
    m.setTranslation({0, static_cast<f32>(plane_->hoist), 0});
    setRelativeTransformationMatrix(m);
}

void CGridMappingSceneNode::reverseTriangles(scene::SMesh& mesh)
{
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        scene::IMeshBuffer* buffer = mesh.getMeshBuffer(b);
        u16* indices = buffer->getIndices();
        for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
            std::swap(indices[i + 1], indices[i + 2]);
    }
}

void CGridMappingSceneNode::exchangeIndexLists()
{
    for (u32 b = 0; b < drawMesh_->getMeshBufferCount(); ++b) {
        auto* buffer = static_cast<scene::SMeshBuffer*>(drawMesh_->getMeshBuffer(b));
        std::vector<u16>& turned = reversed_[b];
        std::vector<u16> current(buffer->Indices.pointer(),
                                 buffer->Indices.pointer() + buffer->Indices.size());
        buffer->Indices.set_used(u32(turned.size()));
        for (u32 i = 0; i < turned.size(); ++i)
            buffer->Indices[i] = turned[i];
        turned = std::move(current);
    }
}

void CGridMappingSceneNode::mirror(double axisSum)
{
    const auto sum = static_cast<f32>(axisSum);
    if (drawMesh_) {
        for (u32 b = 0; b < drawMesh_->getMeshBufferCount(); ++b)
            mirrorVertices(*drawMesh_->getMeshBuffer(b), sum);
        drawMesh_->recalculateBoundingBox();
        exchangeIndexLists();
    }
    if (faceMesh_) {
        for (u32 b = 0; b < faceMesh_->getMeshBufferCount(); ++b)
            mirrorVertices(*faceMesh_->getMeshBuffer(b), sum);
        faceMesh_->recalculateBoundingBox();
        reverseTriangles(*faceMesh_);
    }
    updateBoundingBox();
}

void CGridMappingSceneNode::updateTexture()
{
    if (plane_->picture.isNull()) {
        vs::createPlanPicture(*plane_);
        vs::paintPlanPicture(*plane_);
    }
    releaseTexture();
    video::IVideoDriver* driver = SceneManager->getVideoDriver();
    char name[32];
    std::snprintf(name, sizeof name, "%08x.bmp", nextTextureSerial());
    material_.setTexture(
        0, vs::makeEngineTexture(driver, plane_->picture, name, gammaCorrected(*plane_)));
}

void CGridMappingSceneNode::releaseTexture()
{
    video::ITexture* old = material_.getTexture(0);
    material_.setTexture(0, nullptr);
    video::IVideoDriver* driver = SceneManager->getVideoDriver();
    if (old && driver)
        driver->removeTexture(old);
}
