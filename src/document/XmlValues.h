// The value encodings of design attributes: how ints, doubles, bools, int pairs, vectors, four
// floats, triples and index-size lists are read from attribute text and written back.
//
// Reading follows the C conversions the format was defined with, in the "C" locale whatever
// the process locale: ints like sscanf "%i" (decimal, "0x" hexadecimal, leading-zero octal),
// doubles like sscanf "%f" into a float (about seven significant digits survive), other
// numbers like atof. Text that holds no number gives the default.
#pragma once

#include "SolidMath.h"
#include "platform/IntSize.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vs {

/** The two unit scales of a read: lengths of the ceiling part and of the solid part. */
struct UnitScales
{
    /** Applies to the ceiling tree; the caller's value (1 for an interactive run). */
    int ceiling = 1;
    /** Applies to the solid element: 1 for designs in decimillimetres, 10 for millimetres. */
    float solid = 1;
};

/**
 * Reads an int like sscanf "%i": leading blanks, an optional sign, then decimal, "0x"/"0X"
 * hexadecimal or leading-zero octal digits. Values beyond the 32-bit range are clamped to it.
 * Gives `fallback` when the text holds no number.
 */
int readInt(const char* text, int fallback = 0);

/**
 * Reads a double like sscanf "%f" into a float, widened: single precision survives. "nan"
 * and "inf" pass through. Gives `fallback` when the text holds no number.
 */
double readDouble(const char* text, double fallback = 0);

/** Reads a bool: exactly "true"/"TRUE" is true, "false"/"FALSE" false, anything else `fallback`. */
bool readBool(const char* text, bool fallback = false);

/**
 * Reads "w,h": up to two decimal integers split at commas, a missing one 0. Gives `fallback`
 * when the text is empty.
 */
IntSize readIntPair(const char* text, IntSize fallback = {});

/**
 * Reads three numbers separated by blanks or commas, each multiplied by `scale`. Empty text
 * gives (0, 0, 0); fewer than three numbers throws std::invalid_argument.
 */
Vec3f readVector(const char* text, float scale = 1);

/** Reads four numbers separated by blanks or commas; throws std::invalid_argument for fewer
 *  (empty text included). */
std::array<float, 4> readFourFloats(const char* text);

/**
 * Reads three numbers separated by commas (atof each). Empty text gives (0, 0, 0); fewer than
 * three parts throws std::invalid_argument.
 */
std::array<double, 3> readTriple(const char* text);

/**
 * Reads numbers separated by blanks or commas as (index, size) pairs, each read like an int
 * (a trailing odd number is ignored); sizes are multiplied by `sizeScale`, clamped to the
 * 32-bit range. Empty text gives an empty list.
 */
std::vector<std::pair<int, int>> readIndexSizeList(const char* text, int sizeScale = 1);

/** Returns `value` × `scale` truncated toward zero and clamped to the 32-bit range (NaN: 0). */
int scaleInt(double value, double scale);

/** Returns the decimal text of an int. */
std::string formatInt(int value);

/** Returns the shortest plain decimal text that reads back as the same double, or, for a value
 *  exact in single precision, as the same float ("nan", "inf" for those values). */
std::string formatDouble(double value);

/** Returns "true" for true and "" for false. */
std::string formatBool(bool value);

/** Returns "w,h". */
std::string formatIntPair(IntSize size);

/** Returns "x,y,z" with twelve decimals each. */
std::string formatVector(const Vec3f& vector);

/** Returns "a,b,c,d" with six decimals each. */
std::string formatFourFloats(float a, float b, float c, float d);

} // namespace vs
