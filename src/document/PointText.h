// Text forms of plan points, point lists, rectangles and number lists, as they appear in
// design attributes and section-bar profile values.
//
// Numbers are read like atof in the "C" locale whatever the process locale is: leading blanks
// are skipped, reading stops at the first character that cannot continue a number, and a text
// without a number gives 0. Like atof, "nan", "inf" and "infinity" (any case) are accepted and
// pass through as NaN and infinities; scaling keeps them so. Numbers are written with a "."
// decimal point whatever the locale; NaN is written as "nan" (or "-nan") and infinities as
// "inf"/"-inf", as printf would.
#pragma once

#include "RPoint.h"
#include "RRect.h"

#include <string>
#include <vector>

namespace vs {

/** Returns the number with a fixed number of decimals, like printf "%.*f" in the C locale. */
std::string formatFixed(double value, int decimals);

/** Returns "x,y" with six decimals each ("%f,%f"), no blanks. */
std::string formatPoint(const RPoint& point);

/** Returns the points' texts joined by one blank; "" for no points. */
std::string formatPointList(const std::vector<RPoint>& points);

/** Returns "left,top,right,bottom" with six decimals each. */
std::string formatRect(const RRect& rect);

/**
 * Reads a point text: the text is split at commas (empty parts are skipped) and the first two
 * parts are read as x and y, each multiplied by scale. Throws std::invalid_argument when the
 * text has fewer than two parts.
 */
RPoint parsePoint(const std::string& text, double scale);

/**
 * Reads a point list: the text is split at runs of blanks into point texts, each read by
 * parsePoint. Null or blank text gives an empty list. Throws std::invalid_argument for a point
 * text with fewer than two parts.
 */
std::vector<RPoint> parsePointList(const char* text, double scale);

/**
 * Reads four numbers left, top, right, bottom (separated by blanks or commas), each multiplied
 * by scale. Throws std::invalid_argument when there are fewer than four (null text included).
 */
RRect parseRect(const char* text, double scale);

/** Reads the numbers separated by any run of blanks or commas; null text gives an empty list. */
std::vector<double> parseNumberList(const char* text);

/** Reads a number with atof semantics in the C locale; null text gives 0. */
double parseDouble(const char* text);

} // namespace vs
