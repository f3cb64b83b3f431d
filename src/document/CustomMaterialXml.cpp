#include "CustomMaterialXml.h"

#include "DesignCatalogue.h"
#include "XmlDocumentText.h"
#include "XmlNames.h"
#include "XmlValues.h"

namespace vs {

CustomMaterial readCustomMaterial(pugi::xml_node item, double scale, DesignCatalogue& catalogue)
{
    CustomMaterial material;
    material.index = readInt(attributeText(item, "index$_cq"));
    material.facilityModelId = readInt(attributeText(item, "facilityModelId$_fv"));
    material.offsetX = static_cast<float>(readDouble(attributeText(item, "offsetX$_fz")) * scale);
    material.offsetY = static_cast<float>(readDouble(attributeText(item, "offsetY$_g0")) * scale);
    material.scaleX = static_cast<float>(readDouble(attributeText(item, "scaleX$_g1")));
    material.scaleY = static_cast<float>(readDouble(attributeText(item, "scaleY$_g2")));
    material.rotate = static_cast<float>(readDouble(attributeText(item, "rotate$_g3")));
    if (material.facilityModelId != 0)
        material.facilityModel = catalogue.facilityModel(material.facilityModelId, 0);
    return material;
}

std::vector<CustomMaterial> readCustomMaterials(const std::string& utf8Text, double scale,
                                                DesignCatalogue& catalogue)
{
    std::vector<CustomMaterial> materials;
    pugi::xml_document document;
    if (!document.load_buffer(utf8Text.data(), utf8Text.size()))
        return materials;
    for (pugi::xml_node item : document.document_element().children())
        materials.push_back(readCustomMaterial(item, scale, catalogue));
    return materials;
}

void appendCustomMaterials(pugi::xml_node container,
                           const std::vector<std::unique_ptr<CustomMaterial>>& materials)
{
    for (const auto& material : materials) {
        pugi::xml_node item = container.append_child("_fy");
        item.append_attribute("_cq") = formatInt(material->index).c_str();
        item.append_attribute("_fv") = formatInt(material->facilityModelId).c_str();
        item.append_attribute("_fz") = formatDouble(material->offsetX).c_str();
        item.append_attribute("_g0") = formatDouble(material->offsetY).c_str();
        item.append_attribute("_g1") = formatDouble(material->scaleX).c_str();
        item.append_attribute("_g2") = formatDouble(material->scaleY).c_str();
        item.append_attribute("_g3") = formatDouble(material->rotate).c_str();
    }
}

std::string writeCustomMaterials(const std::vector<std::unique_ptr<CustomMaterial>>& materials)
{
    pugi::xml_document document;
    pugi::xml_node element = document.append_child("_g7");
    appendCustomMaterials(element, materials);
    return elementText(element);
}

} // namespace vs
