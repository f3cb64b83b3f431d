// The text form of colours in section-bar profile data: "RGB(r,g,b)" or "#rrggbb".
#pragma once

#include <cstdint>

namespace vs {

/**
 * Reads a colour text into a COLORREF-style value, red | green << 8 | blue << 16.
 *
 * - "RGB(r,g,b)" (prefix in any case): three numbers separated by commas or blanks; each is
 *   truncated to an integer and its low 8 bits are kept (-1 gives 255, 256 gives 0; NaN and
 *   infinities give 0). A closing ")" is optional; numbers after the third are ignored. Throws
 *   std::invalid_argument when fewer than three numbers are given.
 * - "#rrggbb": six hexadecimal digits in either case; characters after them are ignored.
 * - Anything else, a "#" without six hexadecimal digits and null text give 0.
 */
uint32_t parseColourText(const char* text);

} // namespace vs
