// A model whose mesh data cannot be read: one line on stderr naming the model and the reason, and
// its facilities drawn and picked as their boxes; a model without mesh data stays silent.
#include "FacilityFixtures.h"
#include "SceneTestDevice.h"
#include "catalogue/HostCallbacks.h"
#include "scene/CCustomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/StandInBox.h"
#include "scene/meshes/UnreadableMeshMessage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace irr;
using namespace vs::fixtures;

namespace {

std::string g_block; // what GetModelData hands out; empty for nothing

void getModelData(int32, void** block, int32* size)
{
    *block = nullptr;
    *size = 0;
    if (g_block.empty())
        return;
    *block = std::malloc(g_block.size());
    std::memcpy(*block, g_block.data(), g_block.size());
    *size = int32(g_block.size());
}

void freeModelData(void* block)
{
    std::free(block);
}

std::string block(uint32_t code, const std::string& file)
{
    std::string out(4, '\0');
    std::memcpy(out.data(), &code, 4);
    return out + file;
}

struct UnreadableRoom
{
    UnreadableRoom()
    {
        callbacks.getModelData = getModelData;
        callbacks.freeModelData = freeModelData;
        FacilityModelInfo info;
        info.id = 42;
        info.name = "broken sofa.x";
        model = std::make_unique<CFacilityModel>(info, &callbacks);
    }
    ~UnreadableRoom() { vs::releaseFacilityNodes(*document); }

    CSolidFacility& add(const Vec3f& size) { return addFacility(*document, model.get(), size); }
    void build(CSolidFacility& f)
    {
        vs::buildFacilityNode(f, engine.smgr()->getRootSceneNode(), *document);
    }

    SceneTestDevice engine;
    HostCallbacks callbacks;
    std::unique_ptr<CFacilityModel> model;
    std::unique_ptr<CSolidDocument> document = rectangularRoom();
};

void expectNear(const core::aabbox3df& box, const core::vector3df& min, const core::vector3df& max)
{
    const float tolerance = 0.05f;
    EXPECT_NEAR(box.MinEdge.X, min.X, tolerance);
    EXPECT_NEAR(box.MinEdge.Y, min.Y, tolerance);
    EXPECT_NEAR(box.MinEdge.Z, min.Z, tolerance);
    EXPECT_NEAR(box.MaxEdge.X, max.X, tolerance);
    EXPECT_NEAR(box.MaxEdge.Y, max.Y, tolerance);
    EXPECT_NEAR(box.MaxEdge.Z, max.Z, tolerance);
}

} // namespace

TEST(UnreadableMeshTest, FacilitiesShowTheirBoxAndTheModelIsReportedOnce)
{
    g_block = block(2, std::string("xof 0303bin 0032\x06\x00\xff\xff\xff\xff", 22));
    UnreadableRoom room;
    CSolidFacility& sofa = room.add({2000, 900, 800});
    sofa.position = {10000, 0, 5000};
    CSolidFacility& second = room.add({1000, 500, 400});
    second.correctExtent = {100, 50, 40}; // kept from an earlier good load: scale 10

    testing::internal::CaptureStderr();
    room.build(sofa);
    room.build(second);
    vs::releaseFacilityNodes(*room.document);
    room.model->releaseEngineObjects(); // a new engine loads again, but says nothing again
    room.build(sofa);
    room.build(second);
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(err, "VantrelSolid: model 42 \"broken sofa.x\": mesh cannot be read: binary X: "
                   "integer list of 4294967295 values runs past the end of the file at byte 16; "
                   "drawn as a box\n");
    EXPECT_TRUE(room.model->meshUnreadable());
    for (CSolidFacility* f : {&sofa, &second}) {
        ASSERT_NE(vs::facilityNode(*f), nullptr);
        ASSERT_NE(vs::facilityNode(*f)->meshNode(), nullptr);
        EXPECT_NE(vs::facilitySelector(*f), nullptr); // picked by its box
        EXPECT_EQ(vs::facilityMesh(*f), nullptr);     // nothing of the model's
    }
    expectNear(worldBox(vs::facilityNode(sofa)->meshNode()), {9000, 0, 4600}, {11000, 900, 5400});
    expectNear(worldBox(vs::facilityNode(second)->meshNode()), {-500, 0, -200}, {500, 500, 200});
    EXPECT_EQ(sofa.correctExtent.x, 0); // the stored reference extent is left alone
}

TEST(UnreadableMeshTest, ModelsWithoutMeshDataStaySilentAndEmpty)
{
    for (const std::string& data : {std::string(), block(7, "xof 0303txt 0032")}) {
        g_block = data;
        UnreadableRoom room;
        CSolidFacility& f = room.add({100, 100, 100});
        testing::internal::CaptureStderr();
        room.build(f);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_FALSE(room.model->meshUnreadable());
        ASSERT_NE(vs::facilityNode(f), nullptr);
        EXPECT_EQ(vs::facilityNode(f)->meshNode(), nullptr);
    }
}

TEST(UnreadableMeshTest, StandInBoxIsClosedAndFacesOutward)
{
    const core::aabbox3df box = vs::standInBoxBounds({0, 2, 0}, {4, 8, 6});
    EXPECT_EQ(box.MinEdge, core::vector3df(-2, 0, -3));
    EXPECT_EQ(box.MaxEdge, core::vector3df(2, 2, 3));
    scene::SMesh* mesh = vs::makeStandInBox(box);
    ASSERT_EQ(mesh->getMeshBufferCount(), 1u);
    const scene::IMeshBuffer& b = *mesh->getMeshBuffer(0);
    ASSERT_EQ(b.getIndexCount(), 36u);
    const core::vector3df centre = box.getCenter();
    for (u32 i = 0; i < 36; i += 3) {
        const core::vector3df a = b.getPosition(b.getIndices()[i]);
        const core::vector3df p = b.getPosition(b.getIndices()[i + 1]);
        const core::vector3df c = b.getPosition(b.getIndices()[i + 2]);
        // The engine's front faces wind clockwise in its left-handed frame: (p - a) x (c - a)
        // points out of the box, as does the vertex normal.
        const core::vector3df n = (p - a).crossProduct(c - a);
        EXPECT_GT(n.dotProduct(a - centre), 0) << "triangle " << i / 3;
        EXPECT_GT(b.getNormal(b.getIndices()[i]).dotProduct(n), 0) << "triangle " << i / 3;
    }
    mesh->drop();
}

TEST(UnreadableMeshTest, MessageKeepsLongAndControlCharacterNamesToOneShortLine)
{
    EXPECT_EQ(vs::unreadableMeshMessage(7, "a\nb", "why"),
              "VantrelSolid: model 7 \"a b\": mesh cannot be read: why; drawn as a box");
    std::string longName(79, 'x');
    longName += "\xe6\xb2\x99\xe5\x8f\x91"; // two three-byte characters across the cut
    const std::string message = vs::unreadableMeshMessage(-3, longName, "why");
    EXPECT_NE(message.find("\"" + std::string(79, 'x') + "\u2026\""), std::string::npos);
}
