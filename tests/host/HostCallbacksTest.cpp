// The callbacks against a stand-in module: what is poured, what is served and kept alive, what
// the edits do to the design, and what persists to the next pour.
#include "AtomicFile.h"
#include "HostSession.h"
#include "HostTestSupport.h"
#include "HostText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using hosttest::moduleLog;
using hosttest::ScratchDir;
using vhost::HostSession;

namespace {

class HostCallbacksTest : public ::testing::Test
{
protected:
    HostCallbacksTest()
    {
        index = hosttest::writeSmallPack(
            dir, R"(<type id="4101" name="Bar" kind="7" plan="p/plan.png" profile="s/poly.xml"/>
)",
            R"(<model id="5102" name="Chair" kind="1" typeId="77" picture="p/plan.png"/>
)");
        overridesPath = dir.path() + "/overrides.xml";
        session = makeSession();
    }

    std::unique_ptr<HostSession> makeSession()
    {
        session.reset();
        return std::make_unique<HostSession>(hosttest::fakeModule(),
                                             vhost::CataloguePack::load(index),
                                             vhost::ModelOverrides::load(overridesPath));
    }

    size_t count(const std::string& call) const
    {
        const auto& calls = moduleLog().calls;
        return size_t(std::count(calls.begin(), calls.end(), call));
    }

    ScratchDir dir;
    std::string index;
    std::string overridesPath;
    std::unique_ptr<HostSession> session;
};

const char* kDesign =
    R"(<design id="1" gridWidth="3000" gridHeight="3000" outlinePoints="0,0 9000,0 9000,9000 0,9000">
  <hosts><host id="5" hostTypeId="2101" gx="1" gy="1"/></hosts>
</design>)";

} // namespace

TEST_F(HostCallbacksTest, PourAddsEveryEntryBetweenBeginAndPost)
{
    session->pour("/home/x/");
    const auto& calls = moduleLog().calls;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ("ClearMasterData", calls[0]);
    EXPECT_EQ("BeginPourMasterData", calls[1]);
    EXPECT_EQ("PostPourMasterData", calls.back());
    EXPECT_EQ("/home/x/", moduleLog().homeDirs[0]);
    EXPECT_EQ(2u, count("AddCandyType"));
    EXPECT_EQ(2u, count("AddFacilityModel"));
    EXPECT_EQ(2u, count("AddFacilityCategory"));
    EXPECT_EQ(1u, count("AddCandyCategory"));
    EXPECT_EQ((1 << 18) | 1, moduleLog().modelKindAndFlags[0]); // kind 1, flag bit 2
    EXPECT_NE(std::string::npos, moduleLog().candyTypeProfiles[1].find("polygons"));
}

TEST_F(HostCallbacksTest, PouredPicturesAreThePacksOwnLiveBytes)
{
    session->pour("/h/");
    const auto* type = session->pack().candyType(1101);
    EXPECT_EQ(type->plan->data(), moduleLog().candyTypePictures[0]);
    EXPECT_EQ(int32_t(type->plan->size()), moduleLog().candyTypePictureSizes[0]);
    // A second pour hands out the same bytes: nothing was freed or moved in between.
    const void* before = moduleLog().modelPictures[0];
    session->pour("/h/");
    EXPECT_EQ(before, moduleLog().modelPictures.back());
    EXPECT_EQ(0, std::memcmp(before, session->pack().model(5101)->picture->data(), 8));
}

TEST_F(HostCallbacksTest, ServesPlanPicturesAndTextures)
{
    const void *d1 = nullptr, *d2 = nullptr, *t = reinterpret_cast<void*>(1);
    int32 s1 = -1, s2 = -1, ts = -1;
    HostSession::getCandyTypeImages(1101, &d1, &s1, &d2, &s2);
    const auto* type = session->pack().candyType(1101);
    EXPECT_EQ(type->plan->data(), d1);
    EXPECT_EQ(type->plan2->data(), d2);
    EXPECT_EQ(int32_t(type->plan2->size()), s2);
    HostSession::getCandyTypeTextures(1101, 1, &t, &ts); // not given in the pack
    EXPECT_EQ(nullptr, t);
    EXPECT_EQ(0, ts);
    HostSession::getCandyTypeTextures(1101, 2, &t, &ts);
    EXPECT_EQ(type->textures[2]->data(), t);
    for (int32 index : {-1, 4, 1000}) {
        HostSession::getCandyTypeTextures(1101, index, &t, &ts);
        EXPECT_EQ(0, ts) << index;
    }
    HostSession::getCandyTypeImages(999, &d1, &s1, &d2, &s2);
    EXPECT_EQ(0, s1);
    EXPECT_EQ(nullptr, d2);
    HostSession::getCandyTypeImages(1101, nullptr, nullptr, nullptr, nullptr); // must not crash
}

TEST_F(HostCallbacksTest, ModelDataBlocksCarryTheFormatAndAreFreedOnce)
{
    void* block = nullptr;
    int32 size = 0;
    HostSession::getModelData(5101, &block, &size);
    ASSERT_NE(nullptr, block);
    const auto& mesh = *session->pack().model(5101)->mesh;
    EXPECT_EQ(int32_t(mesh.size() + 4), size);
    int32_t format = 0;
    std::memcpy(&format, block, 4);
    EXPECT_EQ(vhost::kMeshX, format);
    EXPECT_EQ(0, std::memcmp(static_cast<uint8_t*>(block) + 4, mesh.data(), mesh.size()));
    EXPECT_EQ(1u, session->outstandingModelBlocks());
    HostSession::freeModelData(block);
    EXPECT_EQ(0u, session->outstandingModelBlocks());
    HostSession::freeModelData(block); // a second free is refused, not a double free
    int dummy = 0;
    HostSession::freeModelData(&dummy);
    HostSession::getModelData(5102, &block, &size); // no mesh
    EXPECT_EQ(nullptr, block);
    EXPECT_EQ(0, size);
}

TEST_F(HostCallbacksTest, EditsAreMirroredIntoTheOpenDesign)
{
    vhost::HostDesign design = vhost::HostDesign::fromText(kDesign);
    session->setDesign(&design);
    const int32 id = HostSession::addCeilingHost(1, 2101, 2, 0, 0, 0);
    EXPECT_EQ(6, id);
    EXPECT_EQ(1, HostSession::moveCeilingHost(1, id, 0, 2));
    EXPECT_EQ(0, HostSession::moveCeilingHost(1, 77, 1, 1));
    HostSession::rotateCeilingHost(1, 5, 270);
    HostSession::deleteCeilingHost(1, 5);
    HostSession::layTiles(1, 1101, 0, "0,1,0,0,1,1", "2,2,2,2");
    HostSession::layTiles(1, 1101, 0, "garbage", nullptr); // reported, nothing laid
    const auto hosts = design.hosts(1);
    ASSERT_EQ(1u, hosts.size());
    EXPECT_EQ(6, hosts[0].id);
    EXPECT_EQ(2, hosts[0].y);
    EXPECT_EQ(2u, design.tiles(1).size());
    session->setDesign(nullptr);
    EXPECT_GT(HostSession::addCeilingHost(1, 2101, 0, 0, 0, 0), 0); // still an id without a design
}

TEST_F(HostCallbacksTest, ComposeMergesTheSolidIntoTheWholeDesign)
{
    vhost::HostDesign design = vhost::HostDesign::fromText(kDesign);
    session->setDesign(&design);
    VsVariant v;
    std::memset(&v, 0, sizeof v);
    HostSession::composeDesignXml(R"(<_dg decimillimeter="1"/>)", &v);
    ASSERT_EQ(VS_VT_BSTR, v.vt);
    const std::string text =
        vhost::utf16ToUtf8(v.bstrVal, reinterpret_cast<uint32_t*>(v.bstrVal)[-1] / 2);
    EXPECT_NE(std::string::npos, text.find("<_dg decimillimeter=\"1\""));
    EXPECT_NE(std::string::npos, text.find("hostTypeId=\"2101\""));
    std::free(reinterpret_cast<uint32_t*>(v.bstrVal) - 1);
    HostSession::composeDesignXml("not xml <", &v); // reported; v stays as it was given
    HostSession::composeDesignXml(nullptr, nullptr);
}

TEST_F(HostCallbacksTest, MaterialsAndCategoriesPersistIntoTheNextPour)
{
    HostSession::saveModelMaterials(5101, "<_g7><_fy _cq=\"0\" _fv=\"5101\"/></_g7>");
    HostSession::setModelCategory(5101, 1);
    session = makeSession();
    session->pour("/h/");
    EXPECT_EQ("<_g7><_fy _cq=\"0\" _fv=\"5101\"/></_g7>", moduleLog().modelMaterials[0]);
    EXPECT_EQ(1, moduleLog().modelCategories[0]);
    EXPECT_EQ(0, moduleLog().modelCategories[1]);
    EXPECT_NE(std::string::npos, vhost::readTextFile(overridesPath).find("category=\"1\""));
}

TEST_F(HostCallbacksTest, RequestsPourTheOneMissingEntry)
{
    HostSession::requestCandyType(4101);
    HostSession::requestCandyType(31337);
    ASSERT_EQ(1u, moduleLog().candyTypeIds.size());
    EXPECT_EQ(4101, moduleLog().candyTypeIds[0]);
    HostSession::requestFacilityModel(0, 77); // by type id
    HostSession::requestFacilityModel(5101, 0);
    HostSession::requestFacilityModel(404, 0);
    EXPECT_EQ((std::vector<int32_t>{5102, 5101}), moduleLog().modelIds);
}

TEST_F(HostCallbacksTest, StaticSamplesGoToTheModuleWithTheirMaskBlock)
{
    HostSession::loadStaticSample(1);
    ASSERT_EQ(1u, moduleLog().sampleBlocks.size());
    const auto& block = moduleLog().sampleBlocks[0];
    const auto& sample = *session->pack().staticSample(1);
    ASSERT_EQ(24 + sample.mask->size(), block.size());
    int32_t header[6];
    std::memcpy(header, block.data(), 24);
    EXPECT_EQ(1, header[1]);
    EXPECT_EQ(2, header[2]);
    EXPECT_EQ(30, header[3]);
    EXPECT_EQ(40, header[4]);
    EXPECT_EQ(0, std::memcmp(block.data() + 24, sample.mask->data(), sample.mask->size()));
    EXPECT_EQ(int32_t(sample.photo->size()), moduleLog().samplePictureSize);
    EXPECT_NE(std::u16string::npos, moduleLog().samplePolygons[0].find(u"polygons"));
    HostSession::loadStaticSample(9); // unknown: nothing applied
    EXPECT_EQ(1u, moduleLog().sampleIds.size());
}

TEST_F(HostCallbacksTest, ChooserAppliesThePickedSampleOnlyWhenSwitchedOn)
{
    int asked = 0;
    session->setSampleChooser([&](const std::vector<vhost::PackStaticSample>& samples) {
        ++asked;
        return samples.front().id;
    });
    EXPECT_EQ(0, HostSession::chooseStaticSample(0));
    EXPECT_EQ(0, asked);
    EXPECT_EQ(1, HostSession::chooseStaticSample(1));
    EXPECT_EQ(1, asked);
    EXPECT_EQ(1u, moduleLog().sampleIds.size());
    session->setSampleChooser([](const std::vector<vhost::PackStaticSample>&) { return 0; });
    EXPECT_EQ(0, HostSession::chooseStaticSample(1));
    EXPECT_EQ(1u, moduleLog().sampleIds.size());
}

TEST_F(HostCallbacksTest, DesignRunReturnsTheSolidOrTheError)
{
    vhost::HostDesign design = vhost::HostDesign::fromText(kDesign);
    moduleLog().returnedSolid = u"<_dg decimillimeter=\"1\"/>";
    vhost::DesignRunResult run = session->runDesign(design);
    EXPECT_FALSE(run.failed);
    EXPECT_EQ("<_dg decimillimeter=\"1\"/>", run.solid);
    EXPECT_NE(std::u16string::npos, moduleLog().designText.find(u"gridWidth=\"3000\""));
    EXPECT_EQ(nullptr, session->design()); // edits stop with the run
    moduleLog().returnError = true;
    run = session->runDesign(design);
    EXPECT_TRUE(run.failed);
    EXPECT_EQ(VS_E_INVALIDARG, run.errorCode);
}

TEST(HostTextTest, Utf16RoundTripAndMalformedBytes)
{
    const std::string text = "Decke \xE5\x90\x8A\xE9\xA1\xB6 \xF0\x9F\x8F\xA0";
    const std::u16string wide = vhost::utf8ToUtf16(text);
    EXPECT_EQ(text, vhost::utf16ToUtf8(wide.data(), wide.size()));
    EXPECT_EQ(u"a\uFFFDb", vhost::utf8ToUtf16("a\xFF"
                                              "b"));
    EXPECT_EQ(u"\uFFFD\uFFFD", vhost::utf8ToUtf16("\xE5\x90")); // cut short: byte by byte
    const char16_t lone[] = {0xD800, u'x'};
    EXPECT_EQ("\xEF\xBF\xBDx", vhost::utf16ToUtf8(lone, 2));
    EXPECT_EQ("", vhost::utf16ToUtf8(nullptr, 5));
}
