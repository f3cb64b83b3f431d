#include "scene/MeshFixtures.h"

#include <cstring>
#include <sstream>

namespace vs::fixtures {
namespace {

class ChunkWriter
{
public:
    void begin(uint16_t id)
    {
        u16(id);
        open_.push_back(bytes_.size());
        u32(0); // patched by end()
    }
    void end()
    {
        const size_t at = open_.back();
        open_.pop_back();
        const auto length = uint32_t(bytes_.size() - (at - 2));
        for (int i = 0; i < 4; ++i)
            bytes_[at + size_t(i)] = uint8_t(length >> (8 * i));
    }
    void u8(uint8_t v) { bytes_.push_back(v); }
    void u16(uint16_t v)
    {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            u8(uint8_t(v >> (8 * i)));
    }
    void f32(float v)
    {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void text(const std::string& s)
    {
        bytes_.insert(bytes_.end(), s.begin(), s.end());
        u8(0);
    }
    std::vector<uint8_t> bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    std::vector<size_t> open_;
};

void material3ds(ChunkWriter& w, const Quad3ds& o)
{
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.text("mat");
    w.end();
    w.begin(0xA020); // diffuse colour
    w.begin(0x0011);
    w.u8(200);
    w.u8(180);
    w.u8(160);
    w.end();
    w.end();
    if (o.transparencyPercent > 0) {
        w.begin(0xA050);
        w.begin(0x0030);
        w.u16(uint16_t(o.transparencyPercent));
        w.end();
        w.end();
    }
    if (!o.textureFile.empty()) {
        w.begin(0xA200);
        w.begin(0x0030);
        w.u16(100);
        w.end();
        w.begin(0xA300);
        w.text(o.textureFile);
        w.end();
        w.end();
    }
    w.end();
}

void object3ds(ChunkWriter& w, const Quad3ds& o)
{
    w.begin(0x4000);
    w.text("quad");
    w.begin(0x4100);
    w.begin(0x4110);
    const float corners[4][3] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    w.u16(4);
    for (const auto& c : corners)
        for (float v : c)
            w.f32(v);
    w.end();
    w.begin(0x4140);
    w.u16(4);
    const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& c : uv) {
        w.f32(c[0]);
        w.f32(c[1]);
    }
    w.end();
    w.begin(0x4120);
    w.u16(2);
    const uint16_t faces[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& f : faces) {
        for (uint16_t i : f)
            w.u16(i);
        w.u16(7); // edge flags
    }
    if (o.withMaterial) {
        w.begin(0x4130);
        w.text("mat");
        w.u16(2);
        w.u16(0);
        w.u16(1);
        w.end();
    }
    w.end();
    w.end();
    w.end();
}

void keyframes3ds(ChunkWriter& w)
{
    w.begin(0xB000);
    w.begin(0xB00A);
    w.u16(5);
    w.text("MAXSCENE");
    w.u32(100);
    w.end();
    w.begin(0xB002);
    w.begin(0xB010);
    w.text("quad");
    w.u16(0);
    w.u16(0);
    w.u16(0xFFFF);
    w.end();
    w.end();
    w.end();
}

} // namespace

std::vector<uint8_t> quad3ds(const Quad3ds& o)
{
    Quad3ds options = o;
    if (!options.textureFile.empty() || options.transparencyPercent > 0)
        options.withMaterial = true;
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x0002);
    w.u32(3);
    w.end();
    w.begin(0x3D3D);
    w.begin(0x3D3E);
    w.u32(3);
    w.end();
    if (options.withMaterial)
        material3ds(w, options);
    object3ds(w, options);
    w.end();
    if (options.withKeyframes)
        keyframes3ds(w);
    w.end();
    return w.bytes();
}

std::string quadX(const QuadX& o)
{
    std::ostringstream x;
    x << "xof 0303txt 0032\n"
         "// a unit quad\n"
         "Mesh quad {\n"
         " 4;\n"
         " 0.0;0.0;0.0;,\n"
         " 10.0;0.0;0.0;,\n"
         " 10.0;10.0;0.0;,\n"
         " 0.0;10.0;0.0;;\n"
         " 2;\n"
         " 3;0,1,2;,\n"
         " 3;0,2,3;;\n";
    if (o.withMaterial) {
        x << " MeshMaterialList {\n"
             "  1;\n"
             "  2;\n"
             "  0,\n"
             "  0;;\n"
             "  Material {\n"
             "   1.000000;1.000000;1.000000;1.000000;;\n"
             "   0.000000;\n"
             "   0.000000;0.000000;0.000000;;\n"
             "   0.000000;0.000000;0.000000;;\n";
        if (!o.textureFile.empty())
            x << "   TextureFilename {\n    \"" << o.textureFile << "\";\n   }\n";
        x << "  }\n"
             " }\n";
    }
    if (o.vertexAlpha >= 0) {
        x << " MeshVertexColors {\n  4;\n";
        for (int i = 0; i < 4; ++i)
            x << "  " << i << ";1.000000;1.000000;1.000000;" << o.vertexAlpha
              << (i < 3 ? ";;,\n" : ";;;\n");
        x << " }\n";
    }
    x << " MeshTextureCoords {\n"
         "  4;\n"
         "  0.0;0.0;,\n"
         "  1.0;0.0;,\n"
         "  1.0;1.0;,\n"
         "  0.0;1.0;;\n"
         " }\n"
         "}\n";
    return x.str();
}

std::vector<uint8_t> modelBlock(uint32_t formatCode, const std::vector<uint8_t>& file)
{
    std::vector<uint8_t> block;
    for (int i = 0; i < 4; ++i)
        block.push_back(uint8_t(formatCode >> (8 * i)));
    block.insert(block.end(), file.begin(), file.end());
    return block;
}

std::vector<uint8_t> modelBlock(uint32_t formatCode, const std::string& file)
{
    return modelBlock(formatCode, std::vector<uint8_t>(file.begin(), file.end()));
}

std::vector<uint8_t> pixelTga(uint32_t argb)
{
    std::vector<uint8_t> tga(18, 0);
    tga[2] = 2;  // uncompressed true colour
    tga[12] = 1; // width
    tga[14] = 1; // height
    tga[16] = 32;
    tga[17] = 8;                     // alpha bits
    for (int shift : {0, 8, 16, 24}) // B, G, R, A
        tga.push_back(uint8_t(argb >> shift));
    return tga;
}

} // namespace vs::fixtures
