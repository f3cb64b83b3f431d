#include "CeilingFixtures.h"

#include "document/CSolidDocument.h"
#include "document/CSolidLight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace ceilingtest;

TEST(DerivedOutlinesTest, FourPointOutlineGrowsByIndentAroundItsCentre)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.gridWidth = plane.gridHeight = 3000;
    setRect(plane, 1000, 2000, 5000, 4000);
    plane.indent = 50;
    vs::finishOutlines(plane);
    EXPECT_EQ(plane.indentedBounds, (RRect{950, 1950, 5050, 4050}));
    EXPECT_EQ(plane.outlineBounds, (RRect{1000, 2000, 5000, 4000}));
}

TEST(DerivedOutlinesTest, FivePointOutlineIgnoresIndent)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.gridWidth = plane.gridHeight = 3000;
    plane.outlinePoints = {{0, 0}, {4000, 0}, {4000, 2000}, {2000, 3000}, {0, 2000}};
    plane.indent = 50;
    vs::finishOutlines(plane);
    EXPECT_EQ(plane.indentedOutline, plane.outlinePoints);
}

TEST(DerivedOutlinesTest, OffsetAndRotationGiveGridBounds)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.gridWidth = plane.gridHeight = 3000;
    setRect(plane, 1000, 1000, 7000, 4000);
    plane.realGridOffset = {1000, 1000};
    plane.rotateDegree = 90;
    vs::finishOutlines(plane);
    ASSERT_EQ(plane.relOutline.size(), 4u);
    EXPECT_EQ(plane.relOutline[2], (RPoint{6000, 3000}));
    // Turned by -90 degrees: (x, y) -> (y, -x), in single precision.
    EXPECT_NEAR(plane.gridBounds.left, 0, 1e-3);
    EXPECT_NEAR(plane.gridBounds.right, 3000, 1e-3);
    EXPECT_NEAR(plane.gridBounds.top, -6000, 1e-3);
    EXPECT_NEAR(plane.gridBounds.bottom, 0, 1e-3);
    EXPECT_EQ(plane.originRow, -2);
    EXPECT_EQ(plane.rowCount, 2);
}

TEST(PlaneBoundsTest, NoOutlinePointsMeansNoCells)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.gridWidth = plane.gridHeight = 3000;
    vs::finishOutlines(plane);
    EXPECT_EQ(plane.outlineBounds, CGridMapping::emptyBounds());
    EXPECT_EQ(plane.cellRect, CGridMapping::emptyCellRect());
    EXPECT_EQ(plane.colCount, 0);
    EXPECT_TRUE(plane.positiveWinding);
}

TEST(PlaneBoundsTest, CellsAndAlignedBoundsCoverTheOutline)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.gridWidth = 3000;
    plane.gridHeight = 2000;
    plane.specialGridCols = {{1, 1000}};
    setRect(plane, -500, 100, 4500, 4000);
    vs::finishOutlines(plane);
    EXPECT_EQ(plane.cellRect, (IRect{-1, 0, 2, 1}));
    EXPECT_EQ(plane.originCol, -1);
    EXPECT_EQ(plane.colCount, 4);
    EXPECT_EQ(plane.rowCount, 2);
    EXPECT_EQ(plane.alignedBoundRRect, (RRect{-3000, 0, 7000, 4000}));
}

TEST(PlaneBoundsTest, NonFiniteOutlineIsRefused)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.outlinePoints = {{0, 0}, {std::nan(""), 0}, {1, 1}};
    EXPECT_THROW(vs::finishOutlines(plane), std::invalid_argument);
    plane.outlinePoints = {{0, 0}, {1, 0}, {1, 1}};
    plane.rotateDegree = INFINITY;
    EXPECT_THROW(vs::finishOutlines(plane), std::invalid_argument);
}

TEST(PlaneBoundsTest, HugePlaneStaysFinite)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.gridWidth = plane.gridHeight = 1;
    setRect(plane, 0, 0, 1e9, 1e12);
    vs::finishOutlines(plane);
    EXPECT_EQ(plane.colCount, 1000000000);
    EXPECT_EQ(plane.cellRect.bottom, INT32_MAX - 1);
}

TEST(DockTest, ResolvesSpecialIndicesOfTheParent)
{
    SolidCeiling ceiling;
    CGridMapping parent(&ceiling, nullptr);
    parent.specialGridCols = {{2, 3000}, {5, 3000}};
    parent.specialGridRows = {{-1, 3000}, {3, 3000}};
    CGridMapping child(&ceiling, &parent);
    vs::resolveDock(child, {2, 5, -1, 3});
    EXPECT_TRUE(child.hasDock);
    EXPECT_EQ(child.dockCols[1], 5);
    EXPECT_EQ(child.dockRows[0], -1);
}

TEST(DockTest, MalformedDocksAreRefused)
{
    SolidCeiling ceiling;
    CGridMapping parent(&ceiling, nullptr);
    parent.specialGridCols = {{2, 3000}, {5, 3000}};
    parent.specialGridRows = {{0, 3000}, {3, 3000}};
    CGridMapping child(&ceiling, &parent);
    EXPECT_THROW(vs::resolveDock(child, {2, 5, 0}), std::invalid_argument);
    EXPECT_THROW(vs::resolveDock(child, {2, 4, 0, 3}), std::invalid_argument);
    EXPECT_THROW(vs::resolveDock(child, {2, 5, 0, 2}), std::invalid_argument);
    // Columns and rows are not interchangeable.
    EXPECT_THROW(vs::resolveDock(child, {0, 3, 2, 5}), std::invalid_argument);
    CGridMapping orphan(&ceiling, nullptr);
    EXPECT_THROW(vs::resolveDock(orphan, {2, 5, 0, 3}), std::invalid_argument);
    EXPECT_FALSE(child.hasDock);
}

namespace {

/** A split root with n + 1 children and the split lines (hoistSide, hoist). */
std::unique_ptr<CGridMapping>
makeSplit(SolidCeiling& ceiling, const std::vector<std::pair<int, int>>& lines, size_t children)
{
    auto root = makePlane(ceiling, 40000, 10000);
    root->horizontalSplit = true;
    double pos = 0;
    for (auto [side, hoist] : lines) {
        auto line = std::make_unique<CSplitLine>();
        line->pos = pos += 10000;
        line->hoistSide = side;
        line->hoist = hoist;
        line->sectionLine = std::make_unique<CSectionLine>();
        root->splitLines.push_back(std::move(line));
    }
    for (size_t i = 0; i < children; ++i)
        root->children.push_back(std::make_unique<CGridMapping>(&ceiling, root.get()));
    return root;
}

} // namespace

TEST(SplitLevelsTest, LowestChildGetsZero)
{
    SolidCeiling ceiling;
    auto root = makeSplit(ceiling, {{1, 300}, {2, 300}, {0, 300}}, 4);
    vs::finishPlaneTree(*root);
    EXPECT_EQ(root->children[0]->hoist, 300);
    EXPECT_EQ(root->children[1]->hoist, 0);
    EXPECT_EQ(root->children[2]->hoist, 300);
    EXPECT_EQ(root->children[3]->hoist, 300);
}

TEST(SplitLevelsTest, LinesLinkTheSteppedChild)
{
    SolidCeiling ceiling;
    auto root = makeSplit(ceiling, {{1, 300}, {2, 300}, {0, 300}}, 4);
    vs::finishPlaneTree(*root);
    EXPECT_EQ(root->splitLines[0]->child, root->children[1].get());
    EXPECT_EQ(root->splitLines[0]->sectionLine->owner, root->children[1].get());
    EXPECT_EQ(root->splitLines[1]->child, root->children[1].get());
    EXPECT_EQ(root->splitLines[2]->child, nullptr);
    EXPECT_EQ(root->splitLines[2]->owner, root.get());
}

TEST(SplitLevelsTest, LineLinkedToMissingChildIsRefused)
{
    SolidCeiling ceiling;
    auto root = makeSplit(ceiling, {{1, 300}}, 1);
    EXPECT_THROW(vs::finishPlaneTree(*root), std::invalid_argument);
}

TEST(SameTopIndexTest, BandsStaySortedAndTrackRowSpan)
{
    SolidCeiling ceiling;
    auto plane = makePlane(ceiling, 30000, 30000);
    auto small = makeType(1, 3000, 3000);
    auto tall = makeType(2, 3000, 9000);
    addTile(*plane, *small, 4, 2);
    addTile(*plane, *small, 1, 5);
    CTile* t = addTile(*plane, *tall, 2, 2);
    addTile(*plane, *small, 0, 2);
    ASSERT_EQ(plane->sameTopIndex.size(), 2u);
    const CCandiesSameTop& band = *plane->sameTopIndex[0];
    EXPECT_EQ(band.top, 2);
    EXPECT_EQ(band.rowSpan, 3);
    ASSERT_EQ(band.candies.size(), 3u);
    EXPECT_EQ(band.candies[0]->gx, 0);
    EXPECT_EQ(band.candies[1]->gx, 2);
    EXPECT_EQ(band.candies[2]->gx, 4);
    EXPECT_EQ(plane->sameTopIndex[1]->top, 5);

    EXPECT_TRUE(vs::unindexTile(*plane, t));
    EXPECT_EQ(plane->sameTopIndex[0]->rowSpan, 1);
    EXPECT_FALSE(vs::unindexTile(*plane, t));
}

TEST(SameTopIndexTest, EmptiedBandIsDeleted)
{
    SolidCeiling ceiling;
    auto plane = makePlane(ceiling, 30000, 30000);
    auto type = makeType(1, 3000, 3000);
    CTile* only = addTile(*plane, *type, 1, 1);
    addTile(*plane, *type, 1, 3);
    EXPECT_TRUE(vs::unindexTile(*plane, only));
    ASSERT_EQ(plane->sameTopIndex.size(), 1u);
    EXPECT_EQ(plane->sameTopIndex[0]->top, 3);
}

TEST(LoadedItemsTest, RelativeCellsBecomeAbsoluteAndUnknownTypesDrop)
{
    SolidCeiling ceiling;
    auto plane = std::make_unique<CGridMapping>(&ceiling, nullptr);
    plane->gridWidth = plane->gridHeight = 3000;
    setRect(*plane, -7000, -4000, 9000, 9000);
    vs::finishOutlines(*plane);
    ASSERT_EQ(plane->originCol, -3);
    ASSERT_EQ(plane->originRow, -2);
    auto type = makeType(1, 3000, 3000);
    auto tile = std::make_unique<CTile>();
    tile->candyType = type.get();
    tile->gx = 1;
    tile->gy = 1;
    tile->width = tile->height = 3000;
    EXPECT_TRUE(vs::addLoadedTile(*plane, std::move(tile)));
    EXPECT_EQ(plane->tiles[0]->gx, -2);
    EXPECT_EQ(plane->tiles[0]->gy, -1);
    EXPECT_EQ(plane->tiles[0]->rect, (RRect{-6000, -3000, -3000, 0}));

    EXPECT_FALSE(vs::addLoadedTile(*plane, std::make_unique<CTile>()));
    EXPECT_FALSE(vs::addLoadedTile(*plane, nullptr));
    EXPECT_FALSE(vs::addLoadedHost(*plane, std::make_unique<CHost>()));
    EXPECT_EQ(plane->tiles.size(), 1u);
    EXPECT_TRUE(plane->hosts.empty());

    auto host = std::make_unique<CHost>();
    host->candyType = type.get();
    host->freePosition = true;
    host->rect.left = 100;
    host->rect.top = 200;
    EXPECT_TRUE(vs::addLoadedHost(*plane, std::move(host)));
    EXPECT_EQ(plane->hosts[0]->rect, (RRect{-8900, -5800, -5900, -2800}));
}

TEST(HostLookupTest, LastContainingHostWinsAndEdgesAreHalfOpen)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    for (int i = 0; i < 3; ++i) {
        auto host = std::make_unique<CHost>();
        host->id = i == 2 ? 7 : i + 1;
        host->rect = {double(i * 100), 0, double(i * 100 + 200), 100};
        plane.hosts.push_back(std::move(host));
    }
    EXPECT_EQ(plane.hostAt({150, 50}), plane.hosts[1].get());
    EXPECT_EQ(plane.hostAt({200, 0}), plane.hosts[2].get());
    EXPECT_EQ(plane.hostAt({400, 50}), nullptr);
    EXPECT_EQ(plane.hostAt({50, 100}), nullptr);
    EXPECT_EQ(plane.hostById(7), plane.hosts[2].get());
    EXPECT_EQ(plane.hostById(9), nullptr);
}

TEST(HostLookupTest, RemovedHostUnlinksItsLight)
{
    CSolidDocument room;
    SolidCeiling ceiling;
    ceiling.room = &room;
    CGridMapping plane(&ceiling, nullptr);
    plane.hosts.push_back(std::make_unique<CHost>());
    CHost* host = plane.hosts[0].get();
    room.solidLights.push_back(std::make_unique<CSolidLight>(&room));
    host->light = room.solidLights[0].get();
    host->light->host = host;
    EXPECT_TRUE(plane.removeHost(host));
    EXPECT_TRUE(plane.hosts.empty());
    EXPECT_EQ(room.solidLights[0]->host, nullptr);
    EXPECT_FALSE(plane.removeHost(host));
}

TEST(SpecialLookupTest, FindsByIndexIncludingNegative)
{
    SolidCeiling ceiling;
    CGridMapping plane(&ceiling, nullptr);
    plane.specialGridCols = {{-3, 100}, {4, 200}};
    ASSERT_NE(plane.specialGridCol(-3), nullptr);
    EXPECT_EQ(plane.specialGridCol(-3)->size, 100);
    EXPECT_EQ(plane.specialGridCol(0), nullptr);
    EXPECT_EQ(plane.specialGridRow(4), nullptr);
}

TEST(PlaneTreeTest, DeepNestingIsRefused)
{
    SolidCeiling ceiling;
    auto root = std::make_unique<CGridMapping>(&ceiling, nullptr);
    CGridMapping* p = root.get();
    for (int depth = 1; depth <= vs::kMaxPlaneDepth + 1; ++depth) {
        p->children.push_back(std::make_unique<CGridMapping>(&ceiling, p));
        p = p->children.back().get();
        if (depth <= vs::kMaxPlaneDepth)
            EXPECT_NO_THROW(vs::finishOutlines(*p));
        else
            EXPECT_THROW(vs::finishOutlines(*p), std::invalid_argument);
    }
}

TEST(PlaneTreeTest, OpenPolygonLeavesOutTheChildren)
{
    SolidCeiling ceiling;
    auto root = makePlane(ceiling, 10000, 10000);
    auto child = std::make_unique<CGridMapping>(&ceiling, root.get());
    setRect(*child, 0, 0, 10000, 10000);
    vs::finishOutlines(*child);
    vs::finishPlaneTree(*child);
    root->children.push_back(std::move(child));
    vs::finishPlaneTree(*root);
    EXPECT_TRUE(root->openPolygon.empty());
    EXPECT_FALSE(root->outlineStrips.empty());
}
