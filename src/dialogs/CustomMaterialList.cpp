#include "dialogs/CustomMaterialList.h"

#include "catalogue/CFacilityModel.h"
#include "document/CSolidFacility.h"
#include "scene/FacilityScene.h"

#include <irrlicht.h>

#include <memory>

namespace vs {

CustomMaterialList customMaterialsOf(const CSolidFacility& facility)
{
    CustomMaterialList list;
    for (const auto& m : facility.customMaterials)
        if (m)
            list.push_back(*m);
    return list;
}

irr::video::ITexture* ownTexture(const CSolidFacility& facility, int index)
{
    irr::scene::ISceneManager* smgr = vs::facilitySceneManager(facility);
    if (facility.facilityModel == nullptr || smgr == nullptr || index < 0)
        return nullptr;
    irr::scene::IMesh* shared = facility.facilityModel->mesh(smgr);
    if (shared == nullptr || static_cast<irr::u32>(index) >= shared->getMeshBufferCount())
        return nullptr;
    return shared->getMeshBuffer(static_cast<irr::u32>(index))->getMaterial().getTexture(0);
}

void setCustomMaterials(CSolidFacility& facility, const CustomMaterialList& materials)
{
    facility.customMaterials.clear();
    for (const CustomMaterial& m : materials) {
        auto copy = std::make_unique<CustomMaterial>(m);
        // Engine textures do not outlive a rebuilt scene: take them again from the models.
        copy->texture = nullptr;
        if (copy->facilityModel == nullptr)
            copy->texture = ownTexture(facility, copy->index);
        facility.customMaterials.push_back(std::move(copy));
    }
    ApplyCustomMaterials(facility);
}

} // namespace vs
