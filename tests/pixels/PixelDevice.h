#pragma once
// The OpenGL device the pixel tests draw with, started the same way by each of them.
#include "scene/SceneEngine.h"

#include <irrlicht.h>

/** Starts an OpenGL device of `width` x `height` and makes it the scene's engine; null when the
 *  display has no OpenGL. Now and then a device fails to start while other tests open windows on
 *  the same server, so a few tries tell that apart from a display without OpenGL. */
inline irr::IrrlichtDevice* startPixelDevice(irr::u32 width, irr::u32 height,
                                             irr::u8 zBufferBits = 16)
{
    irr::SIrrlichtCreationParameters p;
    p.DriverType = irr::video::EDT_OPENGL;
    p.WindowSize = {width, height};
    p.Bits = 24;
    p.ZBufferBits = zBufferBits;
    p.AntiAlias = 0;
    p.Vsync = false;
    irr::IrrlichtDevice* device = nullptr;
    for (int attempt = 0; attempt < 3 && device == nullptr; ++attempt)
        device = irr::createDeviceEx(p);
    if (device != nullptr) {
        device->getLogger()->setLogLevel(irr::ELL_NONE);
        vs::setSceneEngine(device);
    }
    return device;
}

/** Releases a device startPixelDevice gave (null is fine). */
inline void stopPixelDevice(irr::IrrlichtDevice* device)
{
    if (device == nullptr)
        return;
    vs::setSceneEngine(nullptr);
    device->drop();
}
