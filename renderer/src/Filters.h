// The pixel filters of the RenderMan Interface, by kind and by RIB name.
#pragma once

#include <string>

namespace ri {

enum class FilterKind { Box, Triangle, CatmullRom, Gaussian, Sinc, Mitchell, BlackmanHarris };

/// The filter's weight at offset (x, y) from the pixel centre, for the given full widths.
float filterWeight(FilterKind kind, float x, float y, float xwidth, float ywidth);

/// The filter's weight integrated from the lower edge of its support to (x, y), normalised.
float filterStep(FilterKind kind, float x, float y, float xwidth, float ywidth);

/// RIB name ("box", "catmull-rom", ...) of a kind.
const char* filterName(FilterKind kind);

/// Kind of a RIB name; false when the name is not a standard filter.
bool filterFromName(const std::string& name, FilterKind& kind);

} // namespace ri
