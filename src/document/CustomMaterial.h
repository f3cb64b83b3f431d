// Replaces the texture of one material of a facility's mesh with a catalogue model's picture.
#pragma once

class CFacilityModel;

namespace irr {
namespace video {
class ITexture;
} // namespace video
} // namespace irr

class CustomMaterial
{
public:
    /** The mesh material it applies to; -1 while new. */
    int index = -1;
    /** Id of the catalogue model whose picture is used; 0 for none. */
    int facilityModelId = 0;
    /** Texture offset, decimillimetres. */
    float offsetX = 0;
    float offsetY = 0;
    float scaleX = 1;
    float scaleY = 1;
    /** Texture rotation, degrees. */
    float rotate = 0;
    /** The model resolved from facilityModelId; not owned, may be null. */
    CFacilityModel* facilityModel = nullptr;
    /** The model's engine texture once applied; owned by the driver (cached by the model),
     *  null while no scene exists. */
    irr::video::ITexture* texture = nullptr;
};
