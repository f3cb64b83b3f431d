#include "plugin/CFacilityModel.h"

#include "document/CustomMaterial.h"
#include "document/CustomMaterialXml.h"
#include "platform/TextCodec.h"
#include "plugin/EngineTexture.h"
#include "plugin/HostCallbacks.h"
#include "plugin/ModelMeshLoader.h"
#include "plugin/UnreadableMeshMessage.h"

#include <irrlicht.h>

#include <cmath>
#include <cstdio>

namespace {

Picture decodeHostPicture(const void* data, int size)
{
    if (data == nullptr || size <= 0)
        return Picture();
    return Picture::decode(data, static_cast<size_t>(size));
}

int scaledFloor(int value, double factor)
{
    const double v = std::floor(value * factor);
    if (!(v > -2147483648.0 && v < 2147483647.0)) // NaN or beyond int
        return 0;
    return static_cast<int>(v);
}

/** a * b / c in 64 bits, truncated like the int arithmetic it replaces; 0 when c is 0. */
int mulDiv(long long a, long long b, long long c)
{
    if (c == 0)
        return 0;
    long long r = a * b / c;
    if (r > 2147483647LL || r < -2147483647LL)
        return 0;
    return static_cast<int>(r);
}

} // namespace

CFacilityModel::CFacilityModel(const FacilityModelInfo& info, const HostCallbacks* callbacks)
    : id(info.id), kindAndFlags(info.kindAndFlags), listWidth(info.listWidth),
      listHeight(info.listHeight), width(info.width), height(info.height),
      modelLength(info.modelLength), baseRotation(info.baseRotation), scaleX(info.scaleX),
      scaleY(info.scaleY), naturalSize(info.naturalSize), zUp(info.zUp),
      categoryId(info.categoryId), typeId(info.typeId), option23(info.option23),
      defaultMaterials(info.defaultMaterials), name_(info.name), callbacks_(callbacks),
      pictureData_(info.pictureData), pictureSize_(info.pictureSize),
      texturePictureData_(info.texturePictureData), texturePictureSize_(info.texturePictureSize)
{
}

CFacilityModel::~CFacilityModel()
{
    releaseEngineObjects();
}

const Picture& CFacilityModel::planPicture()
{
    if (!picturesDecoded_) {
        picturesDecoded_ = true;
        picture_ = decodeHostPicture(pictureData_, pictureSize_);
        texturePicture_ = decodeHostPicture(texturePictureData_, texturePictureSize_);
    }
    return picture_;
}

const Picture& CFacilityModel::texturePicture()
{
    planPicture();
    return texturePicture_.isNull() ? picture_ : texturePicture_;
}

IntSize CFacilityModel::completeFromPicture(IntSize size)
{
    const Picture& p = texturePicture();
    if (p.isNull())
        return size;
    if (size.width < 1)
        size.width = mulDiv(p.width(), size.height, p.height());
    else if (size.height < 1)
        size.height = mulDiv(size.width, p.height(), p.width());
    return size;
}

IntSize CFacilityModel::defaultTileSize()
{
    return completeFromPicture({width, height});
}

IntSize CFacilityModel::defaultFlatSize()
{
    return completeFromPicture({scaledFloor(width, scaleX), scaledFloor(height, scaleY)});
}

IntSize CFacilityModel::listPictureSize(int maxWidth)
{
    IntSize size{listWidth, listHeight};
    const Picture& p = planPicture();
    const int pw = p.isNull() ? 0 : p.width();
    const int ph = p.isNull() ? 0 : p.height();
    if (size.width < 1) {
        if (size.height < 1)
            size = {pw, ph};
        else
            size.width = mulDiv(size.height, pw, ph);
    } else if (size.height < 1) {
        size.height = mulDiv(size.width, ph, pw);
    }
    if (size.width > maxWidth && maxWidth > 0) {
        size.height = mulDiv(size.height, maxWidth, size.width);
        size.width = maxWidth;
    }
    return size;
}

irr::scene::IMesh* CFacilityModel::mesh(irr::scene::ISceneManager* smgr,
                                        DesignCatalogue* materials)
{
    if (mesh_ != nullptr || meshTried_ || smgr == nullptr)
        return mesh_;
    meshTried_ = true;
    if (callbacks_ == nullptr || callbacks_->getModelData == nullptr)
        return nullptr;
    void* block = nullptr;
    int32_t size = 0;
    callbacks_->getModelData(id, &block, &size);
    std::string why;
    mesh_ = vs::loadModelMesh(smgr, block, size, name_, zUp, &why);
    meshUnreadable_ = mesh_ == nullptr && !why.empty();
    if (meshUnreadable_ && !meshWarned_) {
        meshWarned_ = true;
        std::fprintf(stderr, "%s\n", vs::unreadableMeshMessage(id, name_, why).c_str());
    }
    if (block != nullptr && callbacks_->freeModelData != nullptr)
        callbacks_->freeModelData(block);
    if (mesh_ != nullptr && materials != nullptr && !defaultMaterials.empty())
        applyDefaultMaterials(*mesh_, smgr->getVideoDriver(), *materials);
    return mesh_;
}

void CFacilityModel::applyDefaultMaterials(irr::scene::IMesh& mesh,
                                           irr::video::IVideoDriver* driver,
                                           DesignCatalogue& materials)
{
    // Stored materials are in millimetres, like the rest of a model's sizes.
    for (const CustomMaterial& m : vs::readCustomMaterials(defaultMaterials, 10, materials)) {
        if (m.index < 0 || static_cast<irr::u32>(m.index) >= mesh.getMeshBufferCount())
            continue;
        CFacilityModel* source = m.facilityModel;
        irr::video::ITexture* texture = source ? source->engineTexture(driver) : nullptr;
        irr::video::SMaterial& material = mesh.getMeshBuffer(static_cast<irr::u32>(m.index))->getMaterial();
        material.setTexture(0, texture);
        irr::core::matrix4 transform;
        transform.buildTextureTransform(m.rotate * irr::core::DEGTORAD,
                                        irr::core::vector2df(0, 0),
                                        irr::core::vector2df(m.offsetX, m.offsetY),
                                        irr::core::vector2df(m.scaleX, m.scaleY));
        material.setTextureMatrix(0, transform);
    }
}

void CFacilityModel::storeDefaultMaterials(irr::scene::IMesh* facilityMesh,
                                           const std::string& materialsXml)
{
    setMesh(facilityMesh);
    defaultMaterials = materialsXml;
    if (callbacks_ != nullptr && callbacks_->saveModelMaterials != nullptr)
        callbacks_->saveModelMaterials(id, vs::utf8ToHost(materialsXml).c_str());
}

void CFacilityModel::setMesh(irr::scene::IMesh* mesh)
{
    if (mesh != nullptr)
        mesh->grab();
    if (mesh_ != nullptr)
        mesh_->drop();
    mesh_ = mesh;
    meshTried_ = true;
}

irr::video::ITexture* CFacilityModel::engineTexture(irr::video::IVideoDriver* driver,
                                                    bool decodeSrgb)
{
    if (driver == nullptr)
        return nullptr;
    if (texture_ != nullptr && textureDriver_ == driver)
        return texture_;
    const Picture& p = texturePicture();
    if (p.isNull())
        return nullptr;
    const std::string textureName = std::to_string(id) + "_" + name_;
    texture_ = vs::makeEngineTexture(driver, p.image(), textureName.c_str(), decodeSrgb);
    textureDriver_ = driver;
    return texture_;
}

void CFacilityModel::releaseEngineObjects()
{
    if (mesh_ != nullptr)
        mesh_->drop();
    mesh_ = nullptr;
    meshTried_ = false;
    // The texture belongs to the driver, which goes with the engine.
    texture_ = nullptr;
    textureDriver_ = nullptr;
}
