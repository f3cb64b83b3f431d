// Reads the profile text of a section-bar type into its profile model.
//
// The text is XML. The document element (whatever its tag) holds a "contours" element whose
// child elements are the contours; a document element named "contours" is that list itself.
// Child elements are items whatever their tag; other nodes are ignored.
//
//   contour:  id (int), isCrease (bool), and a "points" list of vertices
//   vertex:   value (number list: 2 or 3 numbers a plain point, 13 a wall arc, 18 a self arc),
//             color / pictureField (its material), isPivotPoint (bool), faceupHeightPart1 and
//             faceupHeightPart2 (numbers, taken from the pivot), and a "creaseses" list
//   crease:   creaseTypeContourId and repeatCount (int), len, pos1, pos2 (numbers),
//             scale ("x,y"), useOwnMaterial (bool), color1 / pictureField1, color2 /
//             pictureField2
//
// Bools are "true" or "TRUE"; anything else is false. Ints are decimal. Numbers are read
// like atof; a number must be finite and within +-1e9. pos1 and pos2 are not given when
// empty or at least the largest double. Colours are read by vs::parseColourText.
#pragma once

#include "catalogue/CSectionBarProfile.h"

#include <memory>
#include <string>

namespace vs {

/** Most a profile number may be away from 0 (100 km in decimillimetres). */
constexpr double kMaxProfileMagnitude = 1e9;

/**
 * Reads and finishes a profile from its text. Throws std::invalid_argument for text that is
 * not XML, a vertex value that is no profile point, a number that is not finite or out of
 * range, an int out of range, an unreadable colour, a scale without two numbers, a crease
 * with more than CCreases::kMaxRepeats copies, or a profile of more than
 * CSectionBarProfile::kMaxPoints points.
 */
std::unique_ptr<CSectionBarProfile> readProfile(const std::string& profileText);

} // namespace vs
