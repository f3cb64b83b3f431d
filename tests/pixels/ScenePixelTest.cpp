// Each bundled design drawn by the engine's OpenGL driver (Mesa under Xvfb) from fixed cameras
// and compared with reference pictures kept beside this file. A missing or changed picture is
// written to build/pixels/ so that it can be looked at (and, once checked, copied over the
// reference).
#include "CataloguePack.h"
#include "PackCatalogue.h"
#include "PixelDevice.h"
#include "support/PictureDifference.h"

#include "ceiling/DesignReader.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "scene/DisplayPreferences.h"
#include "scene/RoomScene.h"
#include "scene/SceneEngine.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

/** The pixels of a render-target texture (a window's front buffer is undefined under Xvfb). */
QImage readBack(irr::video::ITexture* target)
{
    const auto size = target->getSize();
    const void* texels = target->lock(irr::video::ETLM_READ_ONLY);
    if (texels == nullptr)
        return QImage();
    QImage image(static_cast<int>(size.Width), static_cast<int>(size.Height), QImage::Format_RGB32);
    const auto* row = static_cast<const irr::u8*>(texels);
    for (irr::u32 y = 0; y < size.Height; ++y, row += target->getPitch())
        for (irr::u32 x = 0; x < size.Width; ++x)
            image.setPixel(static_cast<int>(x), static_cast<int>(y),
                           reinterpret_cast<const irr::u32*>(row)[x] | 0xFF000000u);
    target->unlock();
    return image;
}

using pixeltest::compare;
using pixeltest::Difference;

class ScenePixelTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no X display";
        device = startPixelDevice(kWidth, kHeight);
        ASSERT_NE(device, nullptr) << "no OpenGL device on this display";
    }
    void TearDown() override { stopPixelDevice(device); }

    /** Draws the scene from `eye` towards `lookAt` (room coordinates) and checks it. */
    void checkView(const std::string& name, irr::core::vector3df eye, irr::core::vector3df lookAt)
    {
        irr::scene::ISceneManager* smgr = device->getSceneManager();
        irr::scene::ICameraSceneNode* camera = smgr->addCameraSceneNode(nullptr, eye, lookAt);
        camera->setFOV(72 * irr::core::DEGTORAD);
        camera->setNearValue(50);
        camera->setFarValue(1000000);
        camera->setAspectRatio(float(kWidth) / kHeight);
        smgr->setActiveCamera(camera);
        irr::video::IVideoDriver* driver = device->getVideoDriver();
        irr::video::ITexture* canvas = driver->addRenderTargetTexture(
            {kWidth, kHeight}, "pixel-test-target", irr::video::ECF_A8R8G8B8);
        ASSERT_NE(canvas, nullptr);
        driver->beginScene(true, true, irr::video::SColor(255, 48, 48, 56));
        driver->setRenderTarget(canvas, true, true, irr::video::SColor(255, 48, 48, 56));
        smgr->drawAll();
        driver->setRenderTarget(nullptr, false, false);
        driver->endScene();
        const QImage actual = readBack(canvas);
        driver->removeTexture(canvas);
        camera->remove();
        ASSERT_FALSE(actual.isNull());

        const QString outDir = QString(VS_TEST_BINARY_DIR) + "/pixels";
        QDir().mkpath(outDir);
        const QString file = QString::fromStdString(name) + ".png";
        const QString referencePath =
            QString(VS_TEST_SOURCE_DIR) + "/tests/pixels/reference/" + file;
        const QImage reference(referencePath);
        if (reference.isNull()) {
            actual.save(outDir + "/" + file);
            FAIL() << "no reference picture " << referencePath.toStdString()
                   << "; this run's picture is in " << (outDir + "/" + file).toStdString();
        }
        const Difference d = compare(actual, reference.convertToFormat(QImage::Format_RGB32));
        if (d.differingShare > 0.03 || d.meanDifference > 6) {
            actual.save(outDir + "/" + file);
            ADD_FAILURE() << name << " differs from its reference: " << d.differingShare * 100
                          << "% of pixels, mean " << d.meanDifference << "; see "
                          << (outDir + "/" + file).toStdString();
        }
    }

    irr::IrrlichtDevice* device = nullptr;
};

} // namespace

TEST_P(ScenePixelTest, DesignMatchesItsReferencePictures)
{
    const std::string design = GetParam();
    const vhost::CataloguePack pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    testsupport::PackCatalogue catalogue(pack);
    CSolidDocument document;
    vs::readDesign(readText(std::string(VS_TEST_SOURCE_DIR) + "/data/designs/" + design + ".xml"),
                   document, 1, catalogue);
    vs::BuildRoomScene(device->getSceneManager()->getRootSceneNode(), document);
    vs::applyDisplayPreferences(document, device->getSceneManager());

    const RRect& b = document.ceiling->root->indentedBounds;
    const float w = static_cast<float>(b.right - b.left);
    const float h = static_cast<float>(b.bottom - b.top);
    const irr::core::vector3df centre(w / 2, 12000, h / 2);
    // From outside, above a corner, the whole room; from inside at eye height, the ceiling.
    const float d = std::max(w, h);
    checkView(design + "-outside", {w / 2 - 0.8f * d, 12000 + d, h / 2 - 0.8f * d}, centre);
    checkView(design + "-ceiling", {w * 0.5f, 13500, h * 0.1f}, {w * 0.5f, 24000, h * 0.7f});
    vs::ReleaseRoomScene(document);
    catalogue.facilities.releaseEngineObjects();
}

INSTANTIATE_TEST_SUITE_P(BundledDesigns, ScenePixelTest,
                         ::testing::Values("kitchen", "bathroom", "living_room", "hall", "l_room"));
