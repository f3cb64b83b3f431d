// The text of a written element.
#pragma once

#include <pugixml.hpp>

#include <string>

namespace vs {

/** Returns the XML of `element` alone: UTF-8, no declaration, no indentation or line breaks. */
std::string elementText(pugi::xml_node element);

} // namespace vs
