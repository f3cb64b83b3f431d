// A facility model of the catalogue: an appliance, lamp, door, window, tile or band.
#pragma once

#include "catalogue/CCommonType.h"
#include "platform/Picture.h"

#include <array>
#include <string>

namespace irr {
namespace scene {
class IMesh;
class ISceneManager;
} // namespace scene
namespace video {
class ITexture;
class IVideoDriver;
} // namespace video
} // namespace irr

struct CFacilityCategory;
class DesignCatalogue;
struct HostCallbacks;

/** The arguments of AddFacilityModel as the module keeps them: sizes already in
 *  decimillimetres, the name in UTF-8. */
struct FacilityModelInfo
{
    int id = 0;
    std::string name;
    int kindAndFlags = 0;
    int listWidth = 0;
    int listHeight = 0;
    const void* pictureData = nullptr;
    int pictureSize = 0;
    int width = 0;  ///< decimillimetres
    int height = 0; ///< decimillimetres
    const void* texturePictureData = nullptr;
    int texturePictureSize = 0;
    double modelLength = 0;              ///< decimillimetres
    std::array<float, 3> baseRotation{}; ///< degrees
    double scaleX = 1;
    double scaleY = 1;
    std::array<float, 3> naturalSize{}; ///< decimillimetres
    bool zUp = false;
    int categoryId = 0;
    int typeId = 0;
    bool option23 = false;
    std::string defaultMaterials;
};

class CFacilityModel : public CCommonType
{
public:
    CFacilityModel(const FacilityModelInfo& info, const HostCallbacks* callbacks);
    ~CFacilityModel() override;
    CFacilityModel(const CFacilityModel&) = delete;
    CFacilityModel& operator=(const CFacilityModel&) = delete;

    std::string name() const override { return name_; }
    const Picture& planPicture() override;
    IntSize listPictureSize(int maxWidth = INT_MAX) override;

    /** The texture picture, or the first picture when the model has none. */
    const Picture& texturePicture();
    /** Default size of a tile or band made of the model (floor, wall part), decimillimetres. */
    IntSize defaultTileSize();
    /** Default size of a flat item (door, window) made of the model, decimillimetres. */
    IntSize defaultFlatSize();

    /** The model's mesh, loaded from the host on first use through `smgr`; null when the host
     *  has none or it cannot be read. The model's default materials are applied to the new
     *  mesh, their pictures looked up through `materials` (none applied without it). The
     *  model keeps one reference; grab to keep it longer. */
    irr::scene::IMesh* mesh(irr::scene::ISceneManager* smgr, DesignCatalogue* materials = nullptr);
    /** Makes a facility's materials the model's defaults: its mesh becomes the cached mesh,
     *  `materialsXml` (a "customMaterials" element, UTF-8) the default materials, and the host
     *  is told (SaveModelMaterials). */
    void storeDefaultMaterials(irr::scene::IMesh* facilityMesh, const std::string& materialsXml);
    /** Replaces the cached mesh (grabbing the new one, dropping the old). */
    void setMesh(irr::scene::IMesh* mesh);
    /** The engine texture "<id>_<name>" made once from the texture picture; null without one. */
    irr::video::ITexture* engineTexture(irr::video::IVideoDriver* driver, bool decodeSrgb = false);
    /** Drops the cached mesh and engine texture: the engine is going away. */
    void releaseEngineObjects();
    /** True when the host gave mesh data of format 1 or 2 that could not be read (the last load
     *  failed); facilities of the model are then drawn as their boxes. The first such failure
     *  is reported on stderr, once for the model's life, with the model and the reason. */
    bool meshUnreadable() const { return meshUnreadable_; }

    /** The facility kind (low 16 bits of the poured kind argument). */
    int facilityKind() const { return kindAndFlags & 0xFFFF; }
    /** The flag bits (high 16 bits). */
    int kindFlags() const { return (kindAndFlags >> 16) & 0xFFFF; }
    /** True when a facility of the model stuck to a wall cuts an opening in it. */
    bool cutsWall() const { return (kindFlags() & 0x3) != 0; }

    int id;
    int kindAndFlags;
    int listWidth;
    int listHeight;
    int width;  ///< decimillimetres
    int height; ///< decimillimetres
    double modelLength;
    std::array<float, 3> baseRotation;
    double scaleX;
    double scaleY;
    std::array<float, 3> naturalSize;
    bool zUp;
    int categoryId;
    int typeId;
    bool option23;
    std::string defaultMaterials;
    CFacilityCategory* category = nullptr;

private:
    IntSize completeFromPicture(IntSize size);
    void applyDefaultMaterials(irr::scene::IMesh& mesh, irr::video::IVideoDriver* driver,
                               DesignCatalogue& materials);

    std::string name_;
    const HostCallbacks* callbacks_;
    const void* pictureData_;
    int pictureSize_;
    const void* texturePictureData_;
    int texturePictureSize_;
    bool picturesDecoded_ = false;
    Picture picture_;
    Picture texturePicture_;
    irr::scene::IMesh* mesh_ = nullptr;
    bool meshTried_ = false;
    bool meshUnreadable_ = false;
    bool meshWarned_ = false;
    irr::video::ITexture* texture_ = nullptr;
    irr::video::IVideoDriver* textureDriver_ = nullptr;
};
