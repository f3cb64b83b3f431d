// Binary X files through the token checks and the text checks in front of the engine's X loader.
// The input is the body after the 16-byte header; the first byte picks 32- or 64-bit floats so
// that the fuzzer starts inside the token stream instead of having to find the header.
#include "scene/meshes/ModelMeshLoader.h"

#include <irrlicht.h>

#include <cstdint>
#include <cstring>
#include <string>
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
    const char* header = (data[0] & 1) ? "xof 0303bin 0064" : "xof 0303bin 0032";
    std::vector<uint8_t> block(4 + 16 + size - 1);
    const uint32_t code = 2;
    std::memcpy(block.data(), &code, 4);
    std::memcpy(block.data() + 4, header, 16);
    std::memcpy(block.data() + 20, data + 1, size - 1);
    std::string why;
    irr::scene::IMesh* mesh =
        vs::loadModelMesh(device->getSceneManager(), block.data(),
                          static_cast<int32_t>(block.size()), "fuzz.x", (data[0] & 2) != 0, &why);
    if (mesh != nullptr)
        mesh->drop();
    return 0;
}
