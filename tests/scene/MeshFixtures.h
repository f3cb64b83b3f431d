// Small model files built in memory for the mesh loading tests: a 3DS quad and a DirectX text
// quad, each with optional material, texture name and transparency, and the host block wrapper.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vs::fixtures {

/** Options of the 3DS quad: one object of 4 vertices and 2 faces. */
struct Quad3ds
{
    bool withMaterial = false;   // a material "mat" that the faces use
    std::string textureFile;     // texture map file name of the material ("" for none)
    int transparencyPercent = 0; // material transparency, 0 for opaque
    bool withKeyframes = false;  // a keyframer section as exporters write it
};

/** Options of the DirectX text quad: one mesh of 4 vertices and 2 faces. */
struct QuadX
{
    std::string textureFile; // TextureFilename of the mesh's material ("" for none)
    bool withMaterial = true;
    float vertexAlpha = -1; // alpha of MeshVertexColors; below 0 for no vertex colours
};

/** A 3DS file of the quad. */
std::vector<uint8_t> quad3ds(const Quad3ds& options = {});

/** A DirectX text file ("xof 0303txt 0032") of the quad. */
std::string quadX(const QuadX& options = {});

/** A host model block: 32-bit little-endian format code followed by the file's bytes. */
std::vector<uint8_t> modelBlock(uint32_t formatCode, const std::vector<uint8_t>& file);
std::vector<uint8_t> modelBlock(uint32_t formatCode, const std::string& file);

/** An uncompressed 1 x 1 32-bit TGA picture of the given ARGB colour. */
std::vector<uint8_t> pixelTga(uint32_t argb);

} // namespace vs::fixtures
