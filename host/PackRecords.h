// The entries of a catalogue pack as the host holds them: everything AddCandyType and
// AddFacilityModel take, with the pictures, meshes and profile texts read from the pack.
// Lengths of panel types are decimillimetres, sizes of facility models millimetres.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vhost {

/** The bytes of one pack file, shared by every entry naming it and never changed. */
using PackBytes = std::shared_ptr<const std::vector<uint8_t>>;

/** Data pointer and size of pack bytes; null and 0 for none. */
inline const void* bytesData(const PackBytes& b)
{
    return b && !b->empty() ? b->data() : nullptr;
}
inline int32_t bytesSize(const PackBytes& b)
{
    return b ? int32_t(b->size()) : 0;
}

struct PackPanelKind
{
    int32_t id = 0;
    std::string name;
};

struct PackCandyCategory
{
    int32_t id = 0;
    std::string name;
    int32_t parentId = 0;
    int32_t order = 0;
};

struct PackCandyType
{
    int32_t id = 0;
    std::string name;
    int32_t kind = 0;
    int32_t categoryId = 0;
    int32_t nominalWidth = 0;
    int32_t nominalHeight = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t rotateDegree = 0;
    bool listed = true;
    bool stripAcross = false;
    int32_t option14 = 0;
    int32_t tower = 0;
    PackBytes plan;                    // first plan picture
    PackBytes plan2;                   // second plan picture, or none
    std::array<PackBytes, 4> textures; // side textures 0 to 3, each optional
    std::string profile;               // profile text of a section bar; empty otherwise
};

struct PackFacilityCategory
{
    int32_t id = 0;
    int32_t parentId = 0; // 0: top level
    std::string name;
    std::string level; // "group", "brand" or "series"; informative
};

/** Mesh format codes of a GetModelData block. */
enum MeshFormat : int32_t { kMesh3ds = 1, kMeshX = 2 };

struct PackModel
{
    int32_t id = 0;
    std::string name;
    int32_t kind = 0;  // 0 light, 1 3D model, 2 door or window, 3 floor, 4 wall tile, 5 band
    int32_t flags = 0; // bit 0 door, bit 1 window (both cut the wall), bit 2 stands on the floor
    int32_t listWidth = 0;
    int32_t listHeight = 0;
    PackBytes picture;
    PackBytes texture;
    PackBytes mesh;
    int32_t meshFormat = 0; // MeshFormat, 0 without a mesh
    int32_t width = 0;      // millimetres
    int32_t height = 0;
    double length = 1;
    std::optional<std::array<float, 3>> baseRotation; // degrees
    std::optional<std::array<float, 3>> naturalSize;  // millimetres
    double scaleX = 1;
    double scaleY = 1;
    bool zUp = false;
    int32_t categoryId = 0;
    int32_t typeId = 0;
    bool option23 = false;
    std::string defaultMaterials; // a customMaterials element, or empty
};

struct PackStaticSample
{
    int32_t id = 0;
    std::string name;
    PackBytes photo;
    PackBytes mask;                              // or none
    std::array<int32_t, 4> maskRect{0, 0, 0, 0}; // left, top, width, height in photo pixels
    std::string polygonXml;
};

/** A solid sample: a whole design whose furnished room is applied to the open one. */
struct PackSolidSample
{
    int32_t id = 0;
    std::string name;
    std::string designXml; // UTF-8
    int32_t ceilingScale = 1;
};

} // namespace vhost
