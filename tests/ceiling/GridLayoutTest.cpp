#include "CeilingFixtures.h"

#include <gtest/gtest.h>

using namespace ceilingtest;

TEST(ZoomTest, PixelRectFollowsTheOuterGridLines)
{
    SolidCeiling ceiling;
    auto plane = makePlane(ceiling, 50000, 30000, 5000);
    ASSERT_EQ(plane->alignedBoundRRect, (RRect{0, 0, 50000, 30000}));
    vs::setZoom(*plane, 1024.0 / 50000);
    EXPECT_DOUBLE_EQ(plane->zoomX, 0.02048);
    EXPECT_DOUBLE_EQ(plane->zoomY, 0.02048);
    EXPECT_EQ(plane->pixelRect, (IRect{0, 0, 1024, 614}));
}

TEST(ZoomTest, TilesAndHostsFollowTheZoom)
{
    SolidCeiling ceiling;
    auto plane = makePlane(ceiling, 10000, 8000, 1000);
    auto type = makeType(1, 2000, 1000);
    CTile* tile = addTile(*plane, *type, 1, 2);
    EXPECT_EQ(tile->pixelRect, CGridMapping::emptyPixelRect()); // no zoom yet
    vs::setZoom(*plane, 0.024);
    EXPECT_EQ(tile->pixelRect, (IRect{24, 48, 71, 71}));
    EXPECT_EQ(plane->pixelRect, (IRect{0, 0, 240, 192}));
    vs::setZoom(*plane, -1);
    EXPECT_EQ(plane->pictureZoom, 0);
}

TEST(ZoomTest, PixelRectOfCellsIsInclusive)
{
    SolidCeiling ceiling;
    auto plane = makePlane(ceiling, 10000, 8000, 1000);
    vs::setZoom(*plane, 0.024);
    EXPECT_EQ(vs::pixelRectOfCells(*plane, {1, 1, 2, 3}), (IRect{24, 24, 71, 95}));
}

TEST(TilePlacementTest, PanelOverNarrowSpecialColumnCoversTwoCells)
{
    SolidCeiling ceiling;
    auto plane = std::make_unique<CGridMapping>(&ceiling, nullptr);
    plane->gridWidth = plane->gridHeight = 6000;
    plane->specialGridCols = {{0, 3000}};
    setRect(*plane, 0, 0, 30000, 30000);
    vs::finishOutlines(*plane);
    auto type = makeType(1, 6000, 6000);
    CTile* tile = addTile(*plane, *type, 0, 0);
    EXPECT_EQ(tile->lastCol, 1);
    EXPECT_EQ(tile->lastRow, 0);
    EXPECT_EQ(tile->rect, (RRect{0, 0, 6000, 6000}));
    EXPECT_EQ(tile->storedRect, tile->rect);
}

TEST(TilePlacementTest, QuarterTurnSwapsTheExtents)
{
    SolidCeiling ceiling;
    auto plane = makePlane(ceiling, 30000, 30000, 3000);
    auto type = makeType(1, 6000, 3000);
    CTile* tile = addTile(*plane, *type, 2, 2);
    tile->rotateDegree = 90;
    vs::placeTile(*tile);
    EXPECT_EQ(tile->lastCol, 2);
    EXPECT_EQ(tile->lastRow, 3);
    EXPECT_EQ(tile->rect, (RRect{6000, 6000, 9000, 12000}));
    tile->rotateDegree = 180;
    vs::placeTile(*tile);
    EXPECT_EQ(tile->lastCol, 3);
}

namespace {

/** A 10 x 10 plane of 3000 cells with single-cell tiles on every cell of rows 0, 4 and 9 and a
 *  tall (three-row) tile at (5, 1). */
struct IndexedPlane
{
    SolidCeiling ceiling;
    std::unique_ptr<CGridMapping> plane = makePlane(ceiling, 30000, 30000);
    std::unique_ptr<CCandyType> small = makeType(1, 3000, 3000);
    std::unique_ptr<CCandyType> tall = makeType(2, 3000, 9000);
    CTile* tallTile = nullptr;

    IndexedPlane()
    {
        for (int row : {0, 4, 9})
            for (int col = 0; col < 10; ++col)
                addTile(*plane, *small, col, row);
        tallTile = addTile(*plane, *tall, 5, 1);
    }
};

} // namespace

TEST(TilesMeetingTest, FindsTallTileFromABandAbove)
{
    IndexedPlane p;
    auto found = vs::tilesMeeting(*p.plane, {5, 3, 5, 3});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], p.tallTile);
}

TEST(TilesMeetingTest, RectangleSelectsOnlyMeetingTiles)
{
    IndexedPlane p;
    auto found = vs::tilesMeeting(*p.plane, {2, 3, 6, 4});
    ASSERT_EQ(found.size(), 6u); // the tall tile, then row 4 columns 2 ... 6
    EXPECT_EQ(found[0], p.tallTile);
    for (size_t i = 1; i < found.size(); ++i) {
        EXPECT_EQ(found[i]->gy, 4);
        EXPECT_EQ(found[i]->gx, int(i) + 1);
    }
    EXPECT_TRUE(vs::tilesMeeting(*p.plane, {0, 5, 9, 8}).empty());
    EXPECT_EQ(vs::tilesMeeting(*p.plane, {0, 0, 9, 9}).size(), 31u);
    EXPECT_TRUE(vs::tilesMeeting(*p.plane, {3, 3, 2, 9}).empty());
}

TEST(RemoveTilesTest, OnlyTilesWhollyInsideRunsGo)
{
    IndexedPlane p;
    RecordingHooks hooks;
    p.ceiling.sceneHooks = &hooks;
    vs::setZoom(*p.plane, 0.024);
    // Columns 4 ... 6, rows 1 ... 2: the tall tile reaches row 3 and stays.
    IRect area = vs::removeTilesUnder(*p.plane, fitOf({{4, 6}}), fitOf({{1, 2}}));
    EXPECT_TRUE(vs::isEmptyRect(area));
    EXPECT_TRUE(hooks.removed.empty());

    area = vs::removeTilesUnder(*p.plane, fitOf({{0, 1}, {4, 6}}), fitOf({{0, 0}, {1, 4}}));
    // Row 0 columns 0, 1, 4, 5, 6; the tall tile; row 4 columns 0, 1, 4, 5, 6.
    EXPECT_EQ(hooks.removed.size(), 11u);
    EXPECT_EQ(p.plane->tiles.size(), 20u);
    EXPECT_EQ(area, (IRect{0, 0, 503, 359}));
    EXPECT_EQ(vs::tilesMeeting(*p.plane, {0, 0, 9, 9}).size(), 20u);
    EXPECT_EQ(p.plane->sameTopIndex.size(), 3u); // the tall tile's band is gone
}

TEST(LayPanelsTest, OneTilePerRunPairWithTypeDefaults)
{
    IndexedPlane p;
    RecordingHooks hooks;
    p.ceiling.sceneHooks = &hooks;
    vs::setZoom(*p.plane, 0.024);
    auto big = makeType(3, 6000, 3000, 0, 120);
    IRect area = vs::layPanels(*p.plane, *big, fitOf({{0, 1}, {2, 3}}), fitOf({{0, 0}, {9, 9}}));
    EXPECT_EQ(hooks.removed.size(), 8u);
    ASSERT_EQ(hooks.added.size(), 4u);
    // Rows outer, columns inner.
    EXPECT_EQ(hooks.added[0]->gx, 0);
    EXPECT_EQ(hooks.added[1]->gx, 2);
    EXPECT_EQ(hooks.added[2]->gy, 9);
    for (CTile* t : hooks.added) {
        EXPECT_EQ(t->candyType, big.get());
        EXPECT_EQ(t->tower, 120);
        EXPECT_EQ(t->side, -1);
        EXPECT_EQ(t->width, 6000);
        EXPECT_EQ(t->lastCol, t->gx + 1);
    }
    EXPECT_EQ(area, (IRect{0, 0, 287, 719}));
    EXPECT_EQ(p.plane->tiles.size(), 31u - 8u + 4u);
    EXPECT_EQ(vs::tilesMeeting(*p.plane, {0, 9, 3, 9}).size(), 2u);
}

TEST(RowHelpersTest, AddTheGridOffset)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.gridWidth = 3000;
    plane.gridHeight = 2000;
    plane.realGridOffset = {100, 500};
    EXPECT_EQ(vs::rowLinePos(plane, 2), 4500);
    EXPECT_EQ(vs::colLinePos(plane, -1), -2900);
    EXPECT_EQ(vs::rowAt(plane, 499).index, -1);
    EXPECT_EQ(vs::rowAt(plane, 2500).index, 1);
    EXPECT_EQ(vs::colAt(plane, 3100).index, 1);
}

TEST(RectTest, UnionIgnoresEmptyOperands)
{
    const IRect empty = CGridMapping::emptyPixelRect();
    EXPECT_TRUE(vs::isEmptyRect(empty));
    EXPECT_EQ(vs::uniteRects(empty, {1, 2, 3, 4}), (IRect{1, 2, 3, 4}));
    EXPECT_EQ(vs::uniteRects({1, 2, 3, 4}, {0, 5, 2, 6}), (IRect{0, 2, 3, 6}));
}
