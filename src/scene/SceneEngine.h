// The module-wide engine of the open 3D view: the device whose driver and scene manager the
// scene nodes use. Set by the 3D window when it creates the engine, cleared when it drops it.
#pragma once

namespace irr {
class IrrlichtDevice;
namespace video {
class IVideoDriver;
}
namespace scene {
class ISceneManager;
}
} // namespace irr

namespace vs {

/** Makes `device` the module's engine (null: none). Does not grab it. */
void setSceneEngine(irr::IrrlichtDevice* device);
/** The module's engine device, or null. */
irr::IrrlichtDevice* sceneDevice();
/** The engine's video driver, or null. */
irr::video::IVideoDriver* videoDriver();
/** The engine's scene manager, or null. */
irr::scene::ISceneManager* sceneManager();

} // namespace vs
