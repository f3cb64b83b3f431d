#include "CeilingFixtures.h"

#include "ceiling/HostMoves.h"
#include "document/CSolidDocument.h"
#include "document/CSolidLight.h"

#include <gtest/gtest.h>

using namespace ceilingtest;

namespace {

/** A room whose root plane (0, 0) - (30000, 24000), grid 3000, zoom 0.024, holds one grid host
 *  of a 3000 x 6000 lamp type at cell (2, 1). */
struct HostRoom
{
    CSolidDocument room;
    SolidCeiling* ceiling = nullptr;
    CGridMapping* plane = nullptr;
    std::unique_ptr<CCandyType> lamp = makeType(9, 3000, 6000);
    CHost* host = nullptr;

    HostRoom()
    {
        room.ceiling = std::make_unique<SolidCeiling>();
        ceiling = room.ceiling.get();
        ceiling->room = &room;
        ceiling->root = makePlane(*ceiling, 30000, 24000);
        plane = ceiling->root.get();
        auto h = std::make_unique<CHost>();
        h->candyType = lamp.get();
        h->gx = 2;
        h->gy = 1;
        vs::addLoadedHost(*plane, std::move(h));
        host = plane->hosts[0].get();
        vs::setZoom(*plane, 0.024);
    }
};

} // namespace

TEST(HostMoveTest, GridMoveReturnsOldAndNewPixels)
{
    HostRoom r;
    ASSERT_EQ(r.host->pixelRect, (IRect{144, 72, 215, 215}));
    IRect area = vs::moveHostByCells(*r.host, 1, 2);
    EXPECT_EQ(r.host->gx, 3);
    EXPECT_EQ(r.host->gy, 3);
    EXPECT_EQ(r.host->lastRow, 4);
    EXPECT_EQ(r.host->rect, (RRect{9000, 9000, 12000, 15000}));
    EXPECT_EQ(area, (IRect{144, 72, 287, 359}));
}

TEST(HostMoveTest, FreeMoveShiftsTheRect)
{
    HostRoom r;
    IRect area = vs::moveHostBy(*r.host, 500, -250);
    EXPECT_TRUE(r.host->freePosition);
    EXPECT_EQ(r.host->rect, (RRect{6500, 2750, 9500, 8750}));
    EXPECT_EQ(r.host->pixelRect, (IRect{156, 66, 227, 209}));
    EXPECT_EQ(area, (IRect{144, 66, 227, 215}));
    // Not a number moves nothing.
    const RRect before = r.host->rect;
    vs::moveHostBy(*r.host, std::nan(""), 0);
    EXPECT_EQ(r.host->rect, before);
}

TEST(HostMoveTest, RotationWrapsAndSwapsTheExtent)
{
    HostRoom r;
    IRect area = vs::rotateHost(*r.host, -90);
    EXPECT_EQ(r.host->rotateDegree, 270);
    EXPECT_EQ(r.host->rect, (RRect{6000, 3000, 12000, 6000}));
    EXPECT_EQ(area, (IRect{144, 72, 287, 215}));
    vs::rotateHost(*r.host, 450);
    EXPECT_EQ(r.host->rotateDegree, 0);
}

TEST(HostLightTest, FirstSwitchCreatesALinkedLight)
{
    HostRoom r;
    ASSERT_TRUE(vs::switchHostLight(*r.host, true));
    ASSERT_EQ(r.room.solidLights.size(), 1u);
    CSolidLight& light = *r.room.solidLights[0];
    EXPECT_EQ(light.host, r.host);
    EXPECT_EQ(r.host->light, &light);
    EXPECT_EQ(light.position, (Vec3f{7500, 2300, 6000}));
    EXPECT_EQ(light.attenuation, (Vec3f{0, 0.002f, 0}));
    EXPECT_EQ(light.radius, 100000);
    EXPECT_TRUE(light.isVisible);

    vs::switchHostLight(*r.host, false);
    EXPECT_FALSE(light.isVisible);
    vs::switchHostLight(*r.host, true);
    EXPECT_EQ(r.room.solidLights.size(), 1u);
    EXPECT_TRUE(light.isVisible);
}

TEST(HostLightTest, LightFollowsMovesMirroredWhileInverted)
{
    HostRoom r;
    r.room.viewState = std::make_unique<SolidViewState>();
    r.room.viewState->invertTop = true;
    vs::switchHostLight(*r.host, true);
    CSolidLight& light = *r.room.solidLights[0];
    // Centre y 6000 mirrored about 0 ... 24000.
    EXPECT_EQ(light.position.z, 18000);
    vs::moveHostByCells(*r.host, 1, 1);
    EXPECT_EQ(light.position.x, 10500);
    EXPECT_EQ(light.position.z, 15000);
    EXPECT_EQ(light.position.y, 2300);
}

TEST(HostLightTest, NoRoomMeansNoLight)
{
    SolidCeiling ceiling;
    auto plane = makePlane(ceiling, 9000, 9000);
    CHost host;
    host.plane = plane.get();
    EXPECT_FALSE(vs::switchHostLight(host, true));
    EXPECT_EQ(host.light, nullptr);
}
