// The one reading of a hexadecimal digit that the design texts share (colours, integers).
#pragma once

namespace vs {

/** The value of `c` as a hexadecimal digit (0 to 15, letters in either case); -1 for any other
 *  character, the terminator included. */
inline int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace vs
