// The catalogue pack reader: the bundled sample pack, and packs that are broken on purpose.
#include "CataloguePack.h"
#include "HostErrors.h"
#include "HostTestSupport.h"

#include "catalogue/ProfileReader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <set>

using hosttest::ScratchDir;
using vhost::CataloguePack;

namespace {

const std::string kSamplePack = std::string(VS_TEST_SOURCE_DIR) + "/data/pack/index.xml";

CataloguePack loadWith(const ScratchDir& dir, const std::string& extraTypes,
                       const std::string& extraModels = "")
{
    return CataloguePack::load(hosttest::writeSmallPack(dir, extraTypes, extraModels));
}

} // namespace

TEST(SamplePackTest, HoldsEveryKindOfEntryTheTaskNames)
{
    const CataloguePack pack = CataloguePack::load(kSamplePack);
    std::set<int32_t> kinds;
    int strips = 0, across = 0, free = 0, towers = 0, bars = 0;
    for (const auto& t : pack.candyTypes()) {
        kinds.insert(t.kind);
        strips += t.kind == 2;
        across += t.stripAcross;
        free += t.option14 != 0;
        towers += t.tower > 0;
        bars += !t.profile.empty();
        ASSERT_TRUE(t.plan) << t.name;
    }
    EXPECT_EQ((std::set<int32_t>{1, 2, 3, 4, 5, 6, 7}), kinds);
    EXPECT_GE(strips, 2);
    EXPECT_EQ(1, across);
    EXPECT_GE(free, 2);
    EXPECT_GE(towers, 2);
    EXPECT_EQ(2, bars);

    int meshesX = 0, meshes3ds = 0;
    std::set<int32_t> modelKinds;
    for (const auto& m : pack.models()) {
        modelKinds.insert(m.kind);
        meshesX += m.meshFormat == vhost::kMeshX;
        meshes3ds += m.meshFormat == vhost::kMesh3ds;
        EXPECT_EQ(m.kind == 1, bool(m.mesh)) << m.name;
    }
    EXPECT_GE(pack.models().size(), 12u);
    EXPECT_EQ((std::set<int32_t>{1, 2, 3, 4, 5}), modelKinds);
    EXPECT_GE(meshesX, 3);
    EXPECT_GE(meshes3ds, 3);

    // Brand and series levels: some series sits two levels below a top group.
    bool series = false;
    for (const auto& c : pack.facilityCategories())
        series = series || (c.level == "series" && c.parentId > 0);
    EXPECT_TRUE(series);
    ASSERT_EQ(1u, pack.staticSamples().size());
    EXPECT_TRUE(pack.staticSamples()[0].mask);
    EXPECT_NE(std::string::npos, pack.staticSamples()[0].polygonXml.find("polygons"));
}

TEST(SamplePackTest, ProfilesReadWithTheModulesProfileReader)
{
    const CataloguePack pack = CataloguePack::load(kSamplePack);
    for (const auto& t : pack.candyTypes()) {
        if (t.profile.empty())
            continue;
        std::unique_ptr<CSectionBarProfile> profile;
        ASSERT_NO_THROW(profile = vs::readProfile(t.profile)) << t.name;
        EXPECT_FALSE(profile->contours.empty()) << t.name;
        EXPECT_NE(nullptr, profile->pivot) << t.name;
    }
}

TEST(SamplePackTest, SharedFilesAreReadOnce)
{
    const CataloguePack pack = CataloguePack::load(kSamplePack);
    const auto* white = pack.candyType(1101);
    ASSERT_NE(nullptr, white);
    EXPECT_EQ(white->textures[0].get(), white->textures[3].get());
}

TEST(PackReaderTest, SmallPackEntriesCarryTheirValues)
{
    ScratchDir dir;
    const CataloguePack pack = loadWith(dir, "");
    const auto* type = pack.candyType(1101);
    ASSERT_NE(nullptr, type);
    EXPECT_TRUE(type->plan2);
    EXPECT_TRUE(type->textures[0]);
    EXPECT_FALSE(type->textures[1]);
    const auto* model = pack.model(5101);
    ASSERT_NE(nullptr, model);
    EXPECT_EQ(vhost::kMeshX, model->meshFormat);
    ASSERT_TRUE(model->naturalSize);
    EXPECT_FLOAT_EQ(3, (*model->naturalSize)[2]);
    EXPECT_EQ(11, model->categoryId);
    EXPECT_EQ(1, pack.facilityCategories()[1].parentId);
    EXPECT_EQ((std::array<int32_t, 4>{1, 2, 30, 40}), pack.staticSample(1)->maskRect);
}

TEST(PackReaderTest, MissingFilesAreFileErrors)
{
    ScratchDir dir;
    EXPECT_THROW(CataloguePack::load(dir.path() + "/nothing/index.xml"), vhost::FileError);
    const std::string missingPicture =
        R"(<type id="2" name="X" kind="1" category="10" plan="p/gone.png"/>)";
    EXPECT_THROW(loadWith(dir, missingPicture), vhost::FileError);
}

TEST(PackReaderTest, RefusesPicturesThatDoNotDecode)
{
    ScratchDir dir;
    dir.write("pack/p/broken.png", "\x89PNG\r\n\x1a\n not really");
    EXPECT_THROW(loadWith(dir, R"(<type id="2" name="X" kind="1" plan="p/broken.png"/>)"),
                 std::invalid_argument);
    const std::string truncated = hosttest::pngBytes(64, 64).substr(0, 60);
    dir.write("pack/p/cut.png", truncated);
    EXPECT_THROW(
        loadWith(dir, R"(<type id="2" name="X" kind="1" plan="p/plan.png" texture1="p/cut.png"/>)"),
        std::invalid_argument);
}

TEST(PackReaderTest, RefusesPathsLeavingThePack)
{
    ScratchDir dir;
    dir.write("outside.png", hosttest::pngBytes());
    for (const char* path :
         {"../outside.png", "/etc/hostname", "p/../../outside.png", "p\\plan.png"}) {
        const std::string entry =
            std::string(R"(<type id="2" name="X" kind="1" plan=")") + path + "\"/>";
        EXPECT_THROW(loadWith(dir, entry), std::invalid_argument) << path;
    }
    // A link inside the pack that leads out of it.
    hosttest::writeSmallPack(dir);
    std::filesystem::create_symlink(dir.path() + "/outside.png", dir.path() + "/pack/p/link.png");
    EXPECT_THROW(loadWith(dir, R"(<type id="2" name="X" kind="1" plan="p/link.png"/>)"),
                 std::invalid_argument);
}

TEST(PackReaderTest, RefusesMalformedEntries)
{
    ScratchDir dir;
    const char* types[] = {
        R"(<type id="1101" name="again" kind="1" plan="p/plan.png"/>)",        // duplicate id
        R"(<type id="2" name="X" kind="9" plan="p/plan.png"/>)",               // unknown kind
        R"(<type id="2" name="X" kind="4" plan="p/plan.png"/>)",               // kind not listed
        R"(<type id="2" name="X" kind="1" category="99" plan="p/plan.png"/>)", // unknown category
        R"(<type id="2x" name="X" kind="1" plan="p/plan.png"/>)",              // not a number
        R"(<type id="2" name="X" kind="1" width="-5" plan="p/plan.png"/>)",    // negative length
        R"(<type id="2" name="X" kind="1" width="99999999999" plan="p/plan.png"/>)",  // absurd
        R"(<type id="2" name="X" kind="1"/>)",                                        // no picture
        R"(<type id="2" name="X" kind="7" plan="p/plan.png" profile="p/plan.png"/>)", // profile not
                                                                                      // XML
    };
    for (const char* entry : types)
        EXPECT_THROW(loadWith(dir, entry), std::invalid_argument) << entry;
    const char* models[] = {
        R"(<model id="2" name="M" kind="1" picture="p/plan.png" mesh="p/plan.png"/>)", // not a mesh
        R"(<model id="2" name="M" kind="1" picture="p/plan.png" naturalSize="1,2"/>)",
        R"(<model id="2" name="M" kind="1" picture="p/plan.png" category="5"/>)",
        R"(<model id="2" name="M" kind="1" picture="p/plan.png" zUp="maybe"/>)",
    };
    for (const char* entry : models)
        EXPECT_THROW(loadWith(dir, "", entry), std::invalid_argument) << entry;
}

TEST(PackReaderTest, RefusesAnIndexThatIsNoPack)
{
    ScratchDir dir;
    EXPECT_THROW(CataloguePack::load(dir.write("a/index.xml", "<pack><unclosed></pack>")),
                 std::invalid_argument);
    EXPECT_THROW(CataloguePack::load(dir.write("b/index.xml", "<catalogue/>")),
                 std::invalid_argument);
    EXPECT_THROW(CataloguePack::load(dir.write("c/index.xml", "")), std::invalid_argument);
}
