#include "DesignTexts.h"
#include "FakeDesignCatalogue.h"

#include "ceiling/DesignReader.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace designs;

namespace {

class DesignReaderTest : public ::testing::Test
{
protected:
    CSolidDocument& read(const std::string& text, int scale = 1)
    {
        vs::readDesign(text, document, scale, catalogue);
        return document;
    }
    CGridMapping& root() { return *document.ceiling->root; }

    FakeDesignCatalogue catalogue;
    CSolidDocument document;
};

const std::string kWall = "<wall index='0'><wallParts><wallPart visible='true' height='2000' "
                          "relativeBottom='100' facilityModelId='-2' ceramicTileSize='300,300'/>"
                          "</wallParts></wall>";

} // namespace

TEST_F(DesignReaderTest, DesignWithoutSolidGetsDefaultFloorWallsAndLight)
{
    read(room("squareRoom='true' isBand='' bandVertical='true'"));
    EXPECT_EQ(document.name, "Kitchen");
    EXPECT_TRUE(document.ceiling->squareRoom);
    EXPECT_FALSE(document.ceiling->bandVertical); // only with isBand
    ASSERT_TRUE(document.floor);
    EXPECT_EQ(document.floor->facilityModel->id, -7);
    EXPECT_EQ(document.floor->ceramicTileSize, IntSize());
    ASSERT_EQ(document.walls.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const CWall& wall = *document.walls[static_cast<size_t>(i)];
        EXPECT_EQ(wall.index, i);
        ASSERT_EQ(wall.wallParts.size(), 3u);
        EXPECT_EQ(wall.wallParts[0]->facilityModel->id, -6);
        EXPECT_EQ(wall.wallParts[1]->facilityModel->id, -3);
        EXPECT_EQ(wall.wallParts[2]->facilityModel->id, -4);
    }
    ASSERT_EQ(document.solidLights.size(), 1u);
    ASSERT_EQ(document.defaultSolidLights.size(), 1u);
    EXPECT_TRUE(document.solidLights[0]->isMain);
    EXPECT_EQ(document.solidLights[0]->position, (Vec3f{30000, 14000, 20000}));
    EXPECT_FALSE(document.viewState);
    EXPECT_TRUE(catalogue.loadedSamples.empty());
}

TEST_F(DesignReaderTest, TextThatIsNotXmlGivesTheDefaultRoom)
{
    for (const char* text : {"", "<design", "not xml at all", "<a></b>"}) {
        CSolidDocument doc;
        vs::readDesign(text, doc, 1, catalogue);
        ASSERT_TRUE(doc.ceiling && doc.ceiling->root) << text;
        EXPECT_TRUE(doc.ceiling->root->outlinePoints.empty());
        EXPECT_TRUE(doc.walls.empty());
        EXPECT_EQ(doc.floor->facilityModel->id, -7);
        EXPECT_EQ(doc.solidLights.size(), 1u);
        EXPECT_EQ(doc.defaultSolidLights.size(), 1u);
    }
}

TEST_F(DesignReaderTest, MillimetreSolidIsScaledByTen)
{
    std::string body = "<solid outlinePoints='0,0 6000,0 6000,4000 0,4000'>" + viewState() +
                       "<walls><wall index='0'><flatFacilities><flat facilityModelId='101' "
                       "position='300,2000' flatSize='900,2100'/></flatFacilities></wall></walls>"
                       "<solidFacilities><f facilityModelId='100' position='100,0,50' "
                       "size='60,180,60'/></solidFacilities></solid>";
    read(room("", body));
    ASSERT_EQ(document.solidFacilities.size(), 1u);
    EXPECT_EQ(document.solidFacilities[0]->position, (Vec3f{1000, 0, 500}));
    EXPECT_EQ(document.solidFacilities[0]->size, (Vec3f{600, 1800, 600}));
    const CFlatFacility& flat = *document.walls[0]->flatFacilities[0];
    EXPECT_EQ(flat.position, (RPoint{3000, -4000}));
    EXPECT_EQ(flat.flatSize, (IntSize{9000, 21000}));
}

TEST_F(DesignReaderTest, ViewModesOfOlderDesignsAreConverted)
{
    auto modes = [&](const char* view, const char* work) {
        CSolidDocument doc;
        vs::readDesign(room("", solidWithWall(viewState(std::string("viewMode='") + view +
                                                        "' _dm='" + work + "'"))),
                       doc, 1, catalogue);
        return std::make_pair(doc.viewState->viewMode, doc.viewState->workMode);
    };
    EXPECT_EQ(modes("2", "1"), std::make_pair(4, 5));
    EXPECT_EQ(modes("0", "0"), std::make_pair(5, 4));
    EXPECT_EQ(modes("3", "3"), std::make_pair(5, 4));
    EXPECT_EQ(modes("-1", "2"), std::make_pair(5, 4));
    EXPECT_EQ(modes("7", "5"), std::make_pair(7, 5));
    EXPECT_EQ(modes("6", "4"), std::make_pair(6, 4)); // no child planes
}

TEST_F(DesignReaderTest, ChangeTopWithChildPlanesBecomesGlobe)
{
    std::string child = "<children><c gridWidth='6000' gridHeight='6000' "
                        "outlinePoints='0,0 6000,0 6000,6000 0,6000'/></children>";
    read(room("", child + solidWithWall(viewState("viewMode='6'"))));
    EXPECT_EQ(root().children.size(), 1u);
    EXPECT_EQ(document.viewState->viewMode, 4);
}

TEST_F(DesignReaderTest, DisplayPrefsAbsentKeepDefaultsPresentReplaceThem)
{
    read(room("", solidWithWall(viewState())));
    EXPECT_EQ(document.viewState->fov, 72);
    EXPECT_TRUE(document.viewState->simpleLighting);
    CSolidDocument doc;
    vs::readDesign(room("", solidWithWall("<_dk><_dn _do='0,0,0,1'/><_gf fov='60'/></_dk>")), doc,
                   1, catalogue);
    EXPECT_EQ(doc.viewState->fov, 60);
    EXPECT_FALSE(doc.viewState->simpleLighting);
    EXPECT_EQ(doc.viewState->lowestLayerHeight, 24000);
}

TEST_F(DesignReaderTest, MissingWallsCopyTheFirstWallsParts)
{
    read(room("", solid(viewState() + "<walls>" + kWall + "<wall index='1'/></walls>")));
    ASSERT_EQ(document.walls.size(), 4u);
    EXPECT_EQ(document.walls[1]->index, 1);
    EXPECT_TRUE(document.walls[1]->wallParts.empty());
    for (size_t i : {2u, 3u}) {
        EXPECT_EQ(document.walls[i]->index, static_cast<int>(i));
        ASSERT_EQ(document.walls[i]->wallParts.size(), 1u);
        EXPECT_EQ(document.walls[i]->wallParts[0]->definition.height, 2000);
        EXPECT_EQ(document.walls[i]->wallParts[0]->facilityModel->id, -2);
        EXPECT_EQ(document.walls[i]->wallParts[0]->ceramicTileSize, (IntSize{300, 300}));
    }
}

TEST_F(DesignReaderTest, WallItemsBeyondTheOutlineAreDroppedButCounted)
{
    // Items are taken while fewer than the stored outline's points have been seen; the copies
    // continue from that count.
    read(room("", solid(viewState() + "<walls>" + kWall +
                        "<wall index='9'/><wall index='1'/><wall index='2'/><wall index='3'/>"
                        "<wall index='3'/></walls>")));
    ASSERT_EQ(document.walls.size(), 3u);
    EXPECT_EQ(document.walls[1]->index, 1);
    EXPECT_EQ(document.walls[2]->index, 2);
}

TEST_F(DesignReaderTest, WallPartRelativeTopAndVisibility)
{
    std::string walls = "<walls><wall index='0'><wallParts>"
                        "<p relativeTop='1000' height='2000' visible='true'/>"
                        "<p visible_unused='false' visible='true' relativeBottom='5'/>"
                        "<p visible='True'/></wallParts></wall></walls>";
    read(room("", solid(viewState() + walls)));
    const auto& parts = document.walls[0]->wallParts;
    EXPECT_EQ(parts[0]->definition.relativeBottom, 21000);
    EXPECT_TRUE(parts[0]->definition.visible);
    EXPECT_FALSE(parts[1]->definition.visible);
    EXPECT_EQ(parts[1]->definition.relativeBottom, 5);
    EXPECT_FALSE(parts[2]->definition.visible);
}

TEST_F(DesignReaderTest, FacilitiesOnWallsGroupsAndRejectedItems)
{
    std::string body = viewState() + "<walls>" + kWall +
                       "</walls><solidFacilities>"
                       "<f facilityModelId='100' position='10,20,30' stickWallIndex='0'/>"
                       "<f facilityModelId='100' position='10,20,30' stickWallIndex='5' "
                       "realPosition='100,0,200' realRotateDegree='90'/>"
                       "<f facilityModelId='555'/>"
                       "<f/>"
                       "<f facilityTypeId='7'><children><g facilityModelId='101'/></children>"
                       "<customMaterials><m index='2' facilityModelId='101' offsetX='5' "
                       "scaleX='2'/></customMaterials></f>"
                       "<f><children><g facilityModelId='9999'/></children></f>"
                       "</solidFacilities>";
    read(room("", solid(body)));
    ASSERT_EQ(document.solidFacilities.size(), 3u);
    EXPECT_EQ(document.solidFacilities[0]->stickWall, document.walls[0].get());
    EXPECT_EQ(document.solidFacilities[0]->position, (Vec3f{10, 20, 30}));
    EXPECT_EQ(document.solidFacilities[1]->stickWall, nullptr);
    EXPECT_EQ(document.solidFacilities[1]->position, (Vec3f{100, 0, 200}));
    EXPECT_EQ(document.solidFacilities[1]->rotateDegree, 90);
    EXPECT_EQ(document.solidFacilities[1]->customZoom, -1);
    const CSolidFacility& group = *document.solidFacilities[2];
    EXPECT_EQ(group.facilityModel->id, FakeDesignCatalogue::kFridge); // found by type id 7
    ASSERT_EQ(group.children.size(), 1u);
    ASSERT_EQ(group.customMaterials.size(), 1u);
    EXPECT_EQ(group.customMaterials[0]->index, 2);
    EXPECT_EQ(group.customMaterials[0]->facilityModel->id, FakeDesignCatalogue::kPicture);
    EXPECT_EQ(group.customMaterials[0]->offsetX, 5);
    EXPECT_EQ(group.customMaterials[0]->scaleX, 2);
    EXPECT_EQ(group.customMaterials[0]->scaleY, 0); // absent: 0, not the new-material 1
}

TEST_F(DesignReaderTest, TilesAndHostsResolveTypesAndPlaceOnTheGrid)
{
    std::string body =
        "<tiles><t tileTypeId='11' gx='2' gy='1'/><t tileTypeId='999' gx='0'/>"
        "<t tileTypeId='13' gx='0' gy='3' widthInMm='1200' heightInMm='600' "
        "side='2' tower='50'/></tiles>"
        "<hosts><h hostTypeId='12' gx='4' gy='4' id='5'/>"
        "<h hostTypeId='12' rx='1000' ry='2000' id='6'/><h hostTypeId='77'/></hosts>";
    read(room("", body), 1);
    ASSERT_EQ(root().tiles.size(), 2u);
    EXPECT_EQ(root().tiles[0]->gx, root().originCol + 2);
    EXPECT_EQ(root().tiles[0]->gy, root().originRow + 1);
    EXPECT_EQ(root().tiles[0]->width, 6000);
    EXPECT_EQ(root().tiles[0]->side, -1);
    EXPECT_EQ(root().tiles[1]->width, 1200);
    EXPECT_EQ(root().tiles[1]->side, 2);
    EXPECT_EQ(root().tiles[1]->tower, 50);
    ASSERT_EQ(root().hosts.size(), 2u);
    EXPECT_EQ(root().hosts[0]->id, 5);
    EXPECT_FALSE(root().hosts[0]->freePosition);
    EXPECT_TRUE(root().hosts[1]->freePosition);
    EXPECT_EQ(root().hostById(6), root().hosts[1].get());
}

TEST_F(DesignReaderTest, HostedMainAndPlainLights)
{
    std::string hosts = "<hosts><h hostTypeId='12' gx='4' gy='4' id='5'/></hosts>";
    std::string lights =
        "<solidLights>"
        "<l hostId='5' isVisible='true' position='0,20000,0' diffuseColor='1,1,1,1'/>"
        "<l hostId='42' isMain='true' position='1,2,3' diffuseColor='1,1,1,1'/>"
        "<l isMain='true' position='1,23000,3' diffuseColor='0.5,0.5,0.5,1'/>"
        "<l position='100,200,300' diffuseColor='1,0,0,1' "
        "attenuation='1,0.5,0.25' radius='500'/></solidLights>";
    read(room("", hosts + solidWithWall(viewState() + lights)));
    ASSERT_EQ(document.solidLights.size(), 4u);
    const CSolidLight& hosted = *document.solidLights[0];
    CHost* host = root().hostById(5);
    EXPECT_EQ(hosted.host, host);
    EXPECT_EQ(host->light, &hosted);
    EXPECT_EQ(hosted.position.x, static_cast<float>(host->rect.centre().x));
    EXPECT_EQ(hosted.position.y, 20000);
    const CSolidLight& orphan = *document.solidLights[1];
    EXPECT_FALSE(orphan.isMain);
    EXPECT_EQ(orphan.position, Vec3f());
    const CSolidLight& main = *document.solidLights[2];
    EXPECT_EQ(main.position, (Vec3f{30000, 23000, 20000}));
    EXPECT_EQ(main.diffuseColor.r, 0.5f);
    const CSolidLight& plain = *document.solidLights[3];
    EXPECT_EQ(plain.position, (Vec3f{100, 200, 300}));
    EXPECT_EQ(plain.radius, 500);
    EXPECT_EQ(plain.attenuation, (Vec3f{1, 0.5f, 0.25f}));
    ASSERT_EQ(document.defaultSolidLights.size(), 1u);
    EXPECT_TRUE(document.defaultSolidLights[0]->isMain);
}

TEST_F(DesignReaderTest, MillimetreLightAttenuationIsRescaled)
{
    std::string lights = "<solidLights><l position='1,2,3' diffuseColor='1,1,1,1' "
                         "attenuation='1,0.5,0.25'/></solidLights>";
    read(room("", "<solid outlinePoints='0,0 6000,0 6000,4000 0,4000'>" + viewState() +
                      "<walls><wall/></walls>" + lights + "</solid>"));
    EXPECT_EQ(document.solidLights[0]->attenuation, (Vec3f{1, 0.05f, 0.0025f}));
    EXPECT_EQ(document.solidLights[0]->position, (Vec3f{10, 20, 30}));
}

TEST_F(DesignReaderTest, StaticSampleIsRequestedAfterTheRead)
{
    read(room("", solidWithWall(viewState(),
                                "staticSolidSampleId='0x11' staticSolidSampleImgSize='640,480' "
                                "staticSolidProjectedPoints='1,2 3,4'")));
    EXPECT_EQ(catalogue.loadedSamples, std::vector<int>{17});
    EXPECT_EQ(document.staticSolidSampleImgSize, (IntSize{640, 480}));
    EXPECT_EQ(document.staticSolidProjectedPoints.size(), 2u);
}

TEST_F(DesignReaderTest, SpecialColumnsInAnyOrderAreSortedFirstRepeatKept)
{
    read(room("specialGridCols='5,3000 -2,1200 5,900 1,6000' specialGridRows='3 100'"));
    ASSERT_EQ(root().specialGridCols.size(), 3u);
    EXPECT_EQ(root().specialGridCols[0].index, -2);
    EXPECT_EQ(root().specialGridCols[1].index, 1);
    EXPECT_EQ(root().specialGridCols[2].index, 5);
    EXPECT_EQ(root().specialGridCols[2].size, 3000);
    EXPECT_EQ(root().specialGridRows.size(), 1u);
}

TEST_F(DesignReaderTest, CeilingScaleAppliesToTheCeilingOnly)
{
    read(room("hoist='10' indent='5' rotateDegree='30' realGridOffset='1,2'",
              "<tiles><t tileTypeId='11' widthInMm='60' heightInMm='60'/></tiles>"),
         10);
    EXPECT_EQ(root().gridWidth, 60000);
    EXPECT_EQ(root().outlinePoints[2], (RPoint{600000, 400000}));
    EXPECT_EQ(root().hoist, 100);
    EXPECT_EQ(root().indent, 50);
    EXPECT_EQ(root().rotateDegree, 30);
    EXPECT_EQ(root().realGridOffset, (RPoint{10, 20}));
    EXPECT_EQ(root().tiles[0]->width, 600);
}

TEST_F(DesignReaderTest, IndentAndRotationNeedHoist)
{
    read(room("indent='500' rotateDegree='30'"));
    EXPECT_EQ(root().indent, 0);
    EXPECT_EQ(root().rotateDegree, 0);
}

// Every failure of a malformed design is one std::invalid_argument from readDesign.
TEST_F(DesignReaderTest, MalformedDesignsAreRefusedWithOneError)
{
    const std::string child = "<children><c gridWidth='6000' gridHeight='6000' "
                              "outlinePoints='0,0 6000,0 6000,6000 0,6000' ";
    const std::string cases[] = {
        room("", solid("")),                                    // no view state
        room("", solid("<viewState/>")),                        // no trackball
        room("", solid("<viewState><trackball/></viewState>")), // no quaternion
        room("", solid("<_dk><_dn _do='0,0,1'/></_dk>")),       // three of four
        room("", solidWithWall(viewState() + "<solidLights><l position='1,2,3'/></solidLights>")),
        room("", solidWithWall(viewState() + "<solidFacilities><f facilityModelId='100' "
                                             "position='1,2'/></solidFacilities>")),
        room("", solid(viewState() + "<walls><wall index='0'><flatFacilities><f "
                                     "position='5'/></flatFacilities></wall></walls>")),
        "<design outlinePoints='0,0 10,0 10'/>", // point without y
        room("", solid(viewState())),            // no wall to copy
        room("specialGridCols='0,6000 4,6000' specialGridRows='0,6000 3,6000'",
             child + "dock='0,4,0'/></children>"), // three dock numbers
        room("specialGridCols='0,6000 4,6000' specialGridRows='0,6000 3,6000'",
             child + "dock='0,5,0,3'/></children>"), // 5 is no special column
        room("dock='0,1,0,1'"),                      // dock on the root
        room("horizontalSplit='true'", "<splitLines><s hoistSide='1' pos='3000' "
                                       "pt1='3000,0,0' pt2='3000,40000,0'/></splitLines>"),
        room("horizontalSplit='true'", "<splitLines><s pt1='1,2'/></splitLines>"),
    };
    for (const std::string& text : cases) {
        CSolidDocument doc;
        EXPECT_THROW(vs::readDesign(text, doc, 1, catalogue), std::invalid_argument) << text;
    }
}

TEST_F(DesignReaderTest, DesignWithoutSolidNeedsSevenModels)
{
    FakeDesignCatalogue few(false);
    EXPECT_THROW(vs::readDesign(room(), document, 1, few), std::invalid_argument);
}

TEST_F(DesignReaderTest, ValidDockIsResolvedToTheParentsLines)
{
    std::string child = "<children><c gridWidth='6000' gridHeight='6000' dock='0,4,0,3' "
                        "outlinePoints='0,0 24000,0 24000,18000 0,18000'/></children>";
    read(room("specialGridCols='0,6000 4,6000' specialGridRows='0,6000 3,6000'", child));
    ASSERT_EQ(root().children.size(), 1u);
    const CGridMapping& docked = *root().children[0];
    EXPECT_TRUE(docked.hasDock);
    EXPECT_EQ(docked.dockCols[1], 4);
    EXPECT_EQ(docked.dockRows[1], 3);
    EXPECT_EQ(docked.parent, &root());
}
