// A facility's custom materials as a list of values that a dialog or an undo step can keep,
// put back and show on the facility's mesh.
#pragma once

#include "document/CustomMaterial.h"

#include <vector>

class CSolidFacility;

namespace vs {

using CustomMaterialList = std::vector<CustomMaterial>;

/** Copies of the facility's custom materials, in order. */
CustomMaterialList customMaterialsOf(const CSolidFacility& facility);

/**
 * Gives the facility copies of `materials` and shows them on its mesh (a private copy of the
 * model's mesh while it has any). A record without a model takes the mesh buffer's own texture,
 * so that its offset, scale and rotation still apply.
 */
void setCustomMaterials(CSolidFacility& facility, const CustomMaterialList& materials);

/** The texture of mesh buffer `index` as the model's shared mesh has it, or null. */
irr::video::ITexture* ownTexture(const CSolidFacility& facility, int index);

} // namespace vs
