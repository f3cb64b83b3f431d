// Applying a solid sample on the documents: the mapping of the two rooms, the footprints kept
// inside, the walls matched for their decorations, and the exchange that undo relies on.
#include "ceiling/SolidSampleMapping.h"
#include "catalogue/CFacilityModel.h"
#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CSolidDocument.h"
#include "support/ListDesignCatalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using vs::WallSegment;

/** One wall item with a band of tile model `tile` and, when `flat` is non-zero, a door of
 *  model `flat` at `doorX` along the wall. */
std::string wall(int index, int tile, int flat = 0, int doorX = 1000)
{
    std::string flats;
    if (flat != 0)
        flats = "<flatFacility facilityModelId='" + std::to_string(flat) + "' position='" +
                std::to_string(doorX) + ",0' flatSize='9000,21000'/>";
    return "<wall index='" + std::to_string(index) +
           "'><wallParts><wallPart visible='true' relativeBottom='0' height='24000' "
           "facilityModelId='" +
           std::to_string(tile) + "' ceramicTileSize='3000,3000'/></wallParts><flatFacilities>" +
           flats + "</flatFacilities></wall>";
}

/** A free-standing facility of model 801. */
std::string facility(const std::string& position, const std::string& size, int rotate = 0)
{
    return "<solidFacility facilityModelId='801' position='" + position + "' size='" + size +
           "' rotateDegree='" + std::to_string(rotate) +
           "' customZoom='0.5' correctExtent='1,2,3' emissive='20'/>";
}

/** A design over `outline` with four walls (or `walls`) and `facilities`. */
std::string design(const std::string& outline, const std::string& walls,
                   const std::string& facilities)
{
    return "<design name='Room' gridWidth='3000' gridHeight='3000' outlinePoints='" + outline +
           "' realGridOffset='0,0'><solid decimillimeter='1' outlinePoints='" + outline +
           "'><viewState><trackball currentQuaternion='0,0,0,1'/></viewState>"
           "<floor facilityModelId='-7'/><walls>" +
           walls + "</walls><solidFacilities>" + facilities + "</solidFacilities></solid></design>";
}

std::string rectangle(double left, double top, double right, double bottom)
{
    auto n = [](double v) { return std::to_string(static_cast<long long>(v)); };
    return n(left) + "," + n(top) + " " + n(right) + "," + n(top) + " " + n(right) + "," +
           n(bottom) + " " + n(left) + "," + n(bottom);
}

/** Four walls with tiles 601 to 604 and a door (701) on wall 2. */
std::string fourWalls()
{
    return wall(0, 601) + wall(1, 602) + wall(2, 603, 701) + wall(3, 604);
}

class SolidSampleMappingTest : public ::testing::Test
{
protected:
    SolidSampleMappingTest()
    {
        catalogue_.addBuiltInModels();
        for (int id = 601; id <= 605; ++id)
            catalogue_.addModel(id, 0, 3000, 3000, 4);
        catalogue_.addModel(701, 0, 9000, 21000, 2);
        catalogue_.addModel(801, 0, 5000, 5000, 1);
    }

    std::unique_ptr<CSolidDocument> read(const std::string& text)
    {
        auto document = std::make_unique<CSolidDocument>();
        vs::readDesign(text, *document, 1, catalogue_);
        return document;
    }

    /** The tile model id of each wall's first band (0 for a wall without bands). */
    static std::vector<int> wallTiles(const std::vector<vs::WallDecoration>& walls)
    {
        std::vector<int> ids;
        for (const auto& w : walls)
            ids.push_back(w.wallParts.empty() ? 0 : w.wallParts[0]->facilityModel->id);
        return ids;
    }

    testsupport::ListDesignCatalogue catalogue_;
};

// ---- The mapping and the walls ----------------------------------------------------------

TEST(SampleMappingTest, AQuarterTurnExchangesTheStretch)
{
    const RRect sample{0, 0, 40000, 30000};
    const RRect room{0, 0, 30000, 40000};
    const vs::SampleMapping turned(sample, room, 90);
    EXPECT_DOUBLE_EQ(1.0, turned.scaleX());
    EXPECT_DOUBLE_EQ(1.0, turned.scaleY());
    EXPECT_EQ((RPoint{0, 40000}), turned.map({0, 0})); // corner onto corner
    EXPECT_EQ((RPoint{30000, 0}), turned.map({40000, 30000}));
    // Unturned or half turned, the same rooms are squeezed one way and stretched the other.
    for (double angle : {0.0, 180.0}) {
        const vs::SampleMapping m(sample, room, angle);
        EXPECT_DOUBLE_EQ(0.75, m.scaleX());
        EXPECT_NEAR(4.0 / 3.0, m.scaleY(), 1e-12);
    }
}

/** A wall of `length` through `middle`, turned by `degrees`. */
WallSegment turnedWall(RPoint middle, double degrees, double length)
{
    const double r = degrees * M_PI / 180;
    const RPoint half{std::cos(r) * length / 2, std::sin(r) * length / 2};
    return {{middle.x - half.x, middle.y - half.y}, {middle.x + half.x, middle.y + half.y}, true};
}

TEST(SampleWallMatchTest, AWallTurnedBy29DegreesMatchesAndOneTurnedBy30DoesNot)
{
    const std::vector<WallSegment> sample{{{0, 0}, {10000, 0}, true}};
    for (double degrees : {29.0, -29.0, 331.0})
        EXPECT_EQ(std::vector<int>{0},
                  vs::matchSampleWalls(sample, {turnedWall({5000, 1000}, degrees, 12000)}))
            << degrees;
    for (double degrees : {30.0, -30.0, 330.0, 180.0})
        EXPECT_EQ(std::vector<int>{-1},
                  vs::matchSampleWalls(sample, {turnedWall({5000, 1000}, degrees, 12000)}))
            << degrees;
}

TEST(SampleWallMatchTest, CompetingWallsGoInSampleOrderAndOnlyProjectionsInsideCount)
{
    // Both sample walls run along x; the second lies nearer to room wall 0, but the first
    // takes it and the second gets the next best, room wall 1 farther off, or none.
    const std::vector<WallSegment> sample{{{0, 500}, {10000, 500}, true},
                                          {{0, 100}, {10000, 100}, true}};
    const std::vector<WallSegment> room{{{0, 0}, {10000, 0}, true},
                                        {{0, 3000}, {10000, 3000}, true},
                                        {{10000, 0}, {10000, 3000}, true}};
    EXPECT_EQ((std::vector<int>{0, 1}), vs::matchSampleWalls(sample, room));
    EXPECT_EQ((std::vector<int>{0, -1}), vs::matchSampleWalls(sample, {room[0], room[2]}));

    // The midpoint (5000, 0) projects onto the first wall's start and beyond the second's
    // end: neither counts, however near; the third, farther, does.
    const std::vector<WallSegment> one{{{0, 0}, {10000, 0}, true}};
    EXPECT_EQ(std::vector<int>{2}, vs::matchSampleWalls(one, {{{5000, 100}, {9000, 100}, true},
                                                              {{0, 100}, {4000, 100}, true},
                                                              {{0, 900}, {9000, 900}, true},
                                                              WallSegment{}}));
}

// ---- Whole documents --------------------------------------------------------------------------

TEST_F(SolidSampleMappingTest, TheSameRoomAtNoAngleKeepsEverythingInPlaceWhereverItIsDrawn)
{
    // The sample is the room drawn elsewhere in the plan: positions count from each room's own
    // corner.
    const std::string facilities = facility("3000,0,3400", "6000,18000,6750", 180) +
                                   facility("19500,0,16000", "10000,7500,7000", 0) +
                                   facility("2970,4000,19000", "7950,9000,5900", 270);
    const auto sample =
        read(design(rectangle(100000, 50000, 130000, 74000), fourWalls(), facilities));
    const auto room =
        read(design(rectangle(0, 0, 30000, 24000),
                    wall(0, 605) + wall(1, 605) + wall(2, 605) + wall(3, 605, 701, 20000),
                    facility("1000,0,1000", "500,500,500")));

    vs::SolidContents contents = vs::mapSolidSample(*sample, *room, 0);
    ASSERT_EQ(3u, contents.solidFacilities.size());
    for (size_t i = 0; i < 3; ++i) {
        const CSolidFacility& from = *sample->solidFacilities[i];
        const CSolidFacility& to = *contents.solidFacilities[i];
        EXPECT_EQ(from.position, to.position) << i;
        EXPECT_EQ(from.rotateDegree, to.rotateDegree) << i;
        EXPECT_EQ(from.size, to.size) << i;
        EXPECT_EQ(from.customZoom, to.customZoom) << i;
        EXPECT_EQ(from.emissive, to.emissive) << i;
        EXPECT_EQ(from.facilityModel, to.facilityModel) << i;
        EXPECT_EQ(Vec3f{}, to.correctExtent) << i; // taken from the mesh again
    }
    EXPECT_EQ((std::vector<int>{601, 602, 603, 604}), wallTiles(contents.walls));
    ASSERT_EQ(1u, contents.walls[2].flatFacilities.size());
    EXPECT_EQ((RPoint{1000, 0}), contents.walls[2].flatFacilities[0]->position);
    EXPECT_TRUE(contents.walls[3].flatFacilities.empty()); // the room's own door goes
    EXPECT_NE(sample->walls[0]->wallParts[0].get(), contents.walls[0].wallParts[0].get());
}

TEST_F(SolidSampleMappingTest, AQuarterTurnMapsA4000By3000SampleOntoA3000By4000RoomUnstretched)
{
    // A 2 m x 1 m table 500 mm from the sample's left and top walls.
    const auto sample = read(design(rectangle(0, 0, 40000, 30000), fourWalls(),
                                    facility("15000,0,10000", "20000,7500,10000", 0)));
    const auto room = read(design(rectangle(0, 0, 30000, 40000), fourWalls(), ""));
    const vs::SolidContents contents = vs::mapSolidSample(*sample, *room, 90);
    ASSERT_EQ(1u, contents.solidFacilities.size());
    const CSolidFacility& table = *contents.solidFacilities[0];
    EXPECT_FLOAT_EQ(90, table.rotateDegree);
    EXPECT_EQ(sample->solidFacilities[0]->size, table.size);
    // The turn takes the sample's left wall to the room's bottom and its top wall to the
    // room's left: the table keeps its 500 mm from both, now standing across.
    EXPECT_FLOAT_EQ(5000 + 5000, table.position.x);
    EXPECT_FLOAT_EQ(40000 - 5000 - 10000, table.position.z);
    // Sample wall 0 (the top, running +x) turned runs up the plan: the room's left wall 3; each
    // of the others lands on its turned counterpart likewise.
    EXPECT_EQ((std::vector<int>{602, 603, 604, 601}), wallTiles(contents.walls));
}

TEST_F(SolidSampleMappingTest, FootprintsStayInsideTheRoom)
{
    // A 4 m x 1 m sofa against the sample's left wall, squeezed into a room half as wide: its
    // stretched place would put it half outside; it is moved in until it touches the wall.
    // A 6 m long bench is longer than the 4 m room is deep: it is centred on the room.
    const auto sample = read(design(rectangle(0, 0, 60000, 40000), fourWalls(),
                                    facility("5000,0,20000", "10000,8000,40000", 0) +
                                        facility("30000,0,20000", "60000,4000,4000", 90)));
    const auto room = read(design(rectangle(0, 0, 30000, 40000), fourWalls(), ""));
    const vs::SolidContents contents = vs::mapSolidSample(*sample, *room, 0);
    ASSERT_EQ(2u, contents.solidFacilities.size());
    EXPECT_FLOAT_EQ(5000, contents.solidFacilities[0]->position.x); // 2500 stretched, 2500 in
    EXPECT_FLOAT_EQ(20000, contents.solidFacilities[0]->position.z);
    EXPECT_FLOAT_EQ(15000, contents.solidFacilities[1]->position.x);
    EXPECT_FLOAT_EQ(20000, contents.solidFacilities[1]->position.z);
    EXPECT_DOUBLE_EQ(-40, vs::shiftInside(-20, 300, 0, 200)); // too wide: centred
}

TEST_F(SolidSampleMappingTest, AnInvertedSampleIsMatchedByItsMirroredOutline)
{
    const std::string outline = rectangle(0, 0, 30000, 24000);
    auto sample = read(design(outline, fourWalls(), ""));
    const auto room = read(design(outline, fourWalls(), ""));
    EXPECT_EQ((std::vector<int>{601, 602, 603, 604}),
              wallTiles(vs::mapSolidSample(*sample, *room, 0).walls));
    // Mirrored top to bottom, the walls along y run the other way: the right wall's decoration
    // goes to the wall running up (the left) and the left's to the right.
    sample->inverted = true;
    EXPECT_EQ((std::vector<int>{601, 604, 603, 602}),
              wallTiles(vs::mapSolidSample(*sample, *room, 0).walls));
}

TEST_F(SolidSampleMappingTest, StuckFacilitiesStayBehindUnmatchedWallsLoseTheirDecoration)
{
    // A triangle sample: its slanted wall matches nothing in a rectangular room, and neither
    // room wall it leaves over keeps its own decoration. Its door, 5 m along a 3 m wall, is
    // moved back onto the wall.
    auto sample = read(design(
        "0,0 30000,0 0,24000", wall(0, 601, 701, 50000) + wall(1, 602) + wall(2, 603),
        facility("5000,0,5000", "2000,2000,2000") + facility("6000,0,6000", "2000,2000,2000")));
    sample->solidFacilities[1]->stickWall = sample->walls[0].get();
    const auto room = read(design(rectangle(0, 0, 30000, 24000), fourWalls(), ""));
    const vs::SolidContents contents = vs::mapSolidSample(*sample, *room, 0);
    ASSERT_EQ(1u, contents.solidFacilities.size());
    EXPECT_EQ(nullptr, contents.solidFacilities[0]->stickWall);
    EXPECT_EQ((std::vector<int>{601, 0, 0, 603}), wallTiles(contents.walls));
    ASSERT_EQ(1u, contents.walls[0].flatFacilities.size());
    EXPECT_DOUBLE_EQ(30000 - 9000, contents.walls[0].flatFacilities[0]->position.x);
}

TEST_F(SolidSampleMappingTest, ExchangingTwiceGivesBackTheRoomByteForByte)
{
    const auto sample = read(design(rectangle(0, 0, 40000, 30000), fourWalls(),
                                    facility("7000,0,15000", "20000,7500,10000", 30)));
    const auto room = read(design(rectangle(0, 0, 30000, 24000),
                                  wall(0, 605, 701) + wall(1, 605) + wall(2, 605) + wall(3, 605),
                                  facility("1000,0,1000", "500,500,500")));
    const std::string before = vs::writeSolid(*room);
    vs::SolidContents contents = vs::mapSolidSample(*sample, *room, 270);
    vs::exchangeSolidContents(*room, contents);
    const std::string applied = vs::writeSolid(*room);
    EXPECT_NE(before, applied);
    vs::exchangeSolidContents(*room, contents);
    EXPECT_EQ(before, vs::writeSolid(*room));
    vs::exchangeSolidContents(*room, contents);
    EXPECT_EQ(applied, vs::writeSolid(*room));

    // Contents for another number of walls, rooms without an outline and angles that are no
    // number are refused, changing nothing.
    vs::SolidContents wrong;
    wrong.walls.resize(3);
    EXPECT_THROW(vs::exchangeSolidContents(*room, wrong), std::invalid_argument);
    CSolidDocument empty;
    EXPECT_THROW(vs::mapSolidSample(empty, *room, 0), std::invalid_argument);
    EXPECT_THROW(vs::mapSolidSample(*sample, empty, 0), std::invalid_argument);
    EXPECT_THROW(vs::mapSolidSample(*sample, *room, NAN), std::invalid_argument);
    EXPECT_EQ(applied, vs::writeSolid(*room));
}

} // namespace
