// The host's design: grid origins, host and tile edits mirrored from the module, the solid
// element, and saving.
#include "AtomicFile.h"
#include "HostDesign.h"
#include "HostErrors.h"
#include "HostTestSupport.h"
#include "PlaneGrid.h"
#include "TileRange.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using vhost::HostDesign;
using vhost::TileRange;

namespace {

// A root plane whose outline starts left of and above grid line 0 (origin cell -1, -1), and a
// docked child with its own grid.
const char* kDesign =
    R"(<design id="1" gridWidth="3000" gridHeight="3000" realGridOffset="1000,1000"
        outlinePoints="0,0 12000,0 12000,9000 0,9000">
  <tiles>
    <tile tileTypeId="1101" rotateDegree="0" gx="0" gy="0"/>
    <tile tileTypeId="1101" rotateDegree="0" gx="1" gy="0"/>
    <tile tileTypeId="1201" rotateDegree="0" gx="2" gy="0"/>
    <tile tileTypeId="1101" rotateDegree="0" gx="3" gy="1"/>
  </tiles>
  <hosts><host id="11" hostTypeId="2101" rotateDegree="0" gx="2" gy="2"/></hosts>
  <children>
    <plane id="2" gridWidth="6000" gridHeight="6000" outlinePoints="6000,6000 12000,6000 12000,9000 6000,9000">
      <hosts><host id="40" hostTypeId="2103" rotateDegree="270" rx="100" ry="200"/></hosts>
    </plane>
  </children>
  <solid decimillimeter="1"><viewState/></solid>
</design>)";

bool panelSize(int32_t id, int32_t& w, int32_t& h, int32_t& tower)
{
    if (id != 1101 && id != 1201)
        return false;
    w = h = id == 1101 ? 3000 : 6000;
    tower = id == 1201 ? 400 : 0;
    return true;
}

} // namespace

TEST(PlaneGridTest, OriginCellHoldsTheOutlineCorner)
{
    HostDesign design = HostDesign::fromText(kDesign);
    const auto grid = vhost::PlaneGrid::fromPlane(design.plane(1));
    EXPECT_EQ(-1, grid.originCol);
    EXPECT_EQ(-1, grid.originRow);
    EXPECT_EQ(-3000, grid.columnLine(-1));
    EXPECT_EQ(0, grid.columnAt(0));
    EXPECT_EQ(-1, grid.columnAt(-1));
    EXPECT_EQ(1, grid.columnAt(3000));
    EXPECT_EQ(2, grid.columnsToCover(0, 6000));
    EXPECT_EQ(3, grid.columnsToCover(0, 6001));
}

TEST(PlaneGridTest, SpecialColumnsMoveLinesOnBothSides)
{
    const HostDesign design = HostDesign::fromText(
        R"(<d id="1" gridWidth="6000" gridHeight="6000" specialGridCols="1,1000,-2,500" outlinePoints="0,0 1,1"/>)");
    const auto grid = vhost::PlaneGrid::fromPlane(design.plane(1));
    EXPECT_EQ(6000, grid.columnLine(1));
    EXPECT_EQ(7000, grid.columnLine(2));
    EXPECT_EQ(13000, grid.columnLine(3));
    EXPECT_EQ(-6000, grid.columnLine(-1));
    EXPECT_EQ(-6500, grid.columnLine(-2));
    EXPECT_EQ(1, grid.columnAt(6500));
    EXPECT_EQ(-2, grid.columnAt(-6200));
}

TEST(PlaneGridTest, RefusesAGridWithoutSize)
{
    const HostDesign design =
        HostDesign::fromText(R"(<d id="1" gridWidth="0" gridHeight="3000"/>)");
    EXPECT_THROW(vhost::PlaneGrid::fromPlane(design.plane(1)), std::invalid_argument);
}

TEST(TileRangeTest, ParsesRangeAndRuns)
{
    const TileRange r = TileRange::parse("2,7,2,3,4,5,6,7");
    EXPECT_EQ(2, r.first);
    EXPECT_EQ(7, r.last);
    ASSERT_EQ(3u, r.runs.size());
    EXPECT_EQ(4, r.runs[1].first);
    EXPECT_EQ(5, r.runs[1].last);
    EXPECT_TRUE(TileRange::parse("-3,-1").runs.empty());
    EXPECT_EQ(-3, TileRange::parse("-3,-1,-3,-2").runs[0].first);
}

TEST(TileRangeTest, RefusesMalformedText)
{
    for (const char* bad : {"", "1", "1,2,3", "1,,2", "a,b", "1,2,5,4", "1,2,99999999999,1"})
        EXPECT_THROW(TileRange::parse(bad), std::invalid_argument) << bad;
    EXPECT_THROW(TileRange::parse(nullptr), std::invalid_argument);
}

TEST(DesignEditTest, NewHostIdsAreUniqueAcrossPlanes)
{
    HostDesign design = HostDesign::fromText(kDesign);
    EXPECT_EQ(41, design.nextHostId());
    const int32_t a = design.addHost(1, 2101, 4, 2, 0, false);
    const int32_t b = design.addHost(2, 2101, 4, 2, 0, false);
    EXPECT_EQ(41, a);
    EXPECT_EQ(42, b);
    EXPECT_THROW(design.addHost(9, 2101, 0, 0, 0, false), std::invalid_argument);
}

TEST(DesignEditTest, AddedHostsAreStoredRelativeToThePlane)
{
    HostDesign design = HostDesign::fromText(kDesign);
    design.addHost(1, 2101, 3, 0, 450, false); // absolute cell (3, 0), origin (-1, -1)
    design.addHost(1, 2103, 500, -2500, 90, true);
    const auto hosts = design.hosts(1);
    ASSERT_EQ(3u, hosts.size());
    EXPECT_EQ(4, hosts[1].x);
    EXPECT_EQ(1, hosts[1].y);
    EXPECT_EQ(90, hosts[1].rotateDegree);
    EXPECT_TRUE(hosts[2].free);
    EXPECT_DOUBLE_EQ(3500, hosts[2].x); // grid-relative 500 minus the first line at -3000
    EXPECT_DOUBLE_EQ(500, hosts[2].y);
}

TEST(DesignEditTest, MovesRotatesAndDeletesHosts)
{
    HostDesign design = HostDesign::fromText(kDesign);
    EXPECT_TRUE(design.moveHost(1, 11, 1, -2));
    EXPECT_TRUE(design.moveHost(2, 40, 250.5, -200));
    EXPECT_FALSE(design.moveHost(2, 11, 1, 1)); // host 11 is on plane 1
    EXPECT_TRUE(design.rotateHost(2, 40, 90));
    EXPECT_TRUE(design.rotateHost(1, 11, 270));
    EXPECT_EQ(3, design.hosts(1)[0].x);
    EXPECT_EQ(0, design.hosts(1)[0].y);
    EXPECT_EQ(270, design.hosts(1)[0].rotateDegree);
    EXPECT_DOUBLE_EQ(350.5, design.hosts(2)[0].x);
    EXPECT_DOUBLE_EQ(0, design.hosts(2)[0].y);
    EXPECT_EQ(0, design.hosts(2)[0].rotateDegree);
    EXPECT_TRUE(design.deleteHost(2, 40));
    EXPECT_FALSE(design.deleteHost(2, 40));
    EXPECT_TRUE(design.hosts(2).empty());
}

TEST(DesignEditTest, LayTilesReplacesOnlyTilesWhollyInsideTheRuns)
{
    HostDesign design = HostDesign::fromText(kDesign);
    // Absolute columns -1 .. 1 and rows -1 .. -1: design cells gx 0 .. 2, gy 0.
    const TileRange cols = TileRange::parse("-1,1,-1,-1,0,0,1,1");
    const TileRange rows = TileRange::parse("-1,-1,-1,-1");
    EXPECT_EQ(3, design.layTiles(1, 1201, 90, cols, rows, panelSize));
    const auto tiles = design.tiles(1);
    // The 600 tile at gx 2 reaches column 2 (absolute), outside the runs: it stays.
    ASSERT_EQ(5u, tiles.size());
    EXPECT_EQ(1201, tiles[0].typeId);
    EXPECT_EQ(2, tiles[0].x);
    EXPECT_EQ(3, tiles[1].x); // the tile on row 1 stays
    for (size_t i = 2; i < 5; ++i) {
        EXPECT_EQ(1201, tiles[i].typeId);
        EXPECT_EQ(90, tiles[i].rotateDegree);
        EXPECT_EQ(int(i) - 2, tiles[i].x);
        EXPECT_EQ(0, tiles[i].y);
    }
    EXPECT_NE(std::string::npos, design.text().find("tower=\"400\""));
}

TEST(DesignEditTest, LaysEveryCombinationOfColumnAndRowRuns)
{
    HostDesign design = HostDesign::fromText(
        R"(<d id="1" gridWidth="3000" gridHeight="3000" outlinePoints="0,0 9000,9000"/>)");
    EXPECT_EQ(6, design.layTiles(1, 1101, 0, TileRange::parse("0,2,0,0,1,1,2,2"),
                                 TileRange::parse("0,1,0,0,1,1"), panelSize));
    const auto tiles = design.tiles(1);
    ASSERT_EQ(6u, tiles.size());
    EXPECT_EQ(2, tiles[2].x); // rows outer, columns inner
    EXPECT_EQ(1, tiles[3].y);
    EXPECT_THROW(
        design.layTiles(5, 1101, 0, TileRange::parse("0,0"), TileRange::parse("0,0"), panelSize),
        std::invalid_argument);
}

TEST(DesignEditTest, ShortNamedDesignsStayShortNamed)
{
    HostDesign design = HostDesign::fromText(
        R"(<d _df="1" _ag="3000" _af="3000" _am="0,0 6000,6000"><_ao><h _df="3" _b3="2101" _at="0" _au="0"/></_ao></d>)");
    EXPECT_EQ(1u, design.hosts(1).size());
    EXPECT_TRUE(design.moveHost(1, 3, 1, 1));
    design.addHost(1, 2101, 0, 1, 0, false);
    design.layTiles(1, 1101, 0, TileRange::parse("0,0,0,0"), TileRange::parse("0,0,0,0"),
                    panelSize);
    const std::string text = design.text();
    EXPECT_EQ(std::string::npos, text.find("hostTypeId"));
    EXPECT_EQ(std::string::npos, text.find("<tiles"));
    EXPECT_NE(std::string::npos, text.find("<_an"));
    EXPECT_EQ(1, design.hosts(1)[0].x);
}

TEST(SolidElementTest, ReplaceKeepsTheCeilingAndDropsTheOldSolid)
{
    HostDesign design = HostDesign::fromText(kDesign);
    design.replaceSolid(R"(<_dg decimillimeter="1"><_dk _dl="4"/></_dg>)");
    const std::string text = design.text();
    EXPECT_EQ(std::string::npos, text.find("<solid"));
    EXPECT_NE(std::string::npos, text.find("<_dg"));
    EXPECT_EQ(2u, design.hosts(1).size() + design.hosts(2).size());
    EXPECT_EQ(4u, design.tiles(1).size());
    EXPECT_THROW(design.replaceSolid("<_dg>"), std::invalid_argument);
    EXPECT_THROW(design.replaceSolid("<walls/>"), std::invalid_argument);
    EXPECT_NE(std::string::npos, design.solidText().find("_dl=\"4\""));
}

TEST(SolidElementTest, ComposeLeavesTheDesignAlone)
{
    HostDesign design = HostDesign::fromText(kDesign);
    const std::string before = design.text();
    const std::string composed = design.composedWith(R"(<_dg a="1"/>)");
    EXPECT_EQ(before, design.text());
    EXPECT_NE(std::string::npos, composed.find("<_dg a=\"1\""));
    EXPECT_NE(std::string::npos, composed.find("<tiles>"));
    EXPECT_EQ(std::string::npos, composed.find("<solid"));
}

TEST(DesignFileTest, SaveKeepsThePreviousVersion)
{
    hosttest::ScratchDir dir;
    const std::string path = dir.write("room.xml", kDesign);
    HostDesign design = HostDesign::load(path);
    design.addHost(1, 2101, 0, 0, 0, false);
    design.save(path);
    EXPECT_EQ(kDesign, vhost::readTextFile(path + "~"));
    EXPECT_EQ(3u, HostDesign::load(path).hosts(1).size() + HostDesign::load(path).hosts(2).size());
    size_t files = 0; // no temporary file is left behind
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files += entry.is_regular_file();
    EXPECT_EQ(2u, files);
}

TEST(DesignFileTest, AFailedSaveLeavesTheFileAsItWas)
{
    hosttest::ScratchDir dir;
    const std::string path = dir.write("room.xml", kDesign);
    // The backup cannot be written: a folder stands where it would go.
    ::mkdir((path + "~").c_str(), 0755);
    dir.write("room.xml~/blocker", "x");
    HostDesign design = HostDesign::load(path);
    design.addHost(1, 2101, 0, 0, 0, false);
    EXPECT_THROW(design.save(path), vhost::FileError);
    EXPECT_EQ(kDesign, vhost::readTextFile(path));
    EXPECT_THROW(vhost::saveAtomically(dir.path() + "/no/such/folder/x.xml", "x"),
                 vhost::FileError);
}

TEST(DesignFileTest, BadDesignFilesAreRefused)
{
    hosttest::ScratchDir dir;
    EXPECT_THROW(HostDesign::load(dir.path() + "/missing.xml"), vhost::FileError);
    EXPECT_THROW(HostDesign::load(dir.write("bad.xml", "<design><tiles></design>")),
                 std::invalid_argument);
    EXPECT_THROW(HostDesign::fromText(""), std::invalid_argument);
}
