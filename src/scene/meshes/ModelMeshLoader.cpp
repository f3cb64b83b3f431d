#include "scene/meshes/ModelMeshLoader.h"

#include "scene/meshes/BinaryXText.h"
#include "scene/meshes/Mesh3dsSanitiser.h"
#include "scene/meshes/MeshXTextSanitiser.h"
#include "scene/meshes/XMeshSplitter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

#include <CDynamicMeshBuffer.h>

using namespace irr;

namespace vs {
namespace {

// ---------------------------------------------------------------------------------------------
// Static copies of the loaded frame.

template <class Buffer, class Vertex> scene::IMeshBuffer* copyAs(const scene::IMeshBuffer& src)
{
    auto* dst = new Buffer();
    const auto* vertices = static_cast<const Vertex*>(src.getVertices());
    dst->Vertices.reallocate(src.getVertexCount());
    for (u32 i = 0; i < src.getVertexCount(); ++i)
        dst->Vertices.push_back(vertices[i]);
    dst->Indices.reallocate(src.getIndexCount());
    for (u32 i = 0; i < src.getIndexCount(); ++i)
        dst->Indices.push_back(src.getIndices()[i]);
    dst->Material = src.getMaterial();
    dst->recalculateBoundingBox();
    return dst;
}

scene::IMeshBuffer* copyWide(const scene::IMeshBuffer& src)
{
    auto* dst = new scene::CDynamicMeshBuffer(src.getVertexType(), video::EIT_32BIT);
    const u32 pitch = video::getVertexPitchFromType(src.getVertexType());
    const auto* bytes = static_cast<const u8*>(src.getVertices());
    dst->getVertexBuffer().reallocate(src.getVertexCount());
    for (u32 i = 0; i < src.getVertexCount(); ++i)
        dst->getVertexBuffer().push_back(
            *reinterpret_cast<const video::S3DVertex*>(bytes + size_t(i) * pitch));
    const auto* indices = reinterpret_cast<const u32*>(src.getIndices());
    dst->getIndexBuffer().reallocate(src.getIndexCount());
    for (u32 i = 0; i < src.getIndexCount(); ++i)
        dst->getIndexBuffer().push_back(indices[i]);
    dst->getMaterial() = src.getMaterial();
    dst->recalculateBoundingBox();
    return dst;
}

scene::IMeshBuffer* copyBuffer(const scene::IMeshBuffer& src)
{
    if (src.getIndexType() != video::EIT_16BIT)
        return copyWide(src);
    switch (src.getVertexType()) {
    case video::EVT_2TCOORDS:
        return copyAs<scene::SMeshBufferLightMap, video::S3DVertex2TCoords>(src);
    case video::EVT_TANGENTS:
        return copyAs<scene::SMeshBufferTangents, video::S3DVertexTangents>(src);
    default:
        return copyAs<scene::SMeshBuffer, video::S3DVertex>(src);
    }
}

scene::SMesh* staticCopy(const scene::IMesh& frame)
{
    auto* mesh = new scene::SMesh();
    for (u32 i = 0; i < frame.getMeshBufferCount(); ++i) {
        const scene::IMeshBuffer* src = frame.getMeshBuffer(i);
        if (!src)
            continue;
        scene::IMeshBuffer* copy = copyBuffer(*src);
        mesh->addMeshBuffer(copy);
        copy->drop();
    }
    mesh->recalculateBoundingBox();
    return mesh;
}

/** Whether every index of every buffer names one of its vertices: the engine's buffers keep
 *  16-bit indices, which would wrap in a buffer the loader filled with more vertices. */
bool indicesInRange(const scene::IMesh& mesh)
{
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b) {
        const scene::IMeshBuffer& buffer = *mesh.getMeshBuffer(b);
        const u32 vertices = buffer.getVertexCount();
        const bool wide = buffer.getIndexType() == video::EIT_32BIT;
        for (u32 i = 0; i < buffer.getIndexCount(); ++i) {
            const u32 index = wide ? reinterpret_cast<const u32*>(buffer.getIndices())[i]
                                   : buffer.getIndices()[i];
            if (index >= vertices)
                return false;
        }
        if (!wide && vertices > 0x10000)
            return false;
    }
    return true;
}

scene::IMeshLoader* engineLoader(scene::ISceneManager* smgr, const char* extension)
{
    for (u32 i = 0; i < smgr->getMeshLoaderCount(); ++i) {
        scene::IMeshLoader* loader = smgr->getMeshLoader(i);
        if (loader && loader->isALoadableFileExtension(extension))
            return loader;
    }
    return nullptr;
}

bool isAlphaPictureName(const io::path& name)
{
    if (name.size() < 5)
        return false;
    io::path ending = name.subString(name.size() - 4, 4);
    ending.make_lower();
    return ending == ".tga" || ending == ".gif";
}

video::SColor firstVertexColour(const scene::IMeshBuffer& buffer)
{
    // Every engine vertex type begins with the standard vertex.
    return static_cast<const video::S3DVertex*>(buffer.getVertices())->Color;
}

} // namespace

void reverseTriangles(scene::IMeshBuffer& buffer)
{
    const u32 count = buffer.getIndexCount() / 3 * 3;
    if (buffer.getIndexType() == video::EIT_16BIT) {
        u16* indices = buffer.getIndices();
        for (u32 i = 0; i < count; i += 3)
            std::swap(indices[i + 1], indices[i + 2]);
    } else {
        u32* indices = reinterpret_cast<u32*>(buffer.getIndices());
        for (u32 i = 0; i < count; i += 3)
            std::swap(indices[i + 1], indices[i + 2]);
    }
    buffer.setDirty(scene::EBT_INDEX);
}

void applyModelTransparency(scene::IMeshBuffer& buffer)
{
    if (buffer.getVertexCount() == 0 || !buffer.getVertices())
        return;
    video::SMaterial& material = buffer.getMaterial();
    if (firstVertexColour(buffer).getAlpha() < 255) {
        material.MaterialType = video::EMT_TRANSPARENT_VERTEX_ALPHA;
        return;
    }
    const video::ITexture* texture = material.getTexture(0);
    if (texture && isAlphaPictureName(texture->getName().getPath()))
        material.MaterialType = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
}

scene::IMesh* loadModelMesh(scene::ISceneManager* smgr, const void* block, int32_t blockSize,
                            const std::string& fileName, bool zUp, std::string* why)
{
    auto refuse = [why](const std::string& reason) -> scene::IMesh* {
        if (why)
            *why = reason;
        return nullptr;
    };
    if (why)
        why->clear();
    if (!smgr || !block || blockSize <= 0 || !smgr->getFileSystem())
        return nullptr;
    if (blockSize < 4)
        return refuse("model block shorter than its 4-byte format code");
    const auto* bytes = static_cast<const uint8_t*>(block);
    const Bytes file{bytes + 4, size_t(blockSize) - 4};

    std::vector<uint8_t> checked;
    const char* extension = nullptr;
    switch (static_cast<ModelFormat>(readU32(bytes))) {
    case ModelFormat::Mesh3ds:
        checked = sanitized3ds(file);
        if (checked.empty())
            return refuse("3DS chunks are inconsistent or hold no mesh");
        extension = ".3ds";
        break;
    case ModelFormat::MeshX: {
        std::string decoded; // a binary file's tokens written as text
        const auto* text = reinterpret_cast<const char*>(file.data);
        size_t textSize = file.size;
        switch (BinaryXText::encoding(file.data, file.size)) {
        case BinaryXText::Encoding::Binary: {
            std::string problem;
            decoded = BinaryXText::toText(file.data, file.size, problem);
            if (decoded.empty())
                return refuse("binary X: " + problem);
            text = decoded.data();
            textSize = decoded.size();
            break;
        }
        case BinaryXText::Encoding::CompressedText:
        case BinaryXText::Encoding::CompressedBinary:
            return refuse("compressed X files (\"tzip\", \"bzip\") cannot be read; "
                          "save the model uncompressed");
        case BinaryXText::Encoding::NotX:
            return refuse("not an X file (no \"xof\" header)");
        case BinaryXText::Encoding::Text:
            break;
        }
        const std::string rebuilt = XMeshSplitter::split(sanitizedXText(text, text + textSize));
        if (rebuilt.empty())
            return refuse("X counts, indices or nesting do not agree, or it holds no mesh");
        checked.assign(rebuilt.begin(), rebuilt.end());
        extension = ".x";
        break;
    }
    default:
        return nullptr;
    }
    scene::IMeshLoader* loader = engineLoader(smgr, extension);
    if (!loader)
        return refuse(std::string("the engine has no ") + extension + " loader");

    io::IReadFile* input = smgr->getFileSystem()->createMemoryReadFile(
        checked.data(), s32(checked.size()), fileName.c_str(), false);
    if (!input)
        return refuse("out of memory");
    scene::IAnimatedMesh* animated = loader->createMesh(input);
    input->drop();
    if (!animated)
        return refuse("the engine's loader refused it");
    scene::IMesh* frame = animated->getMesh(0);
    scene::SMesh* mesh = frame ? staticCopy(*frame) : nullptr;
    animated->drop();
    if (mesh && (mesh->getMeshBufferCount() == 0 || !indicesInRange(*mesh))) {
        mesh->drop();
        return refuse("the loaded mesh has no buffers or an index outside its buffer");
    }
    if (!mesh)
        return refuse("the engine's loader gave no mesh");

    for (u32 i = 0; i < mesh->getMeshBufferCount(); ++i) {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
        if (zUp)
            reverseTriangles(*buffer);
        applyModelTransparency(*buffer);
    }
    return mesh;
}

} // namespace vs
