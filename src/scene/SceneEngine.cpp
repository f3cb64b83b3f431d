#include "scene/SceneEngine.h"

#include <irrlicht.h>

namespace vs {
namespace {
irr::IrrlichtDevice* engineDevice = nullptr;
}

void setSceneEngine(irr::IrrlichtDevice* device)
{
    engineDevice = device;
}

irr::IrrlichtDevice* sceneDevice()
{
    return engineDevice;
}

irr::video::IVideoDriver* videoDriver()
{
    return engineDevice ? engineDevice->getVideoDriver() : nullptr;
}

irr::scene::ISceneManager* sceneManager()
{
    return engineDevice ? engineDevice->getSceneManager() : nullptr;
}

} // namespace vs
