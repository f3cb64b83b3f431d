#include "scene/EngineTexture.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

QImage filled(int w, int h, QRgb colour)
{
    QImage picture(w, h, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

/** The null driver keeps no texels, so texel checks use the software rasteriser on the
 *  console device, which needs no display. */
class SoftwareDevice
{
public:
    SoftwareDevice()
    {
        SIrrlichtCreationParameters params;
        params.DriverType = video::EDT_BURNINGSVIDEO;
        params.DeviceType = EIDT_CONSOLE;
        params.WindowSize = core::dimension2d<u32>(8, 8);
        device_ = createDeviceEx(params);
        if (device_)
            device_->getLogger()->setLogLevel(ELL_NONE);
    }
    ~SoftwareDevice()
    {
        if (device_)
            device_->drop();
    }
    video::IVideoDriver* driver() const { return device_ ? device_->getVideoDriver() : nullptr; }

private:
    IrrlichtDevice* device_ = nullptr;
};

u32 firstTexel(video::ITexture* texture)
{
    const u32* texels = static_cast<const u32*>(texture->lock(video::ETLM_READ_ONLY));
    const u32 value = texels ? texels[0] : 0;
    texture->unlock();
    return value;
}

} // namespace

TEST(EngineTextureTest, TexelsAndSizeComeFromThePicture)
{
    SoftwareDevice device;
    ASSERT_NE(device.driver(), nullptr);
    QImage picture(4, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 40));
    picture.setPixel(0, 0, qRgba(200, 100, 50, 128));
    video::ITexture* texture = vs::makeEngineTexture(device.driver(), picture, "7_chair");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getOriginalSize(), core::dimension2d<u32>(4, 2));
    EXPECT_EQ(texture->getColorFormat(), video::ECF_A8R8G8B8);
    EXPECT_EQ(firstTexel(texture), 0x80C86432u);
}

TEST(EngineTextureTest, SrgbDecodingLinearisesColourButKeepsAlpha)
{
    SoftwareDevice device;
    ASSERT_NE(device.driver(), nullptr);
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(128, 255, 0, 77));
    video::ITexture* plain = vs::makeEngineTexture(device.driver(), picture, "plain");
    video::ITexture* linear = vs::makeEngineTexture(device.driver(), picture, "linear", true);
    ASSERT_TRUE(plain && linear);
    EXPECT_EQ(firstTexel(plain), 0x4D80FF00u);
    EXPECT_EQ(firstTexel(linear), 0x4D37FF00u); // 128 -> 55, 255 and 0 stay
}

TEST(EngineTextureTest, SameNameGivesTheExistingTexture)
{
    IrrlichtDevice* device = createDevice(video::EDT_NULL);
    ASSERT_NE(device, nullptr);
    device->getLogger()->setLogLevel(ELL_NONE);
    video::IVideoDriver* driver = device->getVideoDriver();
    video::ITexture* first = vs::makeEngineTexture(driver, filled(2, 2, qRgb(1, 2, 3)), "5_tile");
    ASSERT_NE(first, nullptr); // the null driver's textures keep neither size nor texels
    const u32 count = driver->getTextureCount();
    EXPECT_EQ(vs::makeEngineTexture(driver, filled(8, 8, qRgb(9, 9, 9)), "5_tile"), first);
    EXPECT_EQ(driver->getTextureCount(), count);
    EXPECT_NE(vs::makeEngineTexture(driver, filled(2, 2, qRgb(1, 2, 3)), "6_tile"), first);
    device->drop();
}

TEST(EngineTextureTest, NullPictureOrDriverGivesNoTexture)
{
    IrrlichtDevice* device = createDevice(video::EDT_NULL);
    ASSERT_NE(device, nullptr);
    device->getLogger()->setLogLevel(ELL_NONE);
    EXPECT_EQ(vs::makeEngineTexture(device->getVideoDriver(), QImage(), "empty"), nullptr);
    EXPECT_EQ(device->getVideoDriver()->findTexture("empty"), nullptr);
    EXPECT_EQ(vs::makeEngineTexture(nullptr, filled(1, 1, qRgb(0, 0, 0)), "x"), nullptr);
    device->drop();
}
