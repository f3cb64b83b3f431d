#include "CeilingFixtures.h"

#include "ceiling/Bends.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ceilingtest;

namespace {

/**
 * A 30000 x 30000 parent (grid 3000, column 5 only 1500 wide) with a docked child in the
 * opening of columns 3 ... 6 and rows 2 ... 5, and panels in the ring around it.
 */
struct DockedRoom
{
    SolidCeiling ceiling;
    std::unique_ptr<CGridMapping> parent;
    CGridMapping* child = nullptr;
    std::unique_ptr<CCandyType> small = makeType(1, 3000, 3000);
    std::unique_ptr<CCandyType> wide = makeType(2, 4500, 3000);
    std::unique_ptr<CCandyType> six = makeType(3, 6000, 3000);
    std::unique_ptr<CCandyType> tall = makeType(4, 3000, 6000);

    explicit DockedRoom(double bendHeight = 800.5)
    {
        parent = std::make_unique<CGridMapping>(&ceiling, nullptr);
        parent->gridWidth = parent->gridHeight = 3000;
        parent->specialGridCols = {{3, 3000}, {5, 1500}, {7, 3000}};
        parent->specialGridRows = {{2, 3000}, {6, 3000}};
        setRect(*parent, 0, 0, 28500, 30000);
        vs::finishOutlines(*parent);
        addTile(*parent, *small, 3, 1); // top ring
        addTile(*parent, *wide, 5, 1);  // top ring, columns 5 ... 6
        addTile(*parent, *small, 7, 4); // right ring
        addTile(*parent, *six, 2, 6);   // bottom ring, reaching in from column 2
        addTile(*parent, *tall, 2, 2);  // left ring, rows 2 ... 3
        addTile(*parent, *small, 4, 3); // inside the opening: in no bend

        auto c = std::make_unique<CGridMapping>(&ceiling, parent.get());
        c->installType = 2;
        c->bendHeight = bendHeight;
        c->gridWidth = c->gridHeight = 3000;
        setRect(*c, 9000, 6000, 19500, 18000);
        vs::resolveDock(*c, {3, 7, 2, 6});
        vs::finishOutlines(*c);
        vs::finishPlaneTree(*c);
        child = c.get();
        parent->children.push_back(std::move(c));
        vs::finishPlaneTree(*parent);
    }

    CGridMapping& bend(int side) { return *child->bends[side]; }
};

} // namespace

TEST(DockBendsTest, ZeroBendHeightGivesNoBends)
{
    DockedRoom room(0);
    for (const auto& bend : room.child->bends)
        EXPECT_EQ(bend, nullptr);
    DockedRoom shallow(0.9); // truncates to 0
    EXPECT_EQ(shallow.child->bends[0], nullptr);
}

TEST(DockBendsTest, StripsSpanTheOpeningWithTheParentsSpecials)
{
    DockedRoom room;
    CGridMapping& top = room.bend(CGridMapping::TopBend);
    EXPECT_EQ(top.parent, nullptr);
    EXPECT_EQ(top.ceiling, &room.ceiling);
    EXPECT_EQ(top.gridHeight, 800);
    EXPECT_EQ(top.outlineBounds, (RRect{0, 0, 10500, 800}));
    ASSERT_EQ(top.specialGridCols.size(), 2u);
    EXPECT_EQ(top.specialGridCols[1].index, 2);
    EXPECT_EQ(top.specialGridCols[1].size, 1500);

    CGridMapping& bottom = room.bend(CGridMapping::BottomBend);
    ASSERT_EQ(bottom.specialGridCols.size(), 2u);
    EXPECT_EQ(bottom.specialGridCols[0].index, 1); // column 5 seen from column 6 backwards
    EXPECT_EQ(bottom.specialGridCols[0].size, 1500);
    EXPECT_EQ(bottom.specialGridCols[1].index, 3);

    CGridMapping& right = room.bend(CGridMapping::RightBend);
    EXPECT_EQ(right.outlineBounds, (RRect{0, 0, 12000, 800}));
    EXPECT_EQ(right.specialGridCols.size(), 1u);
    EXPECT_FALSE(right.outlineStrips.empty());
}

TEST(DockBendsTest, RingPanelsAreCopiedIntoTheStrips)
{
    DockedRoom room;
    CGridMapping& top = room.bend(CGridMapping::TopBend);
    ASSERT_EQ(top.tiles.size(), 2u);
    EXPECT_EQ(top.tiles[0]->gx, 0);
    EXPECT_EQ(top.tiles[1]->gx, 2);
    EXPECT_EQ(top.tiles[1]->width, 4500);
    EXPECT_EQ(top.tiles[1]->lastCol, 3);
    for (const auto& t : top.tiles) {
        EXPECT_EQ(t->gy, 0);
        EXPECT_EQ(t->height, 800);
        EXPECT_EQ(t->side, 0);
        EXPECT_EQ(t->tower, 0);
        EXPECT_EQ(t->plane, &top);
    }
    EXPECT_EQ(top.sameTopIndex.size(), 1u);

    CGridMapping& right = room.bend(CGridMapping::RightBend);
    ASSERT_EQ(right.tiles.size(), 1u);
    EXPECT_EQ(right.tiles[0]->gx, 2);
    EXPECT_EQ(right.tiles[0]->width, 3000); // the parent panel's height

    // Mirrored strips count from the far end of the opening.
    CGridMapping& bottom = room.bend(CGridMapping::BottomBend);
    ASSERT_EQ(bottom.tiles.size(), 1u);
    EXPECT_EQ(bottom.tiles[0]->gx, 3);
    EXPECT_EQ(bottom.tiles[0]->width, 6000);
    CGridMapping& left = room.bend(CGridMapping::LeftBend);
    ASSERT_EQ(left.tiles.size(), 1u);
    EXPECT_EQ(left.tiles[0]->gx, 2);
    EXPECT_EQ(left.tiles[0]->width, 6000);
}

TEST(DockBendsTest, RefreshKeepsOnlyPanelsInsideTheSpan)
{
    DockedRoom room;
    auto refreshed = vs::refreshDockBends(*room.parent);
    EXPECT_EQ(refreshed.size(), 4u);
    EXPECT_EQ(room.bend(CGridMapping::TopBend).tiles.size(), 2u);
    // The bottom panel reaches in from column 2, outside the opening.
    EXPECT_TRUE(room.bend(CGridMapping::BottomBend).tiles.empty());
    EXPECT_TRUE(room.bend(CGridMapping::BottomBend).sameTopIndex.empty());
    EXPECT_EQ(room.bend(CGridMapping::LeftBend).tiles.size(), 1u);
}

TEST(DockBendsTest, LayingPanelsRefreshesTheBends)
{
    DockedRoom room;
    std::vector<CGridMapping*> bends;
    vs::layPanels(*room.parent, *room.small, fitOf({{4, 4}}), fitOf({{1, 1}}), &bends);
    EXPECT_EQ(bends.size(), 4u);
    ASSERT_EQ(room.bend(CGridMapping::TopBend).tiles.size(), 3u);
    EXPECT_EQ(room.bend(CGridMapping::TopBend).tiles[1]->gx, 1);
}

namespace {

/** A root split by one line into two children; each child covers its side with a 3000 grid. */
struct SplitRoom
{
    SolidCeiling ceiling;
    std::unique_ptr<CGridMapping> root;
    std::unique_ptr<CCandyType> small = makeType(1, 3000, 3000);

    SplitRoom(bool horizontalSplit, int hoistSide, std::vector<SpecialGridCol> childRows = {},
              std::vector<SpecialGridCol> childCols = {})
    {
        root = makePlane(ceiling, 24000, 12000);
        root->horizontalSplit = horizontalSplit;
        auto line = std::make_unique<CSplitLine>();
        line->installType = 2;
        line->hoistSide = hoistSide;
        line->hoist = 500;
        if (horizontalSplit) {
            line->pos = 12000;
            line->pt1 = {12000, 1000};
            line->pt2 = {12000, 11000};
        } else {
            line->pos = 6000;
            line->pt1 = {1000, 6000};
            line->pt2 = {9500, 6000};
        }
        root->splitLines.push_back(std::move(line));
        for (int i = 0; i < 2; ++i) {
            auto child = std::make_unique<CGridMapping>(&ceiling, root.get());
            child->gridWidth = child->gridHeight = 3000;
            child->specialGridRows = childRows;
            child->specialGridCols = childCols;
            if (horizontalSplit) {
                child->realGridOffset = {12000.0 * i, 0};
                setRect(*child, 12000.0 * i, 0, 12000.0 * (i + 1), 12000);
            } else {
                setRect(*child, 0, 6000.0 * i, 12000, 6000.0 * (i + 1));
            }
            vs::finishOutlines(*child);
            root->children.push_back(std::move(child));
        }
    }

    CGridMapping& child(int i) { return *root->children[size_t(i)]; }
    CSplitLine& line() { return *root->splitLines[0]; }
};

} // namespace

TEST(SplitBendTest, AlongRowsTakesTheFirstColumnOfTheLowerChild)
{
    SplitRoom room(true, CSplitLine::NextLower);
    addTile(room.child(1), *room.small, 0, 0);
    addTile(room.child(1), *room.small, 0, 2);
    addTile(room.child(1), *room.small, 1, 1); // not along the line
    vs::finishPlaneTree(room.child(0));
    vs::finishPlaneTree(room.child(1));
    vs::finishPlaneTree(*room.root);

    CSplitLine& line = room.line();
    ASSERT_NE(line.bend, nullptr);
    EXPECT_EQ(line.bendOffset, 1000);
    EXPECT_EQ(line.bendStart, (RPoint{12000, 0}));
    EXPECT_EQ(line.bendEnd, (RPoint{12000, 11000}));
    CGridMapping& bend = *line.bend;
    EXPECT_EQ(bend.gridHeight, 500);
    EXPECT_EQ(bend.outlineBounds, (RRect{1000, 0, 11000, 500}));
    ASSERT_EQ(bend.tiles.size(), 2u);
    EXPECT_EQ(bend.tiles[0]->gx, 0);
    EXPECT_EQ(bend.tiles[1]->gx, 2);
    EXPECT_EQ(bend.tiles[1]->height, 500);
    EXPECT_EQ(bend.tiles[1]->rect.left, 6000);
}

TEST(SplitBendTest, AlongColumnsTakesTheLastRowWithRenumberedSpecials)
{
    SplitRoom room(false, CSplitLine::NextHigher, {}, {{1, 1500}, {6, 1000}});
    // Child 0 columns: lines at 0, 3000, 4500, 7500, 10500; rows 0 ... 1.
    addTile(room.child(0), *room.small, 2, 1);
    addTile(room.child(0), *room.small, 3, 0); // not in the last row
    vs::finishPlaneTree(room.child(0));
    vs::finishPlaneTree(room.child(1));
    vs::finishPlaneTree(*room.root);

    CSplitLine& line = room.line();
    ASSERT_EQ(line.child, &room.child(0));
    ASSERT_NE(line.bend, nullptr);
    EXPECT_EQ(line.bendOffset, 1000);
    EXPECT_EQ(line.bendStart, (RPoint{0, 6000}));
    CGridMapping& bend = *line.bend;
    ASSERT_EQ(bend.specialGridCols.size(), 1u);
    EXPECT_EQ(bend.specialGridCols[0].index, 1);
    ASSERT_EQ(bend.tiles.size(), 1u);
    EXPECT_EQ(bend.tiles[0]->gx, 2);
    EXPECT_EQ(bend.tiles[0]->width, 3000);
}

TEST(SplitBendTest, SpecialRowsAlongTheLineAreRefused)
{
    SplitRoom room(true, CSplitLine::NextLower, {{1, 2000}});
    vs::finishPlaneTree(room.child(0));
    vs::finishPlaneTree(room.child(1));
    EXPECT_THROW(vs::finishPlaneTree(*room.root), std::invalid_argument);
}

TEST(SplitBendTest, NoStepOrNoInstallTypeGivesNoBend)
{
    SplitRoom flat(true, CSplitLine::NoStep);
    vs::finishPlaneTree(*flat.root);
    EXPECT_EQ(flat.line().bend, nullptr);
    SplitRoom plain(true, CSplitLine::NextLower);
    plain.line().installType = 0;
    vs::finishPlaneTree(*plain.root);
    EXPECT_EQ(plain.line().bend, nullptr);
}
