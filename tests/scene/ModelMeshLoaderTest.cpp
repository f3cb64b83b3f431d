#include "scene/meshes/ModelMeshLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <CDynamicMeshBuffer.h>

#include "scene/MeshFixtures.h"

using namespace irr;
namespace fx = vs::fixtures;

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

std::vector<u32> indicesOf(const scene::IMeshBuffer& b)
{
    std::vector<u32> out;
    for (u32 i = 0; i < b.getIndexCount(); ++i)
        out.push_back(b.getIndexType() == video::EIT_16BIT
                          ? b.getIndices()[i]
                          : reinterpret_cast<const u32*>(b.getIndices())[i]);
    return out;
}

std::vector<uint8_t> xBlock(const fx::QuadX& options = {})
{
    return fx::modelBlock(2, fx::quadX(options));
}

fx::Quad3ds quad3dsWith(std::string texture = "", int transparency = 0, bool keyframes = false)
{
    fx::Quad3ds options;
    options.withMaterial = true;
    options.textureFile = std::move(texture);
    options.transparencyPercent = transparency;
    options.withKeyframes = keyframes;
    return options;
}

class ModelMeshLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        device_ = createDevice(video::EDT_NULL);
        ASSERT_NE(device_, nullptr);
        device_->getLogger()->setLogLevel(ELL_NONE);
        smgr_ = device_->getSceneManager();
    }
    void TearDown() override { device_->drop(); }

    MeshPtr load(const std::vector<uint8_t>& block, bool zUp = false)
    {
        return MeshPtr(vs::loadModelMesh(smgr_, block.data(), int32_t(block.size()), "model", zUp));
    }

    /** Type of the single buffer of an X quad whose material names `texture`, which the
     *  driver already holds. */
    video::E_MATERIAL_TYPE xMaterialWithCachedTexture(const std::string& texture)
    {
        video::IVideoDriver* driver = smgr_->getVideoDriver();
        u32 texel = 0xFFFFFFFF;
        video::IImage* image = driver->createImageFromData(
            video::ECF_A8R8G8B8, core::dimension2d<u32>(1, 1), &texel, false, false);
        driver->addTexture(texture.c_str(), image);
        image->drop();
        MeshPtr mesh = load(xBlock({texture}));
        EXPECT_TRUE(mesh);
        if (!mesh)
            return video::EMT_FORCE_32BIT;
        EXPECT_NE(mesh->getMeshBuffer(0)->getMaterial().getTexture(0), nullptr);
        return mesh->getMeshBuffer(0)->getMaterial().MaterialType;
    }

    IrrlichtDevice* device_ = nullptr;
    scene::ISceneManager* smgr_ = nullptr;
};

} // namespace

TEST_F(ModelMeshLoaderTest, Loads3dsAndXQuadsWithoutTouchingTheEngineState)
{
    const u32 loaders = smgr_->getMeshLoaderCount();
    const u32 cached = smgr_->getMeshCache()->getMeshCount();

    MeshPtr threeDs = load(fx::modelBlock(1, fx::quad3ds(quad3dsWith())));
    ASSERT_TRUE(threeDs);
    ASSERT_EQ(threeDs->getMeshBufferCount(), 1u);
    EXPECT_EQ(threeDs->getMeshBuffer(0)->getVertexCount(), 6u); // the loader unshares corners
    EXPECT_EQ(threeDs->getMeshBuffer(0)->getIndexCount(), 6u);

    MeshPtr x = load(xBlock());
    ASSERT_TRUE(x);
    ASSERT_EQ(x->getMeshBufferCount(), 1u);
    EXPECT_EQ(x->getMeshBuffer(0)->getVertexCount(), 4u);
    EXPECT_EQ(x->getMeshBuffer(0)->getIndexCount(), 6u);
    EXPECT_FLOAT_EQ(x->getBoundingBox().MaxEdge.X, 10.f);

    EXPECT_EQ(smgr_->getMeshLoaderCount(), loaders);
    EXPECT_EQ(smgr_->getMeshCache()->getMeshCount(), cached);
    EXPECT_EQ(threeDs->getReferenceCount(), 1);
    EXPECT_EQ(x->getReferenceCount(), 1);
}

TEST_F(ModelMeshLoaderTest, KeyframedAndUntexturedFilesStillLoad)
{
    // Keyframes are left out before loading; a texture missing on disk only leaves layer 0 empty.
    MeshPtr keyed = load(fx::modelBlock(1, fx::quad3ds(quad3dsWith("", 0, true))));
    ASSERT_TRUE(keyed);
    EXPECT_EQ(keyed->getMeshBuffer(0)->getIndexCount(), 6u);

    MeshPtr missing3ds = load(fx::modelBlock(1, fx::quad3ds(quad3dsWith("no/such/leaf.tga"))));
    ASSERT_TRUE(missing3ds);
    EXPECT_EQ(missing3ds->getMeshBuffer(0)->getMaterial().getTexture(0), nullptr);
    MeshPtr missingX = load(xBlock({"no_such_leaf.tga"}));
    ASSERT_TRUE(missingX);
    EXPECT_EQ(missingX->getMeshBuffer(0)->getMaterial().MaterialType, video::EMT_SOLID);
}

TEST_F(ModelMeshLoaderTest, ZUpExchangesSecondAndThirdIndexOfEveryTriangle)
{
    for (const auto& block : {fx::modelBlock(1, fx::quad3ds()), xBlock()}) {
        MeshPtr plain = load(block, false);
        MeshPtr zUp = load(block, true);
        ASSERT_TRUE(plain && zUp);
        const auto a = indicesOf(*plain->getMeshBuffer(0));
        const auto b = indicesOf(*zUp->getMeshBuffer(0));
        ASSERT_EQ(a.size(), b.size());
        for (size_t i = 0; i < a.size(); i += 3) {
            EXPECT_EQ(b[i], a[i]);
            EXPECT_EQ(b[i + 1], a[i + 2]);
            EXPECT_EQ(b[i + 2], a[i + 1]);
        }
    }
}

TEST_F(ModelMeshLoaderTest, TextureNameEndingGivesAlphaChannelTransparency)
{
    EXPECT_EQ(xMaterialWithCachedTexture("leaf.tga"), video::EMT_TRANSPARENT_ALPHA_CHANNEL);
    EXPECT_EQ(xMaterialWithCachedTexture("FENCE.GIF"), video::EMT_TRANSPARENT_ALPHA_CHANNEL);
    EXPECT_EQ(xMaterialWithCachedTexture("wood.png"), video::EMT_SOLID);
    EXPECT_EQ(xMaterialWithCachedTexture(".tga"), video::EMT_SOLID); // too short to count
}

TEST_F(ModelMeshLoaderTest, TgaTextureOnDiskMakes3dsBufferAlphaChannel)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("leaf.tga");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const auto tga = fx::pixelTga(0x80FF0000);
    file.write(reinterpret_cast<const char*>(tga.data()), qint64(tga.size()));
    file.close();

    MeshPtr mesh = load(fx::modelBlock(1, fx::quad3ds(quad3dsWith(path.toStdString()))));
    ASSERT_TRUE(mesh);
    EXPECT_NE(mesh->getMeshBuffer(0)->getMaterial().getTexture(0), nullptr);
    EXPECT_EQ(mesh->getMeshBuffer(0)->getMaterial().MaterialType,
              video::EMT_TRANSPARENT_ALPHA_CHANNEL);
}

TEST_F(ModelMeshLoaderTest, VertexAlphaBelowOpaqueGivesVertexAlphaTransparency)
{
    MeshPtr x = load(xBlock({"wood.png", true, 0.5f}));
    ASSERT_TRUE(x);
    EXPECT_EQ(x->getMeshBuffer(0)->getMaterial().MaterialType, video::EMT_TRANSPARENT_VERTEX_ALPHA);
    MeshPtr opaque = load(xBlock({"", true, 1.0f}));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->getMeshBuffer(0)->getMaterial().MaterialType, video::EMT_SOLID);

    MeshPtr threeDs = load(fx::modelBlock(1, fx::quad3ds(quad3dsWith("", 40))));
    ASSERT_TRUE(threeDs);
    const auto* corner =
        static_cast<const video::S3DVertex*>(threeDs->getMeshBuffer(0)->getVertices());
    EXPECT_LT(corner->Color.getAlpha(), 255u);
    EXPECT_EQ(threeDs->getMeshBuffer(0)->getMaterial().MaterialType,
              video::EMT_TRANSPARENT_VERTEX_ALPHA);
}

TEST_F(ModelMeshLoaderTest, BadBlocksGiveNoMesh)
{
    const auto good = fx::modelBlock(1, fx::quad3ds());
    EXPECT_FALSE(vs::loadModelMesh(smgr_, nullptr, 100, "m", false));
    EXPECT_FALSE(vs::loadModelMesh(nullptr, good.data(), int32_t(good.size()), "m", false));
    EXPECT_FALSE(vs::loadModelMesh(smgr_, good.data(), -5, "m", false));
    for (int32_t n = 0; n < 4; ++n)
        EXPECT_FALSE(vs::loadModelMesh(smgr_, good.data(), n, "m", false)) << n;
    EXPECT_FALSE(load(fx::modelBlock(4, fx::quad3ds()))); // only the format is named
    EXPECT_FALSE(load(fx::modelBlock(0, fx::quad3ds())));
    EXPECT_FALSE(load(fx::modelBlock(3, fx::quad3ds())));
    EXPECT_FALSE(load(fx::modelBlock(2, fx::quad3ds())));          // 3DS bytes named X
    EXPECT_FALSE(load(fx::modelBlock(1, fx::quadX())));            // X text named 3DS
    EXPECT_FALSE(load(fx::modelBlock(1, std::vector<uint8_t>{}))); // code alone
    EXPECT_FALSE(load(fx::modelBlock(2, std::string("xof 0303bin 0032"))));
}

TEST_F(ModelMeshLoaderTest, InconsistentFilesThatWouldTripTheEngineAreRefused)
{
    // A chunk shorter than its own header sends the engine's 3DS reader into an endless loop.
    auto shortChunk = fx::quad3ds();
    const uint8_t empty[6] = {0x10, 0x01, 0, 0, 0, 0};
    shortChunk.insert(shortChunk.begin() + 6, empty, empty + 6);
    shortChunk[2] += 6;
    EXPECT_FALSE(load(fx::modelBlock(1, shortChunk)));

    // A face-material list naming face 7 of 2 would be read past the faces.
    auto faceRef = fx::quad3ds(quad3dsWith());
    const uint8_t list[] = {'m', 'a', 't', 0, 2, 0, 0, 0, 1, 0};
    auto at = std::search(faceRef.begin(), faceRef.end(), std::begin(list), std::end(list));
    ASSERT_NE(at, faceRef.end());
    at[8] = 7;
    EXPECT_FALSE(load(fx::modelBlock(1, faceRef)));

    // X face, material and normal indices beyond their arrays.
    std::string x = fx::quadX();
    EXPECT_FALSE(load(fx::modelBlock(2, std::string(x).replace(x.find("3;0,2,3"), 7, "3;0,2,9"))));
    EXPECT_FALSE(load(fx::modelBlock(2, std::string(x).replace(x.find("  0;;"), 5, "  1;;"))));
    const std::string normals = " MeshNormals {\n  1;\n  0.0;0.0;1.0;;\n  2;\n  3;0,0,0;,\n"
                                "  3;0,0,5;;\n }\n";
    EXPECT_FALSE(load(fx::modelBlock(2, std::string(x).insert(x.rfind('}'), normals))));
    std::string okNormals = normals;
    okNormals.replace(okNormals.find("0,0,5"), 5, "0,0,0");
    EXPECT_TRUE(load(fx::modelBlock(2, std::string(x).insert(x.rfind('}'), okNormals))));
}

TEST_F(ModelMeshLoaderTest, TruncatedFilesGiveNoMeshWithoutCrashing)
{
    const auto threeDs = fx::quad3ds(quad3dsWith("leaf.tga", 0, true));
    for (size_t n = 0; n < threeDs.size(); ++n) {
        std::vector<uint8_t> cut(threeDs.begin(), threeDs.begin() + long(n));
        EXPECT_FALSE(load(fx::modelBlock(1, cut))) << n;
    }
    const std::string x = fx::quadX({"leaf.tga", true, 0.5f});
    const size_t lastBrace = x.rfind('}');
    for (size_t n = 0; n < x.size(); ++n) {
        MeshPtr mesh = load(fx::modelBlock(2, x.substr(0, n)));
        if (n <= lastBrace) {
            EXPECT_FALSE(mesh) << n;
        }
    }
}

TEST_F(ModelMeshLoaderTest, CorruptedBytesNeverBreakTheMesh)
{
    const std::vector<std::vector<uint8_t>> files = {
        fx::modelBlock(1, fx::quad3ds(quad3dsWith("leaf.tga", 30, true))),
        xBlock({"leaf.tga", true, 0.5f})};
    for (const auto& file : files) {
        for (size_t i = 4; i < file.size(); ++i) {
            for (uint8_t value : {uint8_t(0), uint8_t(0xFF), uint8_t(file[i] ^ 0x01), uint8_t('9'),
                                  uint8_t(';'), uint8_t('}')}) {
                auto bad = file;
                bad[i] = value;
                MeshPtr mesh = load(bad);
                if (!mesh)
                    continue;
                for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b) {
                    const scene::IMeshBuffer& buffer = *mesh->getMeshBuffer(b);
                    for (u32 index : indicesOf(buffer))
                        ASSERT_LT(index, buffer.getVertexCount()) << i;
                }
            }
        }
    }
}

TEST(ModelMeshHelpersTest, ReverseTrianglesHandles32BitIndicesAndPartialTriangles)
{
    scene::CDynamicMeshBuffer buffer(video::EVT_STANDARD, video::EIT_32BIT);
    for (u32 i : {0u, 1u, 2u, 70000u, 70001u, 70002u, 5u})
        buffer.getIndexBuffer().push_back(i);
    vs::reverseTriangles(buffer);
    EXPECT_EQ(indicesOf(buffer), (std::vector<u32>{0, 2, 1, 70000, 70002, 70001, 5}));
}

TEST(ModelMeshHelpersTest, TransparencyLeavesEmptyBuffersAlone)
{
    scene::SMeshBuffer buffer;
    buffer.Material.MaterialType = video::EMT_SOLID;
    vs::applyModelTransparency(buffer);
    EXPECT_EQ(buffer.Material.MaterialType, video::EMT_SOLID);
}

namespace {

std::vector<uint8_t> xText(const std::string& body)
{
    return fx::modelBlock(2, "xof 0303txt 0032\n" + body);
}

const std::string kTriangle = "Mesh {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n"
                              " 1;\n 3;0,1,2;;\n";

} // namespace

TEST_F(ModelMeshLoaderTest, XNameWithEmbeddedZeroNeverReachesTheEngine)
{
    // Found by the fuzzer: the engine reads "Mesh\0" as "Mesh" and then built buffers from a
    // mesh without vertices, writing far outside them.
    static const char crash[] = "xof 0303txt 0032\nMesh\0{.1}";
    EXPECT_FALSE(load(fx::modelBlock(2, std::string(crash, sizeof crash - 1))));
    static const char named[] = "xof 0303txt 0032\nMesh qu\0ad {\n 3;\n 0.0;0.0;0.0;,\n"
                                " 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n 1;\n 3;0,1,2;;\n}\n";
    EXPECT_FALSE(load(fx::modelBlock(2, std::string(named, sizeof named - 1))));
    EXPECT_TRUE(load(xText(kTriangle + "}\n")));
}

TEST_F(ModelMeshLoaderTest, XFramesPolygonsNormalsAndMaterialReferencesLoad)
{
    const std::string file = "template Vector {\n <3D82AB5E-62DA-11cf-AB39-0020AF71E433>\n"
                             " FLOAT x;\n FLOAT y;\n FLOAT z;\n}\n"
                             "Header {\n 1;\n 0;\n 1;\n}\n"
                             "Material Red {\n 1.0;0.0;0.0;1.0;;\n 12.5;\n 0.2;0.2;0.2;;\n"
                             " 0.0;0.0;0.0;;\n}\n"
                             "Frame Root {\n FrameTransformMatrix {\n"
                             "  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n"
                             " }\n Mesh box {\n  5;\n  0.0;0.0;0.0;,\n  1.0;0.0;0.0;,\n"
                             "  1.0;1.0;0.0;,\n  0.0;1.0;0.0;,\n  2.0;0.0;-1.5e-1;;\n"
                             "  2;\n  4;0,1,2,3;,\n  3;1,4,2;;\n"
                             "  MeshNormals {\n   1;\n   0.0;0.0;1.0;;\n   2;\n"
                             "   4;0,0,0,0;,\n   3;0,0,0;;\n  }\n"
                             "  MeshMaterialList {\n   2;\n   2;\n   0,\n   1;;\n   { Red }\n"
                             "   Material {\n    0.0;0.0;1.0;1.0;;\n    0.0;\n    0.0;0.0;0.0;;\n"
                             "    0.0;0.0;0.0;;\n   }\n  }\n"
                             "  VertexDuplicationIndices {\n   5;\n   5;\n   0,1,2,3,4;\n  }\n"
                             " }\n}\n"
                             "AnimationSet {\n Animation {\n  { Root }\n  AnimationKey {\n"
                             "   0;\n   1;\n   0;4;1.0,0.0,0.0,0.0;;;\n  }\n }\n}\n";
    MeshPtr mesh = load(xText(file));
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->getMeshBufferCount(), 2u);
    const scene::IMeshBuffer& red = *mesh->getMeshBuffer(0);
    EXPECT_EQ(red.getIndexCount(), 6u); // the quad, split in two
    EXPECT_EQ(red.getMaterial().DiffuseColor, video::SColor(255, 255, 0, 0));
    EXPECT_FLOAT_EQ(red.getMaterial().Shininess, 12.5f);
    const auto* corner = static_cast<const video::S3DVertex*>(red.getVertices());
    EXPECT_EQ(corner->Normal, core::vector3df(0, 0, 1));
    const scene::IMeshBuffer& blue = *mesh->getMeshBuffer(1);
    EXPECT_EQ(blue.getIndexCount(), 3u);
    EXPECT_EQ(blue.getMaterial().DiffuseColor, video::SColor(255, 0, 0, 255));
    EXPECT_FLOAT_EQ(mesh->getBoundingBox().MaxEdge.X, 2.f);
    EXPECT_FLOAT_EQ(mesh->getBoundingBox().MinEdge.Z, -0.15f);
}

TEST_F(ModelMeshLoaderTest, XFilesTheRebuildCannotVouchForAreRefused)
{
    const std::string tail = "}\n";
    // Objects the loader would merge in its own way, numbers it would misread or overflow.
    EXPECT_FALSE(load(xText(kTriangle + " MeshTextureCoords {\n 1;\n 0.0;0.0;;\n }\n" +
                            " MeshTextureCoords {\n 1;\n 0.0;0.0;;\n }\n" + tail)));
    EXPECT_FALSE(
        load(xText(std::string(kTriangle).replace(kTriangle.find("1.0"), 3, "1.#QNAN0") + tail)));
    EXPECT_FALSE(
        load(xText(std::string(kTriangle).replace(kTriangle.find("1.0"), 3, "1e39") + tail)));
    EXPECT_FALSE(
        load(xText(std::string(kTriangle).replace(kTriangle.find(" 3;\n"), 4, " 3.0;\n") + tail)));
    // Vertex colour and texture coordinate arrays must stay inside the vertices.
    EXPECT_FALSE(
        load(xText(kTriangle + " MeshVertexColors {\n 1;\n 3;1.0;1.0;1.0;1.0;;;\n }\n" + tail)));
    EXPECT_FALSE(load(xText(kTriangle + " MeshTextureCoords {\n 4;\n" +
                            " 0.0;0.0;,\n 0.0;0.0;,\n 0.0;0.0;,\n 0.0;0.0;;\n }\n" + tail)));
    // Only faces make a mesh: empty ones are left out, and a file of nothing but them refused.
    EXPECT_FALSE(load(xText("Mesh {\n 0;;\n 0;;\n}\nMesh {\n 1;\n 0.0;0.0;0.0;;\n 0;;\n}\n")));
    EXPECT_TRUE(load(xText("Mesh {\n 0;;\n 0;;\n}\n" + kTriangle + tail)));
}

TEST_F(ModelMeshLoaderTest, AbsurdXNestingAndMaterialCountsAreRefused)
{
    std::string nested = kTriangle + "}\n";
    for (int i = 0; i < 40; ++i)
        nested = "Frame {\n" + nested + "}\n";
    EXPECT_FALSE(load(xText(nested)));

    // Every reference copies the named material: thousands of them are refused, not built.
    std::string refs;
    for (int i = 0; i < 5000; ++i)
        refs += "{m}";
    const std::string named = "Material m {\n 1.0;1.0;1.0;1.0;;\n 0.0;\n 0.0;0.0;0.0;;\n"
                              " 0.0;0.0;0.0;;\n}\n";
    const std::string list = " MeshMaterialList {\n 1;\n 1;\n 0;;\n";
    EXPECT_FALSE(load(xText(named + kTriangle + list + refs + " }\n}\n")));
    EXPECT_TRUE(load(xText(named + kTriangle + list + "{m}\n }\n}\n")));
}

TEST_F(ModelMeshLoaderTest, Repeated3dsArrayChunksAreRefused)
{
    // Found by the fuzzer: the engine allocates an object's texture coordinates anew for each
    // chunk and loses the earlier array. MAIN > EDITOR > OBJECT "q" > TRIMESH with vertices,
    // one face and two texture coordinate chunks.
    // clang-format off
    static const uint8_t repeated[] = {
        0x4D, 0x4D, 150, 0, 0, 0,
        0x3D, 0x3D, 144, 0, 0, 0,
        0x00, 0x40, 138, 0, 0, 0, 'q', 0,
        0x00, 0x41, 130, 0, 0, 0,
        0x10, 0x41, 44, 0, 0, 0, 3, 0, // vertices
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0x80, 0x3F, 0, 0, 0, 0,
        0x20, 0x41, 16, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0, 0, 0, // faces
        0x40, 0x41, 32, 0, 0, 0, 3, 0, // texture coordinates
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0x40, 0x41, 32, 0, 0, 0, 3, 0, // and again
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    // clang-format on
    std::vector<uint8_t> file(std::begin(repeated), std::end(repeated));
    EXPECT_FALSE(load(fx::modelBlock(1, file)));

    file.resize(file.size() - 32); // one texture coordinate chunk: the lengths shrink by 32
    for (size_t at : {2u, 8u, 14u, 22u})
        file[at] -= 32;
    MeshPtr once = load(fx::modelBlock(1, file));
    ASSERT_TRUE(once);
    EXPECT_EQ(once->getMeshBuffer(0)->getIndexCount(), 3u);
}
