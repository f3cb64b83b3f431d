// What a new user sees first: every bundled design drawn through the reference host, headless,
// in its saved first-person view and, for the design with a room photo, in change top.
// Everything skips when Qt does not run on xcb.
#include "CataloguePack.h"
#include "HomeDirectory.h"
#include "HostDesign.h"
#include "HostSession.h"
#include "ModelOverrides.h"
#include "ModuleExports.h"

#include "XcbTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kSource = VS_TEST_SOURCE_DIR;

std::string scratch(const std::string& name)
{
    const fs::path dir = fs::temp_directory_path() / ("vs-views-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return (dir / name).string();
}

class BundledDesignViewsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!xcbtest::onX())
            GTEST_SKIP() << "needs the xcb platform";
        const std::string pack = kSource + "/data/pack/index.xml";
        session = std::make_unique<vhost::HostSession>(
            vhost::ModuleExports::load(VS_LIBRARY_PATH), vhost::CataloguePack::load(pack),
            vhost::ModelOverrides::load(scratch("ov.xml")));
        session->pour(
            vhost::prepareHomeDirectory(scratch("home"), vhost::programDirectory(), pack));
    }

    QImage picture(const std::string& design, int viewMode)
    {
        vhost::HostDesign text =
            vhost::HostDesign::load(kSource + "/data/designs/" + design + ".xml");
        const std::string path = scratch(design + "-" + std::to_string(viewMode) + ".jpg");
        if (!session->exportPicture(text, path, 480, 360, viewMode))
            return QImage();
        return QImage(QString::fromStdString(path));
    }

    std::unique_ptr<vhost::HostSession> session;
};

struct Tones
{
    double mean = 0, spread = 0, blackShare = 0;
};

/** Grey levels of the rows [top, bottom) of `image`. */
Tones tonesOf(const QImage& image, int top, int bottom)
{
    Tones t;
    double sum = 0, squares = 0;
    long n = 0, black = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int g = qGray(image.pixel(x, y));
            sum += g;
            squares += double(g) * g;
            black += g < 24;
            ++n;
        }
    t.mean = sum / n;
    t.spread = std::sqrt(std::max(0.0, squares / n - t.mean * t.mean));
    t.blackShare = double(black) / n;
    return t;
}

} // namespace

TEST_F(BundledDesignViewsTest, FirstPersonViewsLookAtTheCeilingFromInside)
{
    for (const char* design : {"kitchen", "bathroom", "living_room", "hall", "l_room"}) {
        const QImage image = picture(design, 5);
        ASSERT_FALSE(image.isNull()) << design;
        // The upper third is the ceiling: light panels with their joints and fittings, not the
        // black beyond the walls (an eye outside the room) or one blurred colour (a view of
        // one degree).
        const Tones top = tonesOf(image, 0, image.height() / 3);
        EXPECT_LT(top.blackShare, 0.02) << design;
        EXPECT_GT(top.mean, 140) << design;
        EXPECT_GT(top.spread, 8) << design;
    }
}

TEST_F(BundledDesignViewsTest, ChangeTopPictureIsThePhotoWithTheDesignedCeilingAndNoHandles)
{
    const QImage image = picture("living_room", 6);
    ASSERT_FALSE(image.isNull());
    const QImage photo(QString::fromStdString(kSource + "/data/pack/samples/room_photo.jpg"));
    ASSERT_FALSE(photo.isNull());
    const QImage scaled =
        image.scaled(photo.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // No green outline and no corner squares.
    long green = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            green += qGreen(p) > 180 && qRed(p) < 110 && qBlue(p) < 110;
        }
    EXPECT_LT(green, 5);
    // The floor is the photo's (brown boards, seen through the overlay's veil); where the photo
    // has its own warm yellow lamp the designed ceiling, neutral white and mirror panels, covers
    // it.
    auto warmth = [](const QImage& picture, QRect area) {
        double sum = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                sum += qRed(picture.pixel(x, y)) - qBlue(picture.pixel(x, y));
        return sum / (area.width() * area.height());
    };
    const QRect floor(200, 400, 240, 60), lamp(300, 56, 40, 14);
    ASSERT_GT(warmth(photo, lamp), 20) << "the photo's lamp is warm";
    EXPECT_GT(warmth(scaled, floor), 30);
    EXPECT_LT(warmth(scaled, lamp), 12) << "the photo's lamp shows through the ceiling";
}
