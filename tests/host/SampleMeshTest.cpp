// The sample pack's meshes load with the engine's own loaders, face outwards and carry normals
// that agree with their faces.
#include "CataloguePack.h"

#include <irrlicht.h>

#include <gtest/gtest.h>

using namespace irr;

TEST(SampleMeshTest, EveryMeshLoadsClosedAndFacingOut)
{
    const auto pack =
        vhost::CataloguePack::load(std::string(VS_TEST_SOURCE_DIR) + "/data/pack/index.xml");
    SIrrlichtCreationParameters params;
    params.DriverType = video::EDT_NULL;
    params.LoggingLevel = ELL_NONE;
    IrrlichtDevice* device = createDeviceEx(params);
    ASSERT_NE(nullptr, device);
    int meshes = 0;
    for (const auto& model : pack.models()) {
        if (!model.mesh)
            continue;
        ++meshes;
        const char* name = model.meshFormat == vhost::kMesh3ds ? "m.3ds" : "m.x";
        io::IReadFile* file = device->getFileSystem()->createMemoryReadFile(
            const_cast<uint8_t*>(model.mesh->data()), s32(model.mesh->size()), name, false);
        scene::IAnimatedMesh* mesh = device->getSceneManager()->getMesh(file);
        file->drop();
        ASSERT_NE(nullptr, mesh) << model.name;
        double volume = 0;
        int disagreeing = 0;
        scene::IMesh* frame = mesh->getMesh(0);
        for (u32 b = 0; b < frame->getMeshBufferCount(); ++b) {
            scene::IMeshBuffer* buffer = frame->getMeshBuffer(b);
            ASSERT_EQ(video::EVT_STANDARD, buffer->getVertexType());
            const auto* v = static_cast<const video::S3DVertex*>(buffer->getVertices());
            const u16* index = buffer->getIndices();
            for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3) {
                const core::vector3df a = v[index[i]].Pos, c = v[index[i + 1]].Pos,
                                      d = v[index[i + 2]].Pos;
                volume += a.dotProduct(c.crossProduct(d)) / 6;
                core::vector3df n = (c - a).crossProduct(d - a);
                n.normalize();
                disagreeing += n.dotProduct(v[index[i]].Normal) < 0.3f;
            }
        }
        EXPECT_GT(volume, 0) << model.name << ": triangles face inwards";
        EXPECT_EQ(0, disagreeing) << model.name;
        EXPECT_NEAR(0, frame->getBoundingBox().MinEdge.Y, 1) << model.name << " stands on y = 0";
        device->getSceneManager()->getMeshCache()->removeMesh(mesh);
    }
    EXPECT_GE(meshes, 7);
    device->drop();
}
