// Every bundled design, read by the module's own reader against the bundled pack, keeps every
// panel, hosted item, plane and facility it names: the sample data and the catalogue agree.
#include "CataloguePack.h"
#include "PackCatalogue.h"

#include "ceiling/DesignReader.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSolidFacility.h"
#include "document/SolidCeiling.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

size_t countElements(pugi::xml_node node, const char* name)
{
    size_t n = std::strcmp(node.name(), name) == 0 ? 1 : 0;
    for (pugi::xml_node child : node.children())
        n += countElements(child, name);
    return n;
}

struct PlaneCounts
{
    size_t planes = 0, tiles = 0, hosts = 0;
};

void countPlanes(const CGridMapping& plane, PlaneCounts& counts)
{
    ++counts.planes;
    counts.tiles += plane.tiles.size();
    counts.hosts += plane.hosts.size();
    for (const auto& child : plane.children)
        countPlanes(*child, counts);
}

size_t countFacilities(const std::vector<std::unique_ptr<CSolidFacility>>& list)
{
    size_t n = list.size();
    for (const auto& f : list)
        n += countFacilities(f->children);
    return n;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(SampleDesignsLoadTest, EveryBundledDesignLoadsWithoutDroppedItems)
{
    const std::string root = VS_TEST_SOURCE_DIR;
    const vhost::CataloguePack pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    for (const char* name : {"kitchen", "bathroom", "living_room", "hall", "l_room"}) {
        SCOPED_TRACE(name);
        const std::string text = readText(root + "/data/designs/" + name + ".xml");
        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_string(text.c_str()));
        testsupport::PackCatalogue catalogue(pack);
        CSolidDocument document;
        ASSERT_NO_THROW(vs::readDesign(text, document, 1, catalogue));
        ASSERT_NE(document.ceiling, nullptr);
        ASSERT_NE(document.ceiling->root, nullptr);

        PlaneCounts counts;
        countPlanes(*document.ceiling->root, counts);
        const pugi::xml_node design = xml.document_element();
        EXPECT_EQ(counts.tiles, countElements(design, "tile"));
        EXPECT_EQ(counts.hosts, countElements(design, "host"));
        EXPECT_EQ(counts.planes, 1 + countElements(design, "plane"));
        EXPECT_EQ(countFacilities(document.solidFacilities),
                  countElements(design, "solidFacility"));
        EXPECT_GE(document.walls.size(), document.ceiling->root->outlinePoints.size());
        EXPECT_FALSE(document.defaultSolidLights.empty());
    }
}
