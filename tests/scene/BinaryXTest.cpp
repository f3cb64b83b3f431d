// Binary X files: loaded like their text twins, refused with a reason when any token, count,
// template or reference would take the reader past the file or past its bounds.
#include "scene/meshes/BinaryXText.h"
#include "scene/meshes/ModelMeshLoader.h"

#include "../../tools/BinaryXWriter.h"
#include "MeshFixtures.h"

#include <QFile>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstring>
#include <memory>

using namespace irr;
namespace fx = vs::fixtures;
using vs::BinaryXText;

namespace {

struct MeshDrop
{
    void operator()(scene::IMesh* m) const
    {
        if (m)
            m->drop();
    }
};
using MeshPtr = std::unique_ptr<scene::IMesh, MeshDrop>;

/** Hand-made binary token streams. */
struct Tokens
{
    std::string bytes = "xof 0303bin 0032";

    Tokens& token(uint16_t t)
    {
        bytes += char(t & 0xFF);
        bytes += char(t >> 8);
        return *this;
    }
    Tokens& dword(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes += char((v >> (8 * i)) & 0xFF);
        return *this;
    }
    Tokens& name(const std::string& n)
    {
        token(0x01).dword(uint32_t(n.size()));
        bytes += n;
        return *this;
    }
    Tokens& open() { return token(0x0A); }
    Tokens& close() { return token(0x0B); }
    Tokens& ints(std::initializer_list<uint32_t> values)
    {
        token(0x06).dword(uint32_t(values.size()));
        for (uint32_t v : values)
            dword(v);
        return *this;
    }
    Tokens& floats(std::initializer_list<float> values)
    {
        token(0x07).dword(uint32_t(values.size()));
        for (float f : values) {
            uint32_t bits = 0;
            std::memcpy(&bits, &f, 4);
            dword(bits);
        }
        return *this;
    }
    /** A triangle mesh of three vertices, opened but not closed. */
    Tokens& triangleMesh()
    {
        return name("Mesh")
            .open()
            .ints({3})
            .floats({0, 0, 0, 1, 0, 0, 0, 1, 0})
            .ints({1, 3, 0, 1, 2});
    }
};

class BinaryXTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        device_ = createDevice(video::EDT_NULL);
        ASSERT_NE(device_, nullptr);
        device_->getLogger()->setLogLevel(ELL_NONE);
    }
    void TearDown() override { device_->drop(); }

    MeshPtr load(const std::string& file, std::string* why = nullptr)
    {
        const std::vector<uint8_t> block = fx::modelBlock(2, file);
        return MeshPtr(vs::loadModelMesh(device_->getSceneManager(), block.data(),
                                         int32_t(block.size()), "model.x", false, why));
    }

    /** The reason a binary file is refused (empty when it loads). */
    std::string refusal(const std::string& file)
    {
        std::string why;
        MeshPtr mesh = load(file, &why);
        EXPECT_EQ(mesh == nullptr, !why.empty());
        return why;
    }

    IrrlichtDevice* device_ = nullptr;
};

std::vector<core::vector3df> positions(const scene::IMesh& mesh)
{
    std::vector<core::vector3df> out;
    for (u32 b = 0; b < mesh.getMeshBufferCount(); ++b)
        for (u32 i = 0; i < mesh.getMeshBuffer(b)->getVertexCount(); ++i)
            out.push_back(mesh.getMeshBuffer(b)->getPosition(i));
    return out;
}

} // namespace

TEST_F(BinaryXTest, BinaryFilesLoadAsTheirTextTwins)
{
    for (float alpha : {-1.0f, 0.5f}) {
        fx::QuadX options;
        options.textureFile = "wood grain.tga";
        options.vertexAlpha = alpha;
        const std::string text = fx::quadX(options);
        std::string wide = text;
        wide.replace(12, 4, "0064");
        for (const std::string& source : {text, wide}) {
            const std::string binary = vs::xfile::binaryFromText(source);
            ASSERT_EQ(BinaryXText::encoding(reinterpret_cast<const uint8_t*>(binary.data()),
                                            binary.size()),
                      BinaryXText::Encoding::Binary);
            MeshPtr fromText = load(text);
            std::string why;
            MeshPtr fromBinary = load(binary, &why);
            ASSERT_TRUE(fromText);
            ASSERT_TRUE(fromBinary) << why;
            EXPECT_EQ(positions(*fromBinary), positions(*fromText));
            ASSERT_EQ(fromBinary->getMeshBufferCount(), fromText->getMeshBufferCount());
            const scene::IMeshBuffer& b = *fromBinary->getMeshBuffer(0);
            const scene::IMeshBuffer& t = *fromText->getMeshBuffer(0);
            EXPECT_EQ(b.getIndexCount(), t.getIndexCount());
            EXPECT_EQ(b.getTCoords(1), t.getTCoords(1));
            EXPECT_EQ(b.getMaterial().MaterialType, t.getMaterial().MaterialType);
            EXPECT_EQ(b.getMaterial().DiffuseColor, t.getMaterial().DiffuseColor);
        }
    }
}

TEST_F(BinaryXTest, CompressedAndForeignHeadersAreRefusedWithTheirReason)
{
    std::string file = vs::xfile::binaryFromText(fx::quadX());
    file.replace(8, 4, "bzip");
    EXPECT_NE(refusal(file).find("compressed"), std::string::npos);
    file.replace(8, 4, "tzip");
    EXPECT_NE(refusal(file).find("compressed"), std::string::npos);
    EXPECT_NE(refusal("not an X file at all").find("not an X file"), std::string::npos);
    file.replace(8, 4, "bin ");
    file.replace(12, 4, "0016");
    EXPECT_FALSE(refusal(file).empty());
}

TEST_F(BinaryXTest, EveryTruncationIsRefusedWithoutReadingPastTheEnd)
{
    const std::string file = vs::xfile::binaryFromText(fx::quadX({"t.bmp"}));
    ASSERT_TRUE(load(file));
    // A cut at a token boundary can still be a sound file; anything else must be refused,
    // and no cut may crash or read beyond the block (the address sanitizer build checks that).
    int refused = 0;
    for (size_t n = 16; n < file.size(); ++n) {
        std::string why;
        MeshPtr mesh = load(file.substr(0, n), &why);
        refused += mesh == nullptr;
        EXPECT_EQ(mesh == nullptr, !why.empty());
    }
    EXPECT_GT(refused, int(file.size()) - 16 - 4);
}

TEST_F(BinaryXTest, CountsAreCheckedAgainstTheBytesLeft)
{
    Tokens hugeInts;
    hugeInts.name("Mesh").open().token(0x06).dword(0xFFFFFFFF).dword(3);
    EXPECT_NE(refusal(hugeInts.bytes).find("integer list of 4294967295 values runs past"),
              std::string::npos);

    Tokens hugeFloats;
    hugeFloats.name("Mesh").open().ints({3}).token(0x07).dword(0x40000000).dword(0);
    EXPECT_NE(refusal(hugeFloats.bytes).find("float list"), std::string::npos);

    Tokens longName;
    longName.token(0x01).dword(1000).bytes += "Mesh";
    EXPECT_NE(refusal(longName.bytes).find("name runs past the end"), std::string::npos);

    Tokens longString;
    longString.triangleMesh().token(0x02).dword(0x7FFFFFFF);
    EXPECT_NE(refusal(longString.bytes).find("string runs past the end"), std::string::npos);

    Tokens cutGuid;
    cutGuid.token(0x05).dword(1);
    EXPECT_NE(refusal(cutGuid.bytes).find("GUID cut off"), std::string::npos);
}

TEST_F(BinaryXTest, BadTokensAndValuesAreRefused)
{
    Tokens nan;
    nan.name("Mesh").open().ints({3}).floats({0, 0, 0, 1, 0, 0, 0, std::nanf(""), 0});
    EXPECT_NE(refusal(nan.bytes).find("non-finite"), std::string::npos);

    Tokens infinite;
    infinite.name("Mesh").open().ints({3}).floats({0, 0, 0, 1, 0, 0, 0, HUGE_VALF, 0});
    EXPECT_NE(refusal(infinite.bytes).find("non-finite"), std::string::npos);

    Tokens unknown;
    unknown.triangleMesh().token(0x99).close();
    EXPECT_NE(refusal(unknown.bytes).find("unknown token 153"), std::string::npos);

    Tokens quote;
    quote.triangleMesh().token(0x02).dword(3);
    quote.bytes += "a\"b";
    quote.token(0x14).close();
    EXPECT_NE(refusal(quote.bytes).find("quote"), std::string::npos);

    Tokens unterminated;
    unterminated.triangleMesh().token(0x02).dword(1);
    unterminated.bytes += "a";
    unterminated.token(0x0A).close();
    EXPECT_NE(refusal(unterminated.bytes).find("not followed by"), std::string::npos);

    Tokens emptyName;
    emptyName.triangleMesh().name("").close();
    EXPECT_NE(refusal(emptyName.bytes).find("empty name"), std::string::npos);

    Tokens open;
    open.triangleMesh();
    EXPECT_NE(refusal(open.bytes).find("left open"), std::string::npos);

    Tokens stray;
    stray.triangleMesh().close().close();
    EXPECT_NE(refusal(stray.bytes).find("closing brace without"), std::string::npos);

    Tokens sound;
    sound.triangleMesh().close();
    EXPECT_EQ(refusal(sound.bytes), "");
}

TEST_F(BinaryXTest, NestingTemplatesAndReferencesAreBounded)
{
    auto nested = [](int depth) {
        Tokens t;
        for (int i = 0; i < depth - 1; ++i)
            t.name("Frame").open();
        t.triangleMesh().close();
        for (int i = 0; i < depth - 1; ++i)
            t.close();
        return t.bytes;
    };
    // The text checks take frames 32 deep; the token stream stops at 64 braces.
    EXPECT_EQ(refusal(nested(32)), "");
    EXPECT_NE(refusal(nested(BinaryXText::kMaxDepth + 1)).find("nested deeper than 64"),
              std::string::npos);

    Tokens fine;
    fine.token(0x1F).name("Vector").open().token(0x05).bytes += std::string(16, '\x22');
    fine.token(0x2A)
        .name("x")
        .token(0x14)
        .token(0x0E)
        .token(0x12)
        .token(0x12)
        .token(0x12)
        .token(0x0F)
        .close();
    fine.triangleMesh().close();
    EXPECT_EQ(refusal(fine.bytes), "");

    Tokens many;
    for (int i = 0; i <= BinaryXText::kMaxTemplates; ++i)
        many.token(0x1F).name("T").open().token(0x29).name("n").token(0x14).close();
    many.triangleMesh().close();
    EXPECT_NE(refusal(many.bytes).find("more than 1024 templates"), std::string::npos);

    Tokens nestedBrace;
    nestedBrace.token(0x1F).name("T").open().open().close().close();
    EXPECT_NE(refusal(nestedBrace.bytes).find("brace nested in a template"), std::string::npos);

    Tokens noBrace;
    noBrace.token(0x1F).name("T").token(0x29).open().close();
    EXPECT_NE(refusal(noBrace.bytes).find("template without an opening brace"), std::string::npos);

    Tokens longTemplate;
    longTemplate.token(0x1F).name("T").open();
    for (int i = 0; i < BinaryXText::kMaxTemplateTokens; ++i)
        longTemplate.token(0x29);
    longTemplate.close();
    EXPECT_NE(refusal(longTemplate.bytes).find("template longer than"), std::string::npos);

    Tokens references;
    references.triangleMesh();
    for (int i = 0; i <= BinaryXText::kMaxReferences; ++i)
        references.open().name("m").close();
    references.close();
    EXPECT_NE(refusal(references.bytes).find("references"), std::string::npos);
}

TEST_F(BinaryXTest, NamesWithAnyBytesStayOneNameAndReferencesFindTheirMaterial)
{
    // A material named with spaces, braces, quotes and comment starters, referenced by name:
    // in the text form it must stay one name, or the reference would miss (or the braces
    // would swallow the mesh).
    const std::string odd = "red # // {;\"} %20";
    Tokens t;
    t.name("Material").name(odd).open().floats({1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}).close();
    t.triangleMesh()
        .name("MeshMaterialList")
        .open()
        .ints({1, 1, 0})
        .open()
        .name(odd)
        .close()
        .close()
        .close();
    std::string why;
    MeshPtr mesh = load(t.bytes, &why);
    ASSERT_TRUE(mesh) << why;
    ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
    EXPECT_EQ(mesh->getMeshBuffer(0)->getMaterial().DiffuseColor, video::SColor(255, 255, 0, 0));

    std::string error;
    const std::string text = BinaryXText::toText(reinterpret_cast<const uint8_t*>(t.bytes.data()),
                                                 t.bytes.size(), error);
    EXPECT_NE(text.find("red%20%23%20%2F%2F%20%7B%3B%22%7D%20%2520"), std::string::npos);
}

TEST_F(BinaryXTest, SampleBinaryModelsReadAsTheEnginesOwnBinaryReaderReadsThem)
{
    // The engine's binary reader is an independent reading of the same tokens: for the pack's
    // binary models it must see the very triangles the checked text form gives.
    for (const char* name : {"sofa.x", "floorlamp.x"}) {
        QFile file(QString(VS_TEST_SOURCE_DIR) + "/data/pack/meshes/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray bytes = file.readAll();
        const std::string binary(bytes.constData(), size_t(bytes.size()));
        ASSERT_EQ(binary.compare(8, 4, "bin "), 0) << name;

        std::string why;
        MeshPtr checked = load(binary, &why);
        ASSERT_TRUE(checked) << name << ": " << why;
        io::IReadFile* input = device_->getFileSystem()->createMemoryReadFile(
            const_cast<char*>(bytes.constData()), s32(bytes.size()), "engine.x", false);
        scene::IAnimatedMesh* engine = device_->getSceneManager()->getMesh(input);
        input->drop();
        ASSERT_NE(engine, nullptr) << name;
        const scene::IMesh& direct = *engine->getMesh(0);
        ASSERT_EQ(checked->getMeshBufferCount(), direct.getMeshBufferCount()) << name;
        for (u32 b = 0; b < direct.getMeshBufferCount(); ++b) {
            const scene::IMeshBuffer& x = *checked->getMeshBuffer(b);
            const scene::IMeshBuffer& y = *direct.getMeshBuffer(b);
            ASSERT_EQ(x.getIndexCount(), y.getIndexCount()) << name << " buffer " << b;
            for (u32 i = 0; i < x.getIndexCount(); ++i) {
                const u16 p = x.getIndices()[i];
                const u16 q = y.getIndices()[i];
                EXPECT_TRUE(x.getPosition(p).equals(y.getPosition(q), 1e-4f));
                EXPECT_TRUE(x.getNormal(p).equals(y.getNormal(q), 1e-4f));
                EXPECT_LT((x.getTCoords(p) - y.getTCoords(q)).getLength(), 1e-4f);
            }
            EXPECT_EQ(x.getMaterial().DiffuseColor, y.getMaterial().DiffuseColor);
        }
        device_->getSceneManager()->getMeshCache()->removeMesh(engine);
    }
}
