#include "DesignTexts.h"
#include "FakeDesignCatalogue.h"

#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CustomMaterialXml.h"
#include "document/SolidCeiling.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

using namespace designs;

namespace {

struct Written
{
    pugi::xml_document xml;
    pugi::xml_node solid;
    explicit Written(const std::string& text)
    {
        xml.load_string(text.c_str());
        solid = xml.document_element();
    }
};

} // namespace

TEST(SolidWriterTest, EmptyDocumentStillWritesViewStateFloorAndEmptyLists)
{
    CSolidDocument document;
    std::string text = vs::writeSolid(document);
    EXPECT_EQ(text.rfind("<_dg decimillimeter=\"1\" _g8=\"0\" _g9=\"\" _ga=\"0,0\" _am=\"\" ", 0),
              0u)
        << text;
    EXPECT_EQ(text.find("<?xml"), std::string::npos);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    Written w(text);
    EXPECT_STREQ(w.solid.name(), "_dg");
    EXPECT_TRUE(w.solid.child("_dk").child("_dn"));
    EXPECT_STREQ(w.solid.child("_dk").child("_gf").attribute("fov").value(), "72");
    EXPECT_TRUE(w.solid.child("_ct"));
    for (const char* list : {"_dh", "_di", "_dj"}) {
        ASSERT_TRUE(w.solid.child(list)) << list;
        EXPECT_FALSE(w.solid.child(list).first_child()) << list;
    }
}

TEST(SolidWriterTest, WritesShortNamesModelSizesAndVisibility)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    std::string walls =
        "<walls><wall index='0'><wallParts>"
        "<p visible='true' height='0' facilityModelId='-2'/>"
        "<p visible='true' height='10' facilityModelId='-2' ceramicTileSize='50,60'/>"
        "</wallParts><flatFacilities><f facilityModelId='101' position='1,2'/>"
        "</flatFacilities></wall></walls>";
    vs::readDesign(room("", solid(viewState() + walls + "<floor facilityModelId='-7'/>")), document,
                   1, catalogue);
    Written w(vs::writeSolid(document));
    pugi::xml_node parts = w.solid.child("_dh").child("_cp").child("_cr");
    pugi::xml_node first = parts.first_child();
    EXPECT_STREQ(first.name(), "_fx");
    EXPECT_STREQ(first.attribute("visible").value(), "");      // height 0: written as not visible
    EXPECT_STREQ(first.attribute("_cl").value(), "6000,6000"); // the model's own size
    EXPECT_STREQ(first.next_sibling().attribute("visible").value(), "true");
    EXPECT_STREQ(first.next_sibling().attribute("_cl").value(), "50,60");
    pugi::xml_node flat = w.solid.child("_dh").child("_cp").child("_cs").child("_cm");
    EXPECT_STREQ(flat.attribute("_co").value(), "9000,6000");
    EXPECT_STREQ(flat.attribute("_cn").value(), "1.000000,2.000000");
    EXPECT_STREQ(w.solid.child("_ct").attribute("_fv").value(), "-7");
    EXPECT_STREQ(w.solid.child("_ct").attribute("_cl").value(), "4400,2960");
    EXPECT_EQ(w.solid.child("_dh").select_nodes("_cp").size(), 4u);
}

TEST(SolidWriterTest, ABandSwitchedOffStaysOffAndNoOtherPartTakesTheSwitch)
{
    FakeDesignCatalogue catalogue;
    // The switch is read on the band part (the second) only; the third part's is ignored.
    const std::string walls = "<walls><wall index='0'><wallParts>"
                              "<p height='24000' facilityModelId='-2'/>"
                              "<p height='2000' relativeBottom='6000' facilityModelId='-3'/>"
                              "<p height='6000' facilityModelId='-4' _hb='false'/>"
                              "</wallParts></wall></walls>";
    CSolidDocument document;
    vs::readDesign(room("", solid(viewState() + walls)), document, 1, catalogue);
    ASSERT_FALSE(document.walls.empty());
    CWall& wall = *document.walls[0];
    ASSERT_EQ(wall.wallParts.size(), 3u);
    EXPECT_TRUE(wall.wallParts[1]->definition.hasBand);
    EXPECT_TRUE(wall.wallParts[2]->definition.hasBand);
    std::string text = vs::writeSolid(document);
    EXPECT_EQ(text.find("_hb"), std::string::npos) << "written only for a band switched off";

    wall.setBand(false, 2500, 7000);
    text = vs::writeSolid(document);
    CSolidDocument again;
    vs::readDesign(room("", text), again, 1, catalogue);
    ASSERT_FALSE(again.walls.empty());
    const CWallPart& band = *again.walls[0]->wallParts[1];
    EXPECT_FALSE(band.definition.hasBand);
    EXPECT_DOUBLE_EQ(band.definition.height, 2500);
    EXPECT_DOUBLE_EQ(band.definition.relativeBottom, 7000);
    EXPECT_TRUE(again.walls[0]->wallParts[0]->definition.hasBand);
}

TEST(SolidWriterTest, StuckFacilitiesHostedLightsAndMaterials)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    std::string body = viewState() + "<walls><wall index='1'/></walls>" +
                       "<solidFacilities><f facilityModelId='100' position='1000,0,0' "
                       "stickWallIndex='0' emissive='30'><customMaterials><m index='1' "
                       "facilityModelId='101' scaleX='1' scaleY='1'/></customMaterials></f>"
                       "</solidFacilities><solidLights><l hostId='5' position='0,20000,0' "
                       "diffuseColor='1,1,1,1'/><l position='0,1,0' diffuseColor='1,1,1,1'/>"
                       "</solidLights>";
    vs::readDesign(
        room("", "<hosts><h hostTypeId='12' gx='1' gy='1' id='5'/></hosts>" + solid(body)),
        document, 1, catalogue);
    Written w(vs::writeSolid(document));
    pugi::xml_node facility = w.solid.child("_di").child("_cu");
    // Wall 0 of the list stands on edge 1, from (60000, 0) down to (60000, 40000).
    EXPECT_STREQ(facility.attribute("_cw").value(), "1");
    EXPECT_STREQ(facility.attribute("_cy").value(),
                 "60000.000000000000,0.000000000000,1000.000000000000");
    EXPECT_STREQ(facility.attribute("_cz").value(), "270");
    EXPECT_STREQ(facility.attribute("_g6").value(), "30");
    EXPECT_TRUE(facility.child("_ez"));
    EXPECT_STREQ(facility.child("_g7").child("_fy").attribute("_fv").value(), "101");
    pugi::xml_node hosted = w.solid.child("_dj").first_child();
    EXPECT_STREQ(hosted.attribute("_d3").value(), "5");
    EXPECT_FALSE(hosted.next_sibling().attribute("_d3"));
    EXPECT_STREQ(hosted.next_sibling().attribute("_de").value(), "true");
}

TEST(CustomMaterialXmlTest, MaterialsTextReadsBackWithScale)
{
    FakeDesignCatalogue catalogue;
    std::vector<std::unique_ptr<CustomMaterial>> materials;
    materials.push_back(std::make_unique<CustomMaterial>());
    materials[0]->index = 3;
    materials[0]->facilityModelId = FakeDesignCatalogue::kPicture;
    materials[0]->offsetX = 2.5f;
    materials[0]->rotate = 45;
    std::string text = vs::writeCustomMaterials(materials);
    EXPECT_EQ(text.rfind("<_g7><_fy _cq=\"3\" _fv=\"101\" _fz=\"2.5\"", 0), 0u) << text;
    std::vector<CustomMaterial> back = vs::readCustomMaterials(text, 10, catalogue);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].offsetX, 25);
    EXPECT_EQ(back[0].scaleX, 1);
    EXPECT_EQ(back[0].rotate, 45);
    EXPECT_EQ(back[0].facilityModel, catalogue.facilityModel(FakeDesignCatalogue::kPicture, 0));
    EXPECT_TRUE(vs::readCustomMaterials("", 10, catalogue).empty());
    EXPECT_TRUE(vs::readCustomMaterials("<broken", 10, catalogue).empty());
}
