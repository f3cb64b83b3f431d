// A model stuck to a wall, drawn by the engine's OpenGL driver (Mesa under Xvfb) and seen from
// the room's centre: its red front must face the viewer whichever way the room's outline runs.
// The pictures are written to build/pixels/ to be looked at.
#include "CataloguePack.h"
#include "PackCatalogue.h"
#include "PixelDevice.h"

#include "catalogue/CFacilityModel.h"
#include "ceiling/DesignReader.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/CSolidFacility.h"
#include "document/SolidCeiling.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/RoomScene.h"
#include "scene/SceneEngine.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace irr;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

/** One unlit box buffer of `colour` from a to b. */
scene::SMeshBuffer* box(const core::vector3df& a, const core::vector3df& b, video::SColor colour)
{
    auto* buffer = new scene::SMeshBuffer();
    for (int i = 0; i < 8; ++i) {
        const core::vector3df p((i & 1) ? b.X : a.X, (i & 2) ? b.Y : a.Y, (i & 4) ? b.Z : a.Z);
        buffer->Vertices.push_back(video::S3DVertex(p, core::vector3df(0, 1, 0), colour, {0, 0}));
    }
    const u16 faces[12][3] = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                              {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    for (const auto& f : faces)
        for (u16 index : f)
            buffer->Indices.push_back(index);
    buffer->Material.Lighting = false;
    buffer->Material.BackfaceCulling = false;
    buffer->recalculateBoundingBox();
    return buffer;
}

/** A grey cabinet whose front (the smallest z) carries a red panel as large as its face. */
scene::SMesh* redFrontedMesh()
{
    auto* mesh = new scene::SMesh();
    scene::SMeshBuffer* body = box({-40, 0, -25}, {40, 90, 30}, video::SColor(255, 120, 120, 120));
    scene::SMeshBuffer* front = box({-40, 0, -30}, {40, 90, -25}, video::SColor(255, 255, 0, 0));
    mesh->addMeshBuffer(body);
    mesh->addMeshBuffer(front);
    body->drop();
    front->drop();
    mesh->recalculateBoundingBox();
    return mesh;
}

std::string roomText(bool positiveWinding)
{
    const char* outline =
        positiveWinding ? "0,0 30000,0 30000,24000 0,24000" : "0,0 0,24000 30000,24000 30000,0";
    return std::string("<design name='Room' gridWidth='6000' gridHeight='6000' outlinePoints='") +
           outline + "'/>";
}

QImage readBack(video::ITexture* target)
{
    const auto size = target->getSize();
    const void* texels = target->lock(video::ETLM_READ_ONLY);
    if (texels == nullptr)
        return QImage();
    QImage image(static_cast<int>(size.Width), static_cast<int>(size.Height), QImage::Format_RGB32);
    const auto* row = static_cast<const u8*>(texels);
    for (u32 y = 0; y < size.Height; ++y, row += target->getPitch())
        for (u32 x = 0; x < size.Width; ++x)
            image.setPixel(static_cast<int>(x), static_cast<int>(y),
                           reinterpret_cast<const u32*>(row)[x] | 0xFF000000u);
    target->unlock();
    return image;
}

double redShare(const QImage& image)
{
    long red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60)
                ++red;
        }
    return double(red) / (double(image.width()) * image.height());
}

class WallFacingPixelTest : public ::testing::TestWithParam<bool>
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

    QImage draw(core::vector3df eye, core::vector3df lookAt)
    {
        scene::ISceneManager* smgr = device->getSceneManager();
        scene::ICameraSceneNode* camera = smgr->addCameraSceneNode(nullptr, eye, lookAt);
        camera->setFOV(72 * core::DEGTORAD);
        camera->setNearValue(50);
        camera->setFarValue(1000000);
        camera->setAspectRatio(float(kWidth) / kHeight);
        smgr->setActiveCamera(camera);
        video::IVideoDriver* driver = device->getVideoDriver();
        video::ITexture* canvas =
            driver->addRenderTargetTexture({kWidth, kHeight}, "facing-target", video::ECF_A8R8G8B8);
        if (canvas == nullptr)
            return QImage();
        driver->beginScene(true, true, video::SColor(255, 48, 48, 56));
        driver->setRenderTarget(canvas, true, true, video::SColor(255, 48, 48, 56));
        smgr->drawAll();
        driver->setRenderTarget(nullptr, false, false);
        driver->endScene();
        QImage image = readBack(canvas);
        driver->removeTexture(canvas);
        camera->remove();
        return image;
    }

    IrrlichtDevice* device = nullptr;
};

} // namespace

TEST_P(WallFacingPixelTest, StuckModelShowsItsFrontToTheRoomsCentre)
{
    const bool positiveWinding = GetParam();
    const vhost::CataloguePack pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    testsupport::PackCatalogue catalogue(pack);
    CSolidDocument document;
    vs::readDesign(roomText(positiveWinding), document, 1, catalogue);
    ASSERT_FALSE(document.walls.empty());
    vs::BuildRoomScene(device->getSceneManager()->getRootSceneNode(), document);

    FacilityModelInfo info;
    info.id = 900001;
    info.name = "red-fronted cabinet";
    CFacilityModel model(info, nullptr);
    scene::SMesh* mesh = redFrontedMesh();
    model.setMesh(mesh);
    mesh->drop();
    auto cabinet = std::make_unique<CSolidFacility>();
    cabinet->facilityModel = &model;
    cabinet->size = {8000, 9000, 6000};
    cabinet->stickWall = document.walls[0].get(); // from outline point 0 to point 1
    cabinet->position = {12000, 0, 0};
    CSolidFacility& f = *cabinet;
    document.solidFacilities.push_back(std::move(cabinet));
    vs::buildFacilityNode(f, document.roomNode, document);

    // From the room's centre at eye height towards the middle of wall 0.
    const core::vector3df centre(15000, 13500, 12000);
    const core::vector3df wallMiddle =
        positiveWinding ? core::vector3df(15000, 4500, 0) : core::vector3df(0, 4500, 12000);
    const QImage image = draw(centre, wallMiddle);
    ASSERT_FALSE(image.isNull());
    const QString outDir = QString(VS_TEST_BINARY_DIR) + "/pixels";
    QDir().mkpath(outDir);
    image.save(outDir +
               (positiveWinding ? "/stuck-front-positive.png" : "/stuck-front-negative.png"));
    EXPECT_GT(redShare(image), 0.05) << "the cabinet shows its back to the room";

    vs::ReleaseRoomScene(document);
    model.setMesh(nullptr);
    catalogue.facilities.releaseEngineObjects();
}

INSTANTIATE_TEST_SUITE_P(BothOutlineDirections, WallFacingPixelTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Positive" : "Negative");
                         });
