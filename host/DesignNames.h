// The design format gives every element and attribute a long and a short name; the reader
// prefers a non-empty long-name value, and the writer keeps whichever form the design uses.
#pragma once

#include <pugixml.hpp>

#include <string>

namespace vhost {

/** Returns the attribute's value by long name, or by short name when that is empty. */
std::string attr(const pugi::xml_node& node, const char* longName, const char* shortName);
/** Sets the attribute under the name the element already uses (long when it has neither). */
void setAttr(pugi::xml_node node, const char* longName, const char* shortName,
             const std::string& value);
/** Returns the first child element named by either name, or an empty node. */
pugi::xml_node child(const pugi::xml_node& node, const char* longName, const char* shortName);
/** Returns the child list element, creating it in the plane's naming style when missing. */
pugi::xml_node listOf(pugi::xml_node plane, const char* longName, const char* shortName);
/** Formats a number as the shortest decimal text that reads back the same. */
std::string numberText(double value);

} // namespace vhost
