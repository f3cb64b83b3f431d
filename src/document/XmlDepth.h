// How deeply a parsed XML text nests its elements.
#pragma once

#include "VantrelSolid.h"

#include <pugixml.hpp>

namespace vs {

/** Deepest element nesting a design may have; the design element is level 1. The value hosts
 *  see in the public header. */
constexpr int kMaxDesignXmlDepth = VS_MAX_DESIGN_DEPTH;

/**
 * Returns the nesting level of the deepest element under `node` (its children are level 1),
 * without recursion; stops counting once it passes `limit`, so the result is at most
 * limit + 1.
 */
int elementDepth(pugi::xml_node node, int limit);

} // namespace vs
