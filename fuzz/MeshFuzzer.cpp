// Host model blocks (format code + 3DS or X file) through the checks in front of the engine's
// loaders. The engine's own loaders crash on malformed files; the checks must keep every input
// away from them.
#include "scene/meshes/ModelMeshLoader.h"

#include <irrlicht.h>

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static irr::IrrlichtDevice* device = [] {
        irr::IrrlichtDevice* d = irr::createDevice(irr::video::EDT_NULL);
        d->getLogger()->setLogLevel(irr::ELL_NONE);
        return d;
    }();
    if (size < 1)
        return 0;
    // The first byte picks the format so the fuzzer need not find the 4-byte code itself.
    std::vector<uint8_t> block(size + 3);
    const uint32_t code = 1 + (data[0] & 1);
    std::memcpy(block.data(), &code, 4);
    std::memcpy(block.data() + 4, data + 1, size - 1);
    irr::scene::IMesh* mesh =
        vs::loadModelMesh(device->getSceneManager(), block.data(),
                          static_cast<int32_t>(block.size()), "fuzz", (data[0] & 2) != 0);
    if (mesh != nullptr)
        mesh->drop();
    return 0;
}
