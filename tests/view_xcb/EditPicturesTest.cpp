// Design edits drawn by the 3D window with OpenGL under X: a selected facility shows its green
// cloak, and panels laid over a rectangle of cells show on the ceiling. The pictures are written
// to build/pixels/ to be looked at.
#include "EditFixture.h"
#include "XcbTestSupport.h"

#include <QDir>
#include <QImage>

namespace {

using edittest::EditFixture;

/** Pixels that are clearly the cloak's green. */
int greenPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += qGreen(p) > qRed(p) + 80 && qGreen(p) > qBlue(p) + 80;
        }
    return count;
}

void keep(const QImage& image, const char* name)
{
    const QString dir = QString(VS_TEST_BINARY_DIR) + "/pixels";
    QDir().mkpath(dir);
    image.save(dir + "/" + name);
}

class EditPicturesTest : public EditFixture
{
protected:
    void SetUp() override
    {
        if (!xcbtest::onX())
            GTEST_SKIP() << "needs the xcb platform";
        EditFixture::SetUp();
    }
};

TEST_F(EditPicturesTest, ASelectedFacilityShowsItsCloak)
{
    open("kitchen", {800, 600});
    ASSERT_EQ(CSolidWnd::DriverKind::OpenGL, wnd().driverKind());
    lookFrom({15000, 17000, 23500}, {19500, 5000, 15000});
    const QImage before = wnd().RenderToImage();
    click(clientOf({19500, 7500, 16000})); // the table
    ASSERT_EQ(1u, wnd().selection().size());
    const QImage selected = wnd().RenderToImage();
    keep(selected, "edit-selection.png");
    EXPECT_GT(greenPixels(selected), greenPixels(before) + 100);
}

TEST_F(EditPicturesTest, LaidPanelsShowOnTheCeiling)
{
    open("kitchen", {800, 600});
    ASSERT_EQ(CSolidWnd::DriverKind::OpenGL, wnd().driverKind());
    setCurrentPanelType(1104); // oak decor over the white panels
    lookFrom({15000, 12000, 22000}, {15000, 24000, 9000});
    const QPoint centre = clientOf({10500, 24000, 7500});
    const QImage before = wnd().RenderToImage();
    drag(clientOf({4500, 24000, 4500}), clientOf({19500, 24000, 10500}));
    ASSERT_EQ(1, stack().count());
    const QImage laid = wnd().RenderToImage();
    keep(laid, "edit-laid-panels.png");
    const QRgb a = before.pixel(centre), b = laid.pixel(centre);
    EXPECT_GT(std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                  std::abs(qBlue(a) - qBlue(b)),
              40);
}

} // namespace
