// Writing the 3D part of a room design: the "solid" element, with short names.
#pragma once

#include <string>

class CSolidDocument;

namespace vs {

/**
 * Returns the XML text (UTF-8, the element alone, no declaration) of the "_dg" element of
 * `document`: view state, floor, walls, solid facilities and lights, all lengths in
 * decimillimetres. A document without a view state or floor writes the defaults of a new one.
 */
std::string writeSolid(const CSolidDocument& document);

} // namespace vs
