#include "CeilingSceneFixtures.h"

#include "ceiling/CeilingLoad.h"
#include "ceiling/GridLayout.h"
#include "document/CTile.h"

#include <QBuffer>
#include <QImage>

#include <array>

namespace ceilingscene {
namespace {

QByteArray pngOf(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const std::array<QByteArray, 4>& sidePngs()
{
    static const std::array<QByteArray, 4> pngs = {pngOf(2, 2, 0xffff0000), pngOf(3, 3, 0xff00ff00),
                                                   pngOf(4, 4, 0xff0000ff),
                                                   pngOf(5, 5, 0xffffffff)};
    return pngs;
}

const QByteArray& planPng()
{
    static const QByteArray png = pngOf(8, 8, 0xff808080);
    return png;
}

void sideTextures(int32 /*typeId*/, int32 index, const void** data, int32* size)
{
    if (index < 0 || index > 3)
        return;
    *data = sidePngs()[size_t(index)].constData();
    *size = sidePngs()[size_t(index)].size();
}

void planImages(int32 /*typeId*/, const void** data1, int32* size1, const void** data2,
                int32* size2)
{
    *data1 = planPng().constData();
    *size1 = planPng().size();
    *data2 = nullptr;
    *size2 = 0;
}

} // namespace

std::unique_ptr<CCandyType> makeType(int id, int width, int height, int tower,
                                     const HostCallbacks* callbacks)
{
    CandyTypeInfo info;
    info.id = id;
    info.name = "type " + std::to_string(id);
    info.kind = 1;
    info.nominalWidth = width;
    info.nominalHeight = height;
    info.width = width;
    info.height = height;
    info.tower = tower;
    return std::make_unique<CCandyType>(info, callbacks);
}

const HostCallbacks& pictureCallbacks()
{
    static const HostCallbacks callbacks = [] {
        HostCallbacks c;
        c.getCandyTypeTextures = sideTextures;
        c.getCandyTypeImages = planImages;
        return c;
    }();
    return callbacks;
}

std::unique_ptr<CSectionBarType> makeBarType(int id, const std::string& profile)
{
    CandyTypeInfo info;
    info.id = id;
    info.kind = 6;
    info.profile = profile;
    return std::make_unique<CSectionBarType>(info, nullptr);
}

std::string squareProfile(double side, const std::string& colour, const std::string& pictureField)
{
    const std::string s = std::to_string(side);
    const std::string material =
        pictureField.empty() ? "color=\"" + colour + "\"" : "pictureField=\"" + pictureField + "\"";
    return "<profile><contours><contour id=\"1\"><points>"
           "<point value=\"0,0\" isPivotPoint=\"true\" " +
           material +
           "/>"
           "<point value=\"" +
           s + ",0\"/><point value=\"" + s + "," + s + "\"/><point value=\"0," + s +
           "\"/></points></contour></contours></profile>";
}

std::unique_ptr<CSolidDocument> makeDocument(double right, double bottom, int grid)
{
    auto document = std::make_unique<CSolidDocument>();
    document->ceiling = std::make_unique<SolidCeiling>();
    document->ceiling->room = document.get();
    auto root = std::make_unique<CGridMapping>(document->ceiling.get(), nullptr);
    root->gridWidth = grid;
    root->gridHeight = grid;
    root->outlinePoints = {{0, 0}, {right, 0}, {right, bottom}, {0, bottom}};
    vs::finishOutlines(*root);
    document->ceiling->root = std::move(root);
    return document;
}

CGridMapping& rootOf(CSolidDocument& document)
{
    return *document.ceiling->root;
}

CGridMapping& addChild(CGridMapping& parent, double left, double top, double right, double bottom,
                       double hoist)
{
    auto child = std::make_unique<CGridMapping>(parent.ceiling, &parent);
    child->gridWidth = parent.gridWidth;
    child->gridHeight = parent.gridHeight;
    child->hoist = hoist;
    child->outlinePoints = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    vs::finishOutlines(*child);
    parent.children.push_back(std::move(child));
    return *parent.children.back();
}

CTile* addTile(CGridMapping& plane, CCandyType& type, int gx, int gy, int tower)
{
    auto tile = std::make_unique<CTile>();
    tile->candyType = &type;
    tile->gx = gx - plane.originCol;
    tile->gy = gy - plane.originRow;
    tile->width = type.width;
    tile->height = type.height;
    tile->tower = tower;
    CTile* raw = tile.get();
    vs::addLoadedTile(plane, std::move(tile));
    return raw;
}

void finishTree(CGridMapping& plane)
{
    for (auto& child : plane.children)
        finishTree(*child);
    vs::finishPlaneTree(plane);
}

MeshSnapshot snapshot(const irr::scene::IMesh& mesh)
{
    MeshSnapshot s;
    for (irr::u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        const irr::scene::IMeshBuffer* buffer = mesh.getMeshBuffer(b);
        const auto* v = static_cast<const irr::video::S3DVertex*>(buffer->getVertices());
        s.vertices.insert(s.vertices.end(), v, v + buffer->getVertexCount());
        const irr::u16* i = buffer->getIndices();
        s.indices.insert(s.indices.end(), i, i + buffer->getIndexCount());
    }
    return s;
}

void updateScene(irr::scene::ISceneManager* smgr)
{
    smgr->getRootSceneNode()->OnAnimate(0);
}

irr::core::vector3df triangleNormal(const irr::scene::IMesh& mesh, irr::u32 b, irr::u32 t)
{
    const irr::scene::IMeshBuffer* buffer = mesh.getMeshBuffer(b);
    const auto* v = static_cast<const irr::video::S3DVertex*>(buffer->getVertices());
    const irr::u16* i = buffer->getIndices();
    const irr::core::vector3df a = v[i[3 * t]].Pos;
    const irr::core::vector3df bb = v[i[3 * t + 1]].Pos;
    const irr::core::vector3df c = v[i[3 * t + 2]].Pos;
    return (bb - a).crossProduct(c - a);
}

} // namespace ceilingscene
