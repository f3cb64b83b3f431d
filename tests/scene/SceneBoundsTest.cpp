// The bounds on what one build of a room's scene makes: wall and floor tiles of at least 1 cm,
// and a budget of triangles that an absurd design runs into instead of exhausting memory.
#include "SceneFixtures.h"

#include "scene/MeshBuffers.h"
#include "scene/RoomScene.h"
#include "scene/SceneBudget.h"
#include "scene/WallScene.h"

#include <gtest/gtest.h>

using namespace irr;
using scenefix::SceneCatalogue;

namespace {

uint64_t triangles(scene::IMesh* mesh)
{
    uint64_t count = 0;
    for (u32 b = 0; mesh != nullptr && b < mesh->getMeshBufferCount(); ++b)
        count += mesh->getMeshBuffer(b)->getIndexCount() / 3;
    return count;
}

/** A room of `width` x `depth` decimillimetres whose walls and floor ask for tiles of
 *  `tile` x `tile`. */
class SceneBoundsTest : public ::testing::Test
{
protected:
    void read(double width, double depth, int tile, int bands = 1)
    {
        document = scenefix::readRoom(scenefix::roomDesign(width, depth), catalogue);
        document->floor->ceramicTileSize = IntSize{tile, tile};
        for (auto& wall : document->walls) {
            wall->wallParts.clear();
            for (int b = 0; b < bands; ++b) {
                auto part = std::make_unique<CWallPart>();
                part->definition.relativeBottom = 24000.0 * b / bands;
                part->definition.height = 24000.0 / bands;
                part->ceramicTileSize = IntSize{tile, tile};
                wall->wallParts.push_back(std::move(part));
            }
        }
    }
    void build() { vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document); }
    void TearDown() override
    {
        if (document)
            vs::ReleaseRoomScene(*document);
    }
    uint64_t wallTriangles() const
    {
        uint64_t count = 0;
        for (auto& wall : document->walls)
            for (auto& part : wall->wallParts)
                if (vs::wallPartNode(*part) != nullptr)
                    count += triangles(vs::wallPartNode(*part)->getMesh());
        return count;
    }

    SceneTestDevice engine;
    SceneCatalogue catalogue;
    std::unique_ptr<CSolidDocument> document;
};

} // namespace

TEST_F(SceneBoundsTest, WallTilesOfATenthOfAMillimetreAreDrawnAtOneCentimetre)
{
    // A 3 m x 2 m room: one-unit tiles would be 30000 x 24000 cells a wall.
    read(30000, 20000, 1);
    build();
    // At 1 cm: (300 + 200) * 2 walls * 240 rows cells, two triangles a cell, front and back.
    const uint64_t atOneCentimetre = 2 * (300 + 200) * 240 * 2 * 2;
    EXPECT_GT(wallTriangles(), 0u);
    EXPECT_LE(wallTriangles(), atOneCentimetre);
    EXPECT_FALSE(vs::lastSceneOverBudget());
}

TEST_F(SceneBoundsTest, AHallOfCentimetreTilesRunsIntoTheBudgetAndSaysSo)
{
    // 100 m square, each wall in ten bands of millions of 1 cm tiles.
    read(1000000, 1000000, 100, 10);
    testing::internal::CaptureStderr();
    build();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(vs::lastSceneOverBudget());
    EXPECT_NE(said.find("triangles"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
    EXPECT_LE(wallTriangles(), vs::kMaxSceneTriangles);
    // The room node exists and the next, ordinary build is whole again.
    EXPECT_NE(document->roomNode, nullptr);
    vs::ReleaseRoomScene(*document);
    read(60000, 40000, 6000);
    build();
    EXPECT_FALSE(vs::lastSceneOverBudget());
}

TEST(SceneBudgetTest, ChargesOnlyDuringABuildAndRefusesWhatDoesNotFit)
{
    EXPECT_TRUE(vs::chargeSceneTriangles(vs::kMaxSceneTriangles * 10));
    {
        vs::SceneBudget budget;
        EXPECT_TRUE(vs::chargeSceneTriangles(vs::kMaxSceneTriangles - 10));
        EXPECT_FALSE(vs::chargeSceneTriangles(11));
        EXPECT_TRUE(budget.exceeded());
        // What still fits is still granted.
        EXPECT_TRUE(vs::chargeSceneTriangles(10));
        EXPECT_FALSE(vs::chargeSceneTriangles(1));
        testing::internal::CaptureStderr();
    }
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(vs::lastSceneOverBudget());
    EXPECT_TRUE(vs::chargeSceneTriangles(vs::kMaxSceneTriangles * 10));
    scene::SMesh* mesh = nullptr;
    {
        vs::SceneBudget budget;
        vs::chargeSceneTriangles(vs::kMaxSceneTriangles);
        std::vector<video::S3DVertex> v(3);
        mesh = vs::makeMesh(v, {0, 1, 2});
    }
    EXPECT_EQ(mesh->getMeshBufferCount(), 0u);
    mesh->drop();
}
