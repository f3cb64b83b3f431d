// Reading and writing the custom materials of a facility: the "customMaterial" items of a
// design and a model's default-materials text.
#pragma once

#include "CustomMaterial.h"

#include <pugixml.hpp>

#include <memory>
#include <string>
#include <vector>

class DesignCatalogue;

namespace vs {

/**
 * Reads one custom material from `item` ("customMaterial" attributes); offsets are multiplied
 * by `scale`. A non-zero facilityModelId is resolved through `catalogue` (null when unknown).
 */
CustomMaterial readCustomMaterial(pugi::xml_node item, double scale, DesignCatalogue& catalogue);

/**
 * Reads a materials text: every child of its document element is a custom material, read with
 * `scale`. Text that does not parse, or is empty, gives no materials.
 */
std::vector<CustomMaterial> readCustomMaterials(const std::string& utf8Text, double scale,
                                                DesignCatalogue& catalogue);

/** Appends one "_fy" item per material to `container`. */
void appendCustomMaterials(pugi::xml_node container,
                           const std::vector<std::unique_ptr<CustomMaterial>>& materials);

/** Returns the materials text of `materials`: a "_g7" element with one "_fy" item each
 *  (UTF-8, no declaration). */
std::string writeCustomMaterials(const std::vector<std::unique_ptr<CustomMaterial>>& materials);

} // namespace vs
