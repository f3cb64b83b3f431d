// Section bars lie in the plane of the panels beside them. Drawn from the pixel tests' cameras a
// bar must show along its whole length: where the panel wins some of its pixels the bar breaks
// into dashes that flicker as the camera moves (z-fighting).
#include "CataloguePack.h"
#include "PackCatalogue.h"
#include "PixelDevice.h"

#include "ceiling/DesignReader.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSplitLine.h"
#include "document/SolidCeiling.h"
#include "scene/CRoomSceneNode.h"
#include "scene/DisplayPreferences.h"
#include "scene/RoomScene.h"
#include "scene/SceneEngine.h"
#include "scene/SectionBarScene.h"

#include <QImage>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
const irr::video::SColor kClear(255, 255, 0, 255);

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<CSectionLine*> sectionLinesOf(CGridMapping& plane)
{
    std::vector<CSectionLine*> lines;
    for (auto& line : plane.trusteeSectionLines)
        lines.push_back(line.get());
    for (auto& split : plane.splitLines)
        if (split->sectionLine)
            lines.push_back(split->sectionLine.get());
    for (auto& child : plane.children) {
        const std::vector<CSectionLine*> more = sectionLinesOf(*child);
        lines.insert(lines.end(), more.begin(), more.end());
    }
    return lines;
}

class SectionBarDepthTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display";
        device = startPixelDevice(kWidth, kHeight, 24);
        ASSERT_NE(device, nullptr) << "no OpenGL device on this display";
    }
    void TearDown() override { stopPixelDevice(device); }

    /** The scene drawn from `eye` towards `lookAt` into a target, read back. */
    QImage draw(irr::core::vector3df eye, irr::core::vector3df lookAt)
    {
        irr::scene::ISceneManager* smgr = device->getSceneManager();
        irr::scene::ICameraSceneNode* camera = smgr->addCameraSceneNode(nullptr, eye, lookAt);
        camera->setFOV(72 * irr::core::DEGTORAD);
        camera->setNearValue(50);
        camera->setFarValue(1000000);
        camera->setAspectRatio(float(kWidth) / kHeight);
        smgr->setActiveCamera(camera);
        irr::video::IVideoDriver* driver = device->getVideoDriver();
        irr::video::ITexture* target = driver->addRenderTargetTexture(
            {kWidth, kHeight}, "bar-depth-target", irr::video::ECF_A8R8G8B8);
        driver->beginScene(true, true, kClear);
        driver->setRenderTarget(target, true, true, kClear);
        smgr->drawAll();
        driver->setRenderTarget(nullptr, false, false);
        driver->endScene();
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        const auto* row = static_cast<const irr::u8*>(target->lock(irr::video::ETLM_READ_ONLY));
        for (int y = 0; row != nullptr && y < kHeight; ++y, row += target->getPitch())
            for (int x = 0; x < kWidth; ++x)
                image.setPixel(x, y, reinterpret_cast<const irr::u32*>(row)[x] | 0xFF000000u);
        target->unlock();
        driver->removeTexture(target);
        camera->remove();
        return image;
    }

    irr::IrrlichtDevice* device = nullptr;
};

bool near(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))}) <= 24;
}

} // namespace

TEST_F(SectionBarDepthTest, HallBarsShowUnbrokenFromThePixelTestCameras)
{
    const vhost::CataloguePack pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    testsupport::PackCatalogue catalogue(pack);
    CSolidDocument document;
    vs::readDesign(readText(std::string(VS_TEST_SOURCE_DIR) + "/data/designs/hall.xml"), document,
                   1, catalogue);
    irr::scene::ISceneManager* smgr = device->getSceneManager();
    vs::BuildRoomScene(smgr->getRootSceneNode(), document);
    vs::applyDisplayPreferences(document, smgr);

    const RRect& b = document.ceiling->root->indentedBounds;
    const float w = static_cast<float>(b.right - b.left);
    const float h = static_cast<float>(b.bottom - b.top);
    // The pixel tests' two cameras, and the inside one turned round to the entrance wall with
    // its trustee bar; each also moved by a small step, since stripes move with the camera.
    const float d = std::max(w, h);
    struct View
    {
        irr::core::vector3df eye, lookAt;
    };
    std::vector<View> views;
    for (const irr::core::vector3df& step :
         {irr::core::vector3df(), irr::core::vector3df(37, -20, 11)}) {
        views.push_back({irr::core::vector3df(w / 2 - 0.8f * d, 12000 + d, h / 2 - 0.8f * d) + step,
                         {w / 2, 12000, h / 2}});
        views.push_back(
            {irr::core::vector3df(w * 0.5f, 13500, h * 0.1f) + step, {w * 0.5f, 24000, h * 0.7f}});
        views.push_back(
            {irr::core::vector3df(w * 0.5f, 13500, h * 0.6f) + step, {w * 0.5f, 24000, 0}});
    }
    std::vector<QImage> whole;
    for (const View& view : views)
        whole.push_back(draw(view.eye, view.lookAt));

    // The bars the room built (split lines between levels carry bends instead).
    std::vector<CSectionLine*> lines;
    for (CSectionLine* line : sectionLinesOf(*document.ceiling->root))
        if (vs::sectionNode(*line) != nullptr)
            lines.push_back(line);
    ASSERT_FALSE(lines.empty()) << "the hall has bars";
    int viewsWithBars = 0;
    long spanned = 0, broken = 0;
    // The same views without the bars: the pixels that change are where a bar shows. A bar
    // that loses to the panels beside it shows in broken runs, whole columns of it missing.
    for (CSectionLine* line : lines)
        vs::sectionNode(*line)->setVisible(false);
    for (size_t i = 0; i < views.size(); ++i) {
        const QImage without = draw(views[i].eye, views[i].lookAt);
        int first = kWidth, last = -1;
        std::vector<bool> column(kWidth, false);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (!near(whole[i].pixel(x, y), without.pixel(x, y))) {
                    column[size_t(x)] = true;
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        if (last - first < 40)
            continue; // no bar in this view
        ++viewsWithBars;
        for (int x = first; x <= last; ++x) {
            ++spanned;
            broken += !column[size_t(x)];
        }
    }
    for (CSectionLine* line : lines)
        vs::removeSectionBar(*line);
    vs::ReleaseRoomScene(document);
    catalogue.facilities.releaseEngineObjects();
    ASSERT_GE(viewsWithBars, 2) << "the bars are not in view";
    EXPECT_LT(double(broken) / spanned, 0.03)
        << broken << " of " << spanned << " columns lose the bar";
}
