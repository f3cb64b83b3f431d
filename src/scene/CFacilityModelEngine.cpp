// The engine side of a facility model: its mesh, loaded from the host on first use with the
// model's default materials applied, and its engine texture. These members of CFacilityModel
// live with the scene, beside the mesh loader and the texture maker they use, so that the
// catalogue itself needs neither.
#include "catalogue/CFacilityModel.h"
#include "catalogue/HostCallbacks.h"
#include "document/CustomMaterial.h"
#include "document/CustomMaterialXml.h"
#include "scene/EngineTexture.h"
#include "scene/meshes/ModelMeshLoader.h"
#include "scene/meshes/UnreadableMeshMessage.h"

#include <irrlicht.h>

#include <cstdio>

irr::scene::IMesh* CFacilityModel::mesh(irr::scene::ISceneManager* smgr, DesignCatalogue* materials)
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
        irr::video::SMaterial& material =
            mesh.getMeshBuffer(static_cast<irr::u32>(m.index))->getMaterial();
        material.setTexture(0, texture);
        irr::core::matrix4 transform;
        transform.buildTextureTransform(m.rotate * irr::core::DEGTORAD, irr::core::vector2df(0, 0),
                                        irr::core::vector2df(m.offsetX, m.offsetY),
                                        irr::core::vector2df(m.scaleX, m.scaleY));
        material.setTextureMatrix(0, transform);
    }
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
