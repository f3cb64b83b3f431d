#include "DesignTexts.h"
#include "FakeDesignCatalogue.h"

#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <fstream>
#include <iterator>
#include <sstream>

using namespace designs;

namespace {

// A solid part with something of every kind, numbers chosen not to be exact in single
// precision.
const std::string kSolid =
    "<solid decimillimeter='1' outlinePoints='0,0 60000,0 60000,40000 0,40000' "
    "staticSolidSampleId='0' staticSolidProjectedPoints='1.1,2.2 3.3,4.4' "
    "staticSolidSampleImgSize='640,480'>"
    "<viewState viewMode='4' workMode='5' pictureExtent='800,600'>"
    "<trackball currentQuaternion='0.1,0.2,0.3,0.9273618495' position='1.1,2.2,3.3' "
    "displayFull='true'/>"
    "<staticSolid currentQuaternion='0,0.7071067811,0,0.7071067811' position='5,6,7' "
    "ballTranslation='0.125,-3,9.9'/>"
    "<firstPerson cameraYaw='123.456789' cameraPitch='-12.3' position='100.1,13500,200.2'/>"
    "<displayPrefs fov='65.5' ambientColor='0x202020' eyeAboveFloor='1.62' roofUseLighting='true' "
    "roofBackSemitransparent='' roofBackAlphaPercent='35' simpleLighting='' invertTop='true' "
    "gammaCorrection='true' lowestLayerHeight='23000.7'/></viewState>"
    "<floor facilityModelId='-5' ceramicTileSize='333,444'/>"
    "<walls><wall index='0'><wallParts><p visible='true' height='2400.3' relativeBottom='0.1' "
    "facilityModelId='-2'/></wallParts><flatFacilities><f facilityModelId='101' "
    "position='1234.5678,1000.25' flatSize='9000,21000'/></flatFacilities></wall>"
    "<wall index='1'/></walls>"
    "<solidFacilities>"
    "<f facilityModelId='100' size='600.3,1800.7,650.1' position='1000.1,0,2000.2' "
    "rotateDegree='33.3' customZoom='1.7' correctExtent='1,2,3' emissive='20'>"
    "<customMaterials><m index='1' facilityModelId='101' offsetX='0.3' offsetY='0.7' "
    "scaleX='1.1' scaleY='0.9' rotate='12.5'/></customMaterials></f>"
    "<f position='5000,100,5000' size='10,10,10'><children><g facilityModelId='101' "
    "position='1.5,2.5,3.5'/><g facilityModelId='100' position='-1,0,-1'/></children></f>"
    "<f facilityModelId='100' position='500.5,900,0' stickWallIndex='1' rotateDegree='15'/>"
    "</solidFacilities>"
    "<solidLights><l isMain='true' isVisible='true' type='0' position='0,14000,0' "
    "diffuseColor='0.9,0.8,0.7,1' radius='333.3' attenuation='1,0.001,0.0000123' innerCone='10' "
    "outerCone='40.5'/>"
    "<l isVisible='true' type='1' position='3333.3,20000,4444.4' diffuseColor='1,0.5,0.25,1'/>"
    "<l hostId='5' isVisible='true' position='0,22000,0' diffuseColor='1,1,1,1'/>"
    "</solidLights></solid>";

const std::string kCeiling = "<hosts><h hostTypeId='12' gx='3' gy='2' id='5'/></hosts>";

std::string ceilingWith(const std::string& solidText, const std::string& extra = "")
{
    return room(extra, kCeiling + solidText);
}

class RoundTripTest : public ::testing::Test
{
protected:
    std::string readAndWrite(const std::string& text, CSolidDocument& document,
                             const std::string& extra = "")
    {
        vs::readDesign(ceilingWith(text, extra), document, 1, catalogue);
        return vs::writeSolid(document);
    }
    FakeDesignCatalogue catalogue;
};

void expectSameSolidPart(const CSolidDocument& a, const CSolidDocument& b)
{
    ASSERT_EQ(a.solidFacilities.size(), b.solidFacilities.size());
    for (size_t i = 0; i < a.solidFacilities.size(); ++i) {
        EXPECT_EQ(a.solidFacilities[i]->position, b.solidFacilities[i]->position) << i;
        EXPECT_EQ(a.solidFacilities[i]->size, b.solidFacilities[i]->size) << i;
        EXPECT_EQ(a.solidFacilities[i]->rotateDegree, b.solidFacilities[i]->rotateDegree) << i;
        EXPECT_EQ(a.solidFacilities[i]->children.size(), b.solidFacilities[i]->children.size());
    }
    ASSERT_EQ(a.solidLights.size(), b.solidLights.size());
    for (size_t i = 0; i < a.solidLights.size(); ++i) {
        EXPECT_EQ(a.solidLights[i]->position, b.solidLights[i]->position) << i;
        EXPECT_EQ(a.solidLights[i]->diffuseColor, b.solidLights[i]->diffuseColor) << i;
        EXPECT_EQ(a.solidLights[i]->attenuation, b.solidLights[i]->attenuation) << i;
        EXPECT_EQ(a.solidLights[i]->host != nullptr, b.solidLights[i]->host != nullptr) << i;
    }
    ASSERT_EQ(a.walls.size(), b.walls.size());
    for (size_t i = 0; i < a.walls.size(); ++i)
        EXPECT_EQ(a.walls[i]->wallParts.size(), b.walls[i]->wallParts.size());
    EXPECT_EQ(a.walls[0]->flatFacilities[0]->position, b.walls[0]->flatFacilities[0]->position);
    const SolidViewState& va = *a.viewState;
    const SolidViewState& vb = *b.viewState;
    // Four-float values are written with six decimals.
    EXPECT_NEAR(va.trackballQuaternion.w, vb.trackballQuaternion.w, 1e-6);
    EXPECT_EQ(va.trackballQuaternion.x, vb.trackballQuaternion.x);
    EXPECT_EQ(va.firstPersonPosition, vb.firstPersonPosition);
    EXPECT_EQ(va.cameraYaw, vb.cameraYaw);
    EXPECT_EQ(va.lowestLayerHeight, vb.lowestLayerHeight);
    EXPECT_EQ(va.invertTop, vb.invertTop);
    EXPECT_EQ(va.roofBackSemitransparent, vb.roofBackSemitransparent);
    EXPECT_EQ(a.floor->ceramicTileSize, b.floor->ceramicTileSize);
}

} // namespace

TEST_F(RoundTripTest, WrittenSolidReadsBackToTheSameSolidPart)
{
    CSolidDocument first, second, third;
    std::string write1 = readAndWrite(kSolid, first);
    std::string write2 = readAndWrite(write1, second);
    std::string write3 = readAndWrite(write2, third);
    expectSameSolidPart(first, second);
    EXPECT_EQ(write1, write2);
    EXPECT_EQ(write2, write3);
    // The stuck facility came back stuck to the same wall, where it was on it.
    EXPECT_EQ(second.solidFacilities[2]->stickWall, second.walls[1].get());
    EXPECT_EQ(second.solidFacilities[2]->position, (Vec3f{500.5f, 900, 0}));
}

TEST_F(RoundTripTest, MillimetreDesignIsWrittenInDecimillimetres)
{
    std::string mm = "<solid outlinePoints='0,0 6000,0 6000,4000 0,4000'>" + viewState() +
                     "<walls><wall/></walls><solidFacilities><f facilityModelId='100' "
                     "position='100,0,50'/></solidFacilities></solid>";
    CSolidDocument first, second;
    std::string write1 = readAndWrite(mm, first);
    EXPECT_NE(write1.find("decimillimeter=\"1\""), std::string::npos);
    readAndWrite(write1, second);
    EXPECT_EQ(second.solidFacilities[0]->position, (Vec3f{1000, 0, 500}));
}

// Positions are relative to the corner of the root plane's indented bounds, and the writer
// stores the plain outline: reading must grow it by the indent before comparing, or every
// save and reopen of an indented room moves the free facilities and lights by the indent.
TEST_F(RoundTripTest, IndentedRoomKeepsFacilityAndLightPositions)
{
    const std::string indent = "hoist='0' indent='500'";
    CSolidDocument first, second, third;
    std::string write1 = readAndWrite(kSolid, first, indent);
    ASSERT_EQ(first.ceiling->root->indentedBounds.left, -500);
    readAndWrite(write1, second, indent);
    std::string write2 = vs::writeSolid(second);
    readAndWrite(write2, third, indent);
    for (const CSolidDocument* doc : {&second, &third}) {
        EXPECT_EQ(doc->solidFacilities[0]->position, first.solidFacilities[0]->position);
        EXPECT_EQ(doc->solidFacilities[1]->position, first.solidFacilities[1]->position);
        EXPECT_EQ(doc->solidLights[1]->position, first.solidLights[1]->position);
    }
    EXPECT_EQ(first.solidFacilities[0]->position, (Vec3f{1000.1f, 0, 2000.2f}));
}

TEST_F(RoundTripTest, OutlineMovedByTheHostShiftsStoredPositions)
{
    CSolidDocument first, moved;
    std::string write1 = readAndWrite(kSolid, first);
    // The host moved the room 1000 to the right: positions relative to the new corner shrink.
    vs::readDesign("<design gridWidth='6000' gridHeight='6000' "
                   "outlinePoints='1000,0 61000,0 61000,40000 1000,40000'>" +
                       kCeiling + write1 + "</design>",
                   moved, 1, catalogue);
    EXPECT_EQ(moved.solidFacilities[0]->position.x, first.solidFacilities[0]->position.x - 1000);
    EXPECT_EQ(moved.solidFacilities[0]->position.z, first.solidFacilities[0]->position.z);
}

TEST_F(RoundTripTest, FuzzSeedDesignsReadAndWriteStably)
{
    const char* seeds[] = {"empty-room", "tiles-hosts", "split", "solid", "millimetres"};
    for (const char* seed : seeds) {
        std::ifstream in(std::string(VS_TEST_SOURCE_DIR) + "/fuzz/corpus/design/" + seed + ".xml");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(text.empty()) << seed;
        CSolidDocument first, second;
        ASSERT_NO_THROW(vs::readDesign(text, first, 1, catalogue)) << seed;
        std::string write1 = vs::writeSolid(first);
        // The written solid element replaces the design's own, as the host merges it.
        pugi::xml_document design;
        design.load_string(text.c_str());
        pugi::xml_node root = design.document_element();
        root.remove_child("solid");
        root.remove_child("_dg");
        pugi::xml_document written;
        written.load_string(write1.c_str());
        root.append_copy(written.document_element());
        std::ostringstream out;
        design.save(out);
        std::string merged = out.str();
        ASSERT_NO_THROW(vs::readDesign(merged, second, 1, catalogue)) << seed;
        EXPECT_EQ(vs::writeSolid(second), write1) << seed;
    }
}
