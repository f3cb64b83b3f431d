#include "DesignNames.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vhost {

std::string attr(const pugi::xml_node& node, const char* longName, const char* shortName)
{
    const char* value = node.attribute(longName).value();
    if (*value == '\0' && shortName != nullptr)
        value = node.attribute(shortName).value();
    return value;
}

void setAttr(pugi::xml_node node, const char* longName, const char* shortName,
             const std::string& value)
{
    const char* name = longName;
    if (shortName != nullptr && !node.attribute(longName) && node.attribute(shortName))
        name = shortName;
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        a = node.append_attribute(name);
    a.set_value(value.c_str());
}

pugi::xml_node child(const pugi::xml_node& node, const char* longName, const char* shortName)
{
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element &&
            (std::strcmp(c.name(), longName) == 0 ||
             (shortName && std::strcmp(c.name(), shortName) == 0)))
            return c;
    return {};
}

pugi::xml_node listOf(pugi::xml_node plane, const char* longName, const char* shortName)
{
    pugi::xml_node list = child(plane, longName, shortName);
    if (list)
        return list;
    const bool shortStyle = !plane.attribute("outlinePoints") && plane.attribute("_am");
    // Keep the list before the 3D part, where the module's reader expects nothing in particular
    // but people reading the design expect the ceiling first.
    pugi::xml_node solid = child(plane, "solid", "_dg");
    const char* name = shortStyle ? shortName : longName;
    return solid ? plane.insert_child_before(name, solid) : plane.append_child(name);
}

std::string numberText(double value)
{
    char buffer[40];
    for (int precision = 6; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::strtod(buffer, nullptr) == value)
            break;
    }
    return buffer;
}

} // namespace vhost
