// Plan pictures of ceiling planes: zoom rule, background, grid lines, panels turned into their
// cells with the one-pixel insets, side pictures, hosts, alpha, rectangle repaints and the
// highlight overlay, checked pixel by pixel.
#include "ceiling/PlanPicture.h"

#include "catalogue/CCandyType.h"
#include "catalogue/HostCallbacks.h"
#include "ceiling/CeilingLoad.h"
#include "ceiling/GridLayout.h"
#include "document/CGridMapping.h"
#include "document/CeilingSceneHooks.h"
#include "document/SolidCeiling.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr QRgb kRed = 0xffff0000u, kBlue = 0xff0000ffu, kGreen = 0xff00ff00u, kYellow = 0xffffff00u,
               kWhite = 0xffffffffu;

std::vector<unsigned char> pngOf(const QImage& image)
{
    return Picture(image).encode(PictureFormat::Png);
}

/** An 8 x 8 picture of `colour` with its top-left 4 x 4 quarter `corner`. */
QImage cornered(QRgb colour, QRgb corner)
{
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(colour);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, corner);
    return image;
}

QImage plain(QRgb colour)
{
    return cornered(colour, colour);
}

/** Side pictures handed out by the host, by (type id, index). */
std::map<std::pair<int, int>, std::vector<unsigned char>>& sideTextures()
{
    static std::map<std::pair<int, int>, std::vector<unsigned char>> textures;
    return textures;
}

void hostSideTexture(int32 typeId, int32 index, const void** data, int32* size)
{
    const auto found = sideTextures().find({typeId, index});
    if (found == sideTextures().end())
        return;
    *data = found->second.data();
    *size = int32(found->second.size());
}

class RecordingHooks : public CeilingSceneHooks
{
public:
    void tileAdded(CTile&) override {}
    void tileRemoved(CTile&) override {}
    void pictureChanged(CGridMapping& plane) override { changed.push_back(&plane); }
    std::vector<CGridMapping*> changed;
};

/** A rectangular plane of 6000 x 6000 cells at zoom 0.024 (144 pixels a cell). */
class PlanPictureTest : public ::testing::Test
{
protected:
    static constexpr int kCell = 144;

    PlanPictureTest() { callbacks.getCandyTypeTextures = hostSideTexture; }
    ~PlanPictureTest() override { sideTextures().clear(); }

    CCandyType& makeType(int id, const QImage& planImage, int width = 6000, int height = 6000)
    {
        pictureBytes.push_back(pngOf(planImage));
        CandyTypeInfo info;
        info.id = id;
        info.kind = 1;
        info.width = width;
        info.height = height;
        info.pictureData = pictureBytes.back().data();
        info.pictureSize = int(pictureBytes.back().size());
        types.push_back(std::make_unique<CCandyType>(info, &callbacks));
        return *types.back();
    }

    void giveSidePicture(int typeId, int index, const QImage& image)
    {
        sideTextures()[{typeId, index}] = pngOf(image);
    }

    CGridMapping& makePlane(double width, double height, int gridSize = 6000)
    {
        ceiling.root = std::make_unique<CGridMapping>(&ceiling, nullptr);
        CGridMapping& plane = *ceiling.root;
        plane.gridWidth = gridSize;
        plane.gridHeight = gridSize;
        plane.outlinePoints = {{0, 0}, {width, 0}, {width, height}, {0, height}};
        vs::finishOutlines(plane);
        return plane;
    }

    CTile& addTile(CGridMapping& plane, CCandyType& type, int col, int row, int rotation = 0,
                   int side = -1)
    {
        auto tile = std::make_unique<CTile>();
        tile->candyType = &type;
        tile->gx = col - plane.originCol;
        tile->gy = row - plane.originRow;
        tile->width = type.width;
        tile->height = type.height;
        tile->rotateDegree = rotation;
        tile->side = side;
        CTile* raw = tile.get();
        EXPECT_TRUE(vs::addLoadedTile(plane, std::move(tile)));
        return *raw;
    }

    CHost& addHost(CGridMapping& plane, CCandyType& type, int col, int row)
    {
        auto host = std::make_unique<CHost>();
        host->candyType = &type;
        host->gx = col - plane.originCol;
        host->gy = row - plane.originRow;
        CHost* raw = host.get();
        EXPECT_TRUE(vs::addLoadedHost(plane, std::move(host)));
        return *raw;
    }

    static void createAndPaint(CGridMapping& plane)
    {
        vs::createPlanPicture(plane);
        vs::paintPlanPicture(plane);
    }

    /** The colour of a picture pixel, alpha dropped. */
    static QRgb rgbAt(const CGridMapping& plane, int x, int y)
    {
        return plane.picture.pixel(x, y) | 0xff000000u;
    }

    HostCallbacks callbacks;
    SolidCeiling ceiling;
    std::vector<std::vector<unsigned char>> pictureBytes;
    std::vector<std::unique_ptr<CCandyType>> types;
};

TEST(PlanPictureZoomTest, LongerSideKeptWithin1024Pixels)
{
    EXPECT_DOUBLE_EQ(vs::planPictureZoom(50000, 30000), 0.02048);
    EXPECT_DOUBLE_EQ(vs::planPictureZoom(30000, 50000), 0.02048);
    EXPECT_DOUBLE_EQ(vs::planPictureZoom(10000, 8000), 0.024);
    // Exactly 1024 pixels at the default zoom is not more than the span.
    EXPECT_DOUBLE_EQ(vs::planPictureZoom(1024 / 0.024, 10), 0.024);
    EXPECT_DOUBLE_EQ(vs::planPictureZoom(0, 0), 0.024);
}

TEST(PlanPictureZoomTest, DegenerateSizesGiveNoZoom)
{
    EXPECT_EQ(vs::planPictureZoom(std::nan(""), 100), 0);
    EXPECT_EQ(vs::planPictureZoom(100, INFINITY), 0);
    EXPECT_EQ(vs::planPictureZoom(-1, 100), 0);
    // The empty bounds have a negative width.
    const RRect empty = CGridMapping::emptyBounds();
    EXPECT_EQ(vs::planPictureZoom(empty.right - empty.left, empty.bottom - empty.top), 0);
}

TEST_F(PlanPictureTest, PictureSizeFollowsTheZoomRule)
{
    CGridMapping& wide = makePlane(50000, 30000, 10000);
    vs::createPlanPicture(wide);
    EXPECT_DOUBLE_EQ(wide.pictureZoom, 0.02048);
    EXPECT_EQ(wide.pixelRect, (IRect{0, 0, 1024, 614}));
    EXPECT_EQ(wide.picture.size(), QSize(1025, 615));
    EXPECT_EQ(wide.picture.format(), QImage::Format_ARGB32);

    CGridMapping& small = makePlane(10000, 8000, 2000);
    vs::createPlanPicture(small);
    EXPECT_DOUBLE_EQ(small.pictureZoom, 0.024);
    EXPECT_EQ(small.picture.size(), QSize(241, 193));
}

TEST_F(PlanPictureTest, PlaneWithoutCellsGetsNoPicture)
{
    ceiling.root = std::make_unique<CGridMapping>(&ceiling, nullptr);
    CGridMapping& plane = *ceiling.root;
    plane.gridWidth = plane.gridHeight = 6000;
    vs::finishOutlines(plane);
    createAndPaint(plane);
    EXPECT_TRUE(plane.picture.isNull());
    vs::repaintPlanRect(plane, {0, 0, 10, 10});
    vs::setPictureAlpha(plane, 7);
    EXPECT_EQ(plane.pictureAlpha, 7);
}

TEST_F(PlanPictureTest, MillionsOfGridLinesAreDrawnPerPixel)
{
    // Ten million columns of 1 mm: every pixel column holds grid lines.
    CGridMapping& plane = makePlane(1e8, 1e8, 10);
    createAndPaint(plane);
    ASSERT_EQ(plane.picture.size(), QSize(1025, 1025));
    EXPECT_EQ(rgbAt(plane, 500, 300), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, 1024, 1024), vs::kPlanGridLine);
}

TEST_F(PlanPictureTest, BackgroundAndInvertedGridLines)
{
    CGridMapping& plane = makePlane(24000, 12000);
    createAndPaint(plane);
    ASSERT_EQ(plane.picture.size(), QSize(4 * kCell + 1, 2 * kCell + 1));
    EXPECT_EQ(plane.picture.pixel(10, 10), qRgba(85, 85, 153, 128));
    // Pen RGB(128, 128, 128) in the inverting mode writes RGB(127, 127, 127).
    EXPECT_EQ(plane.picture.pixel(kCell, 50), qRgba(127, 127, 127, 128));
    EXPECT_EQ(plane.picture.pixel(50, kCell), qRgba(127, 127, 127, 128));
    EXPECT_EQ(rgbAt(plane, 0, 0), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, 4 * kCell, 2 * kCell), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, kCell + 1, 50), vs::kPlanBackground);
    EXPECT_EQ(rgbAt(plane, kCell - 1, 50), vs::kPlanBackground);
}

TEST_F(PlanPictureTest, PanelTurnsWithItsRotation)
{
    CCandyType& type = makeType(1, cornered(kBlue, kRed));
    CGridMapping& plane = makePlane(24000, 12000);
    addTile(plane, type, 0, 0, 0);
    addTile(plane, type, 1, 0, 90);
    addTile(plane, type, 2, 0, 180);
    addTile(plane, type, 3, 0, 270);
    createAndPaint(plane);
    const int near = 10, far = kCell - 10;
    // The red corner goes round clockwise: top-left, top-right, bottom-right, bottom-left.
    EXPECT_EQ(rgbAt(plane, near, near), kRed);
    EXPECT_EQ(rgbAt(plane, far, near), kBlue);
    EXPECT_EQ(rgbAt(plane, kCell + far, near), kRed);
    EXPECT_EQ(rgbAt(plane, kCell + near, near), kBlue);
    EXPECT_EQ(rgbAt(plane, 2 * kCell + far, far), kRed);
    EXPECT_EQ(rgbAt(plane, 2 * kCell + near, near), kBlue);
    EXPECT_EQ(rgbAt(plane, 3 * kCell + near, far), kRed);
    EXPECT_EQ(rgbAt(plane, 3 * kCell + far, near), kBlue);
}

TEST_F(PlanPictureTest, PanelLeavesTheGridLinesAtItsLeftAndTopVisible)
{
    CCandyType& type = makeType(1, plain(kGreen));
    CCandyType& narrow = makeType(2, plain(kGreen), 3000, 6000);
    CGridMapping& plane = makePlane(24000, 12000);
    addTile(plane, type, 1, 1);
    addTile(plane, narrow, 0, 0);
    createAndPaint(plane);
    // A half-width panel: 72 pixels from its grid line, inset by one; background beside it.
    EXPECT_EQ(rgbAt(plane, 0, 50), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, 71, 50), kGreen);
    EXPECT_EQ(rgbAt(plane, 72, 50), vs::kPlanBackground);
    EXPECT_EQ(rgbAt(plane, kCell, kCell + 50), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, kCell + 50, kCell), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, kCell + 1, kCell + 1), kGreen);
    EXPECT_EQ(rgbAt(plane, 2 * kCell - 1, 2 * kCell - 1), kGreen);
    // The line closing the cell belongs to the next cell and is not painted over.
    EXPECT_EQ(rgbAt(plane, 2 * kCell, kCell + 50), vs::kPlanGridLine);
}

TEST_F(PlanPictureTest, BandsDropTheInsetAcrossThemselves)
{
    CCandyType& type = makeType(1, plain(kGreen));
    ceiling.isBand = true;
    ceiling.bandVertical = false;
    CGridMapping& rows = makePlane(24000, 12000);
    addTile(rows, type, 1, 1);
    createAndPaint(rows);
    EXPECT_EQ(rgbAt(rows, kCell, kCell + 50), kGreen); // no left inset
    EXPECT_EQ(rgbAt(rows, kCell + 50, kCell), vs::kPlanGridLine);

    ceiling.bandVertical = true;
    CGridMapping& cols = makePlane(24000, 12000);
    addTile(cols, type, 1, 1);
    createAndPaint(cols);
    EXPECT_EQ(rgbAt(cols, kCell, kCell + 50), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(cols, kCell + 50, kCell), kGreen); // no top inset
}

TEST_F(PlanPictureTest, SidePictureShownOnlyWhenTheTypeHasIt)
{
    CCandyType& type = makeType(5, plain(kBlue));
    giveSidePicture(5, 1, plain(kGreen));
    CGridMapping& plane = makePlane(24000, 12000);
    addTile(plane, type, 0, 0, 0, 1);
    addTile(plane, type, 1, 0, 0, 2);  // no side picture 2
    addTile(plane, type, 2, 0, 0, 9);  // no such side
    addTile(plane, type, 3, 0, 0, -1); // the plan picture
    createAndPaint(plane);
    EXPECT_EQ(rgbAt(plane, 50, 50), kGreen);
    EXPECT_EQ(rgbAt(plane, kCell + 50, 50), kBlue);
    EXPECT_EQ(rgbAt(plane, 2 * kCell + 50, 50), kBlue);
    EXPECT_EQ(rgbAt(plane, 3 * kCell + 50, 50), kBlue);
}

TEST_F(PlanPictureTest, PanelsWithoutPictureOrTypeLeaveTheBackground)
{
    CCandyType& noPicture = makeType(1, QImage());
    CGridMapping& plane = makePlane(24000, 12000);
    addTile(plane, noPicture, 0, 0);
    CCandyType& real = makeType(2, plain(kGreen));
    CTile& typeless = addTile(plane, real, 1, 0);
    typeless.candyType = nullptr;
    createAndPaint(plane);
    EXPECT_EQ(rgbAt(plane, 50, 50), vs::kPlanBackground);
    EXPECT_EQ(rgbAt(plane, kCell + 50, 50), vs::kPlanBackground);
}

TEST_F(PlanPictureTest, HostsAreDrawnOverPanels)
{
    CCandyType& panel = makeType(1, plain(kGreen));
    CCandyType& lamp = makeType(2, plain(kWhite), 3000, 3000);
    CGridMapping& plane = makePlane(24000, 12000);
    addTile(plane, panel, 0, 0);
    addHost(plane, lamp, 0, 0);
    createAndPaint(plane);
    EXPECT_EQ(rgbAt(plane, 1, 1), kWhite);
    EXPECT_EQ(rgbAt(plane, 71, 71), kWhite);
    EXPECT_EQ(rgbAt(plane, 73, 73), kGreen);
    EXPECT_EQ(rgbAt(plane, 0, 30), vs::kPlanGridLine);
}

TEST_F(PlanPictureTest, AlphaIsWrittenEverywhereAndRewritten)
{
    CCandyType& type = makeType(1, plain(kGreen));
    CGridMapping& plane = makePlane(24000, 12000);
    addTile(plane, type, 0, 0);
    RecordingHooks hooks;
    ceiling.sceneHooks = &hooks;
    createAndPaint(plane);
    const QImage painted = plane.picture.copy();
    vs::setPictureAlpha(plane, 255);
    ASSERT_EQ(hooks.changed.size(), 1u);
    EXPECT_EQ(plane.pictureAlpha, 255);
    for (int y = 0; y < plane.picture.height(); y += 7)
        for (int x = 0; x < plane.picture.width(); x += 5) {
            ASSERT_EQ(qAlpha(plane.picture.pixel(x, y)), 255);
            ASSERT_EQ(qAlpha(painted.pixel(x, y)), 128);
            ASSERT_EQ(plane.picture.pixel(x, y) & 0xffffffu, painted.pixel(x, y) & 0xffffffu);
        }
    // A repaint after pictureAlpha was set behind the picture's back rewrites all of it.
    plane.pictureAlpha = 200;
    vs::repaintPlanRect(plane, {10, 10, 20, 20});
    EXPECT_EQ(qAlpha(plane.picture.pixel(500, 250)), 200);
    EXPECT_EQ(qAlpha(plane.picture.pixel(15, 15)), 200);
}

TEST_F(PlanPictureTest, RepaintChangesOnlyItsRectangle)
{
    CCandyType& green = makeType(1, plain(kGreen));
    CCandyType& red = makeType(2, plain(kRed));
    CGridMapping& plane = makePlane(24000, 12000);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col)
            addTile(plane, green, col, row);
    RecordingHooks hooks;
    ceiling.sceneHooks = &hooks;
    createAndPaint(plane);
    const QImage before = plane.picture.copy();

    for (const auto& tile : plane.tiles)
        tile->candyType = &red; // every panel changes, only one cell is repainted
    const IRect area = vs::pixelRectOfCells(plane, {2, 1, 2, 1});
    vs::repaintPlanRect(plane, area);

    ASSERT_EQ(hooks.changed, std::vector<CGridMapping*>{&plane});
    EXPECT_EQ(rgbAt(plane, 2 * kCell + 50, kCell + 50), kRed);
    EXPECT_EQ(rgbAt(plane, 2 * kCell, kCell + 50), vs::kPlanGridLine);
    for (int y = 0; y < plane.picture.height(); ++y)
        for (int x = 0; x < plane.picture.width(); ++x) {
            const bool inside =
                x >= area.left && x <= area.right && y >= area.top && y <= area.bottom;
            if (!inside) {
                ASSERT_EQ(plane.picture.pixel(x, y), before.pixel(x, y)) << x << "," << y;
            }
        }
}

TEST_F(PlanPictureTest, RepaintMatchesAFullPaint)
{
    CCandyType& green = makeType(1, cornered(kGreen, kBlue));
    CCandyType& lamp = makeType(3, plain(kWhite), 3000, 3000);
    CGridMapping& plane = makePlane(30000, 18000, 5000);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 6; ++col)
            addTile(plane, green, col, row, 90 * ((row + col) % 4));
    addHost(plane, lamp, 2, 1);
    createAndPaint(plane);
    vs::repaintPlanRect(plane, {37, 41, 400, 300});
    const QImage repainted = plane.picture.copy();
    vs::paintPlanPicture(plane);
    EXPECT_EQ(repainted, plane.picture);
}

TEST_F(PlanPictureTest, RepaintOutsideThePictureDoesNothing)
{
    CGridMapping& plane = makePlane(24000, 12000);
    RecordingHooks hooks;
    ceiling.sceneHooks = &hooks;
    createAndPaint(plane);
    const QImage before = plane.picture.copy();
    vs::repaintPlanRect(plane, {5000, 5000, 6000, 6000});
    vs::repaintPlanRect(plane, {-900, 10, -1, 20});
    vs::repaintPlanRect(plane, {30, 30, 10, 10}); // empty
    vs::repaintPlanRect(plane, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN});
    EXPECT_TRUE(hooks.changed.empty());
    EXPECT_EQ(plane.picture, before);
    // A rectangle reaching beyond the picture repaints the part inside.
    vs::repaintPlanRect(plane, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    EXPECT_EQ(hooks.changed.size(), 1u);
    EXPECT_EQ(plane.picture, before);
}

TEST_F(PlanPictureTest, HighlightDrawsInvertedYellowLinesAndTheType)
{
    CCandyType& green = makeType(1, plain(kGreen));
    CCandyType& dragged = makeType(2, cornered(kBlue, kRed), 6000, 12000);
    dragged.rotateDegree = 90; // lies 12000 across the columns, 6000 along the rows
    CGridMapping& plane = makePlane(24000, 12000);
    for (int col = 0; col < 4; ++col)
        addTile(plane, green, col, 0);
    createAndPaint(plane);

    vs::PlanHighlight h;
    h.active = true;
    h.type = &dragged;
    h.cols = {1, 2, kCell, 2 * kCell, {{1, 2, 2, kCell, 2 * kCell, 0}}};
    h.rows = {0, 0, 0, kCell, {{0, 0, 1, 0, kCell, 0}}};
    vs::repaintPlanRect(plane, vs::pixelRectOfCells(plane, {0, 0, 3, 1}), &h);

    EXPECT_EQ(rgbAt(plane, kCell, 50), vs::kPlanHighlightLine);
    EXPECT_EQ(rgbAt(plane, 3 * kCell, 50), vs::kPlanHighlightLine);
    EXPECT_EQ(rgbAt(plane, kCell + 50, 0), vs::kPlanHighlightLine);
    EXPECT_EQ(rgbAt(plane, kCell + 50, kCell), vs::kPlanHighlightLine);
    // Lines outside the highlighted cells keep the grid colour.
    EXPECT_EQ(rgbAt(plane, 0, 50), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, 4 * kCell, 50), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, 50, kCell + 50), vs::kPlanBackground);
    // The type's picture covers both cells, turned: its red corner at the top right.
    EXPECT_EQ(rgbAt(plane, 3 * kCell - 10, 10), kRed);
    EXPECT_EQ(rgbAt(plane, kCell + 10, 10), kBlue);
    EXPECT_EQ(rgbAt(plane, 50, 50), kGreen);
    EXPECT_EQ(rgbAt(plane, 3 * kCell + 50, 50), kGreen);

    h.active = false;
    vs::repaintPlanRect(plane, vs::pixelRectOfCells(plane, {0, 0, 3, 1}), &h);
    EXPECT_EQ(rgbAt(plane, kCell, 50), vs::kPlanGridLine);
    EXPECT_EQ(rgbAt(plane, kCell + 10, 10), kGreen);
}

TEST_F(PlanPictureTest, HighlightOnBandsDropsTheInsetAcrossThemLikeThePanels)
{
    CCandyType& dragged = makeType(2, plain(kYellow));
    ceiling.isBand = true;
    ceiling.bandVertical = false;
    CGridMapping& plane = makePlane(24000, 12000);
    createAndPaint(plane);
    vs::PlanHighlight h;
    h.active = true;
    h.type = &dragged;
    h.cols = {1, 1, kCell, kCell, {{1, 1, 1, kCell, kCell, 0}}};
    h.rows = {1, 1, kCell, kCell, {{1, 1, 1, kCell, kCell, 0}}};
    vs::repaintPlanRect(plane, vs::pixelRectOfCells(plane, {0, 0, 3, 1}), &h);
    EXPECT_EQ(rgbAt(plane, kCell, kCell + 50), kYellow); // no left inset along the band
    EXPECT_EQ(rgbAt(plane, kCell + 50, kCell), vs::kPlanHighlightLine);
    EXPECT_EQ(rgbAt(plane, 2 * kCell - 1, 2 * kCell - 1), kYellow);
}

TEST_F(PlanPictureTest, HighlightDraggedTowardsLowerCellsStillDrawsItsLines)
{
    CCandyType& dragged = makeType(2, plain(kYellow));
    CGridMapping& plane = makePlane(24000, 12000);
    createAndPaint(plane);
    vs::PlanHighlight h;
    h.active = true;
    h.type = &dragged;
    // A search from column 2 back to column 1: first 2, last 1.
    h.cols = {2, 1, kCell, 2 * kCell, {{1, 2, 2, kCell, 2 * kCell, 0}}};
    h.rows = {0, 0, 0, kCell, {{0, 0, 1, 0, kCell, 0}}};
    vs::repaintPlanRect(plane, vs::pixelRectOfCells(plane, {0, 0, 3, 1}), &h);
    EXPECT_EQ(rgbAt(plane, kCell, 50), vs::kPlanHighlightLine);
    EXPECT_EQ(rgbAt(plane, 3 * kCell, 50), vs::kPlanHighlightLine);
}

TEST_F(PlanPictureTest, HighlightWithAbsurdRunsStaysBounded)
{
    CCandyType& dragged = makeType(2, plain(kYellow));
    CGridMapping& plane = makePlane(24000, 12000);
    createAndPaint(plane);
    vs::PlanHighlight h;
    h.active = true;
    h.type = &dragged;
    h.cols = {INT32_MIN, INT32_MAX, 0, 0, {}};
    h.rows = {INT32_MIN, INT32_MAX, 0, 0, {}};
    for (int i = 0; i < 200000; ++i) {
        h.cols.runs.push_back({0, 0, 1, i % 7, 144, 0});
        h.rows.runs.push_back({0, 0, 1, i % 5, 144, 0});
    }
    vs::paintPlanPicture(plane, &h);
    EXPECT_EQ(rgbAt(plane, 50, 50), kYellow);
    EXPECT_EQ(rgbAt(plane, 4 * kCell, 50), vs::kPlanHighlightLine);
}

} // namespace
