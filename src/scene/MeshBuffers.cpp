#include "scene/MeshBuffers.h"

#include "scene/SceneBudget.h"

#include <limits>
#include <stdexcept>

using namespace irr;

namespace vs {
namespace {

void finishBuffer(scene::SMesh& mesh, scene::SMeshBuffer* buffer)
{
    buffer->recalculateBoundingBox();
    mesh.addMeshBuffer(buffer);
    buffer->drop();
}

} // namespace

u32 appendMeshBuffers(scene::SMesh& mesh, const std::vector<video::S3DVertex>& vertices,
                      const std::vector<uint32_t>& indices, const video::SMaterial& material)
{
    for (uint32_t i : indices)
        if (i >= vertices.size())
            throw std::invalid_argument("mesh index beyond its vertices");
    const size_t triangles = indices.size() / 3;
    if (triangles == 0 || !chargeSceneTriangles(triangles))
        return 0;

    constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
    // For every source vertex, the buffer that last took it (its serial) and its index there.
    std::vector<uint32_t> owner(vertices.size(), kNone);
    std::vector<uint16_t> local(vertices.size(), 0);
    uint32_t serial = 0;
    u32 added = 0;
    scene::SMeshBuffer* buffer = nullptr;

    for (size_t t = 0; t < triangles; ++t) {
        const uint32_t* tri = &indices[t * 3];
        uint32_t fresh = 0;
        if (buffer)
            for (int k = 0; k < 3; ++k)
                fresh += owner[tri[k]] != serial ? 1 : 0;
        if (!buffer || buffer->Vertices.size() + fresh > kMaxBufferVertices) {
            if (buffer)
                finishBuffer(mesh, buffer);
            buffer = new scene::SMeshBuffer();
            buffer->Material = material;
            ++serial;
            ++added;
        }
        for (int k = 0; k < 3; ++k) {
            const uint32_t src = tri[k];
            if (owner[src] != serial) {
                owner[src] = serial;
                local[src] = static_cast<uint16_t>(buffer->Vertices.size());
                buffer->Vertices.push_back(vertices[src]);
            }
            buffer->Indices.push_back(local[src]);
        }
    }
    finishBuffer(mesh, buffer);
    mesh.recalculateBoundingBox();
    return added;
}

scene::SMesh* makeMesh(const std::vector<video::S3DVertex>& vertices,
                       const std::vector<uint32_t>& indices, const video::SMaterial& material)
{
    auto* mesh = new scene::SMesh();
    try {
        appendMeshBuffers(*mesh, vertices, indices, material);
    } catch (...) {
        mesh->drop();
        throw;
    }
    return mesh;
}

void clearMeshBuffers(scene::SMesh& mesh)
{
    mesh.clear();
}

void setMeshTexture(scene::IMesh& mesh, video::ITexture* texture)
{
    for (u32 i = 0; i < mesh.getMeshBufferCount(); ++i)
        mesh.getMeshBuffer(i)->getMaterial().setTexture(0, texture);
}

} // namespace vs
