#include "platform/ModuleResource.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

namespace {

bool isBmp(const QByteArray& bytes)
{
    return bytes.startsWith("BM");
}

bool isJpeg(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xD8\xFF");
}

Picture decode(const QByteArray& bytes)
{
    return Picture::decode(bytes.constData(), size_t(bytes.size()));
}

} // namespace

TEST(ModuleResourceTest, BuiltInModelPicturesAreBmpAndJpeg)
{
    for (int id : {136, 137, 138, 139, 140}) {
        const QByteArray bytes = vs::moduleResource("IMG", id);
        EXPECT_TRUE(isBmp(bytes)) << id;
        EXPECT_FALSE(decode(bytes).isNull()) << id;
    }
    for (int id : {2011, 2012}) {
        const QByteArray bytes = vs::moduleResource("IMG", id);
        EXPECT_TRUE(isJpeg(bytes)) << id;
        EXPECT_FALSE(decode(bytes).isNull()) << id;
    }
}

TEST(ModuleResourceTest, BuiltInPicturesHaveTheirModelsProportions)
{
    // The band is 600 x 200 mm, the last floor tile 440 x 296 mm, the tiles square.
    const Picture band = decode(vs::moduleResource("IMG", 138));
    ASSERT_FALSE(band.isNull());
    EXPECT_EQ(band.width(), 3 * band.height());
    const Picture floor = decode(vs::moduleResource("IMG", 2012));
    ASSERT_FALSE(floor.isNull());
    EXPECT_NEAR(440.0 / 296.0, double(floor.width()) / floor.height(), 0.02);
    for (int id : {136, 137, 139, 140, 2011}) {
        const Picture tile = decode(vs::moduleResource("IMG", id));
        EXPECT_EQ(tile.width(), tile.height()) << id;
        EXPECT_GE(tile.width(), 32) << id;
    }
}

TEST(ModuleResourceTest, TypeIsCaseInsensitiveAndNamesIncludeTheExtension)
{
    const QByteArray byId = vs::moduleResource("IMG", 136);
    ASSERT_FALSE(byId.isEmpty());
    EXPECT_EQ(byId, vs::moduleResource("img", 136));
    EXPECT_EQ(byId, vs::moduleResource("IMG", "136.bmp"));
    EXPECT_TRUE(vs::moduleResource("IMG", "136").isEmpty());
}

TEST(ModuleResourceTest, AbsentResourcesAreEmpty)
{
    EXPECT_TRUE(vs::moduleResource("IMG", 13).isEmpty()); // not a prefix match of 136
    EXPECT_TRUE(vs::moduleResource("IMG", 1360).isEmpty());
    EXPECT_TRUE(vs::moduleResource("IMG", -1).isEmpty());
    EXPECT_TRUE(vs::moduleResource("NOSUCHTYPE", 136).isEmpty());
    EXPECT_TRUE(vs::moduleResource(nullptr, 136).isEmpty());
    EXPECT_TRUE(vs::moduleResource("", 136).isEmpty());
    EXPECT_TRUE(vs::moduleResource("IMG", static_cast<const char*>(nullptr)).isEmpty());
    EXPECT_TRUE(vs::moduleResource("IMG", "").isEmpty());
    EXPECT_TRUE(vs::moduleResource("IMG", "missing.bmp").isEmpty());
}
