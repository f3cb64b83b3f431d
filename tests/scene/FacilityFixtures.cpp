#include "FacilityFixtures.h"

#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"

#include <algorithm>

using namespace irr;

namespace vs::fixtures {

namespace {

void addBox(scene::SMeshBuffer& buffer, const core::vector3df& a, const core::vector3df& b)
{
    for (int i = 0; i < 8; ++i) {
        const core::vector3df p((i & 1) ? b.X : a.X, (i & 2) ? b.Y : a.Y, (i & 4) ? b.Z : a.Z);
        buffer.Vertices.push_back(video::S3DVertex(
            p, core::vector3df(0, 1, 0), video::SColor(255, 255, 255, 255), core::vector2df(0, 0)));
    }
    const u16 faces[12][3] = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                              {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    for (const auto& f : faces)
        for (u16 index : f)
            buffer.Indices.push_back(index);
    buffer.recalculateBoundingBox();
}

} // namespace

scene::SMesh* boxMesh(const core::vector3df& min, const core::vector3df& max, u32 buffers)
{
    auto* mesh = new scene::SMesh();
    const f32 height = max.Y - min.Y;
    for (u32 i = 0; i < buffers; ++i) {
        auto* buffer = new scene::SMeshBuffer();
        const core::vector3df up(0, height * static_cast<f32>(i), 0);
        addBox(*buffer, min + up, max + up);
        mesh->addMeshBuffer(buffer);
        buffer->drop();
    }
    mesh->recalculateBoundingBox();
    return mesh;
}

std::unique_ptr<CFacilityModel> modelWithMesh(int id, scene::IMesh* mesh, int kindAndFlags)
{
    FacilityModelInfo info;
    info.id = id;
    info.name = "model" + std::to_string(id);
    info.kindAndFlags = kindAndFlags;
    auto model = std::make_unique<CFacilityModel>(info, nullptr);
    model->setMesh(mesh);
    return model;
}

std::unique_ptr<CSolidDocument> roomDocument(const std::vector<RPoint>& outline, double indentLeft,
                                             double indentTop)
{
    auto document = std::make_unique<CSolidDocument>();
    document->ceiling = std::make_unique<SolidCeiling>();
    document->ceiling->room = document.get();
    auto root = std::make_unique<CGridMapping>(document->ceiling.get(), nullptr);
    root->outlinePoints = outline;
    root->indentedOutline = outline;
    RRect bounds{outline.front().x, outline.front().y, outline.front().x, outline.front().y};
    for (const RPoint& p : outline) {
        bounds.left = std::min(bounds.left, p.x);
        bounds.top = std::min(bounds.top, p.y);
        bounds.right = std::max(bounds.right, p.x);
        bounds.bottom = std::max(bounds.bottom, p.y);
    }
    bounds.left += indentLeft;
    bounds.top += indentTop;
    root->indentedBounds = bounds;
    document->ceiling->root = std::move(root);
    for (size_t i = 0; i < outline.size(); ++i)
        document->walls.push_back(std::make_unique<CWall>(static_cast<int>(i)));
    return document;
}

std::unique_ptr<CSolidDocument> rectangularRoom()
{
    return roomDocument({{0, 0}, {60000, 0}, {60000, 40000}, {0, 40000}});
}

CSolidFacility& addFacility(CSolidDocument& document, CFacilityModel* model, const Vec3f& size)
{
    auto facility = std::make_unique<CSolidFacility>();
    facility->facilityModel = model;
    facility->size = size;
    document.solidFacilities.push_back(std::move(facility));
    return *document.solidFacilities.back();
}

core::aabbox3df worldBox(scene::ISceneNode* node)
{
    std::vector<scene::ISceneNode*> chain;
    for (scene::ISceneNode* n = node; n != nullptr; n = n->getParent())
        chain.push_back(n);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        (*it)->updateAbsolutePosition();
    core::aabbox3df box = node->getBoundingBox();
    node->getAbsoluteTransformation().transformBoxEx(box);
    return box;
}

} // namespace vs::fixtures
