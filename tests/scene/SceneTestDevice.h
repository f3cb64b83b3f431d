// An engine device for scene tests: the null driver (no display), made the module's engine for
// the test's lifetime.
#pragma once

#include "scene/SceneEngine.h"

#include <irrlicht.h>

class SceneTestDevice
{
public:
    SceneTestDevice() : device(irr::createDevice(irr::video::EDT_NULL))
    {
        device->getLogger()->setLogLevel(irr::ELL_NONE);
        vs::setSceneEngine(device);
    }
    ~SceneTestDevice()
    {
        vs::setSceneEngine(nullptr);
        device->drop();
    }
    SceneTestDevice(const SceneTestDevice&) = delete;
    SceneTestDevice& operator=(const SceneTestDevice&) = delete;

    irr::scene::ISceneManager* smgr() const { return device->getSceneManager(); }
    irr::video::IVideoDriver* driver() const { return device->getVideoDriver(); }

    irr::IrrlichtDevice* device;
};
