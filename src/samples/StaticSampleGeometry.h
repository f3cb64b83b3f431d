// Where a static sample's photo and its four ceiling corners lie in the 3D window's client
// area. All rectangles are client pixels (left, top, right, bottom), right and bottom exclusive.
#pragma once

#include "document/RPoint.h"
#include "document/SolidMath.h"
#include "platform/IntSize.h"

#include <QPoint>

#include <array>
#include <vector>

class CSolidDocument;

namespace vs {

/** The four corners of the ceiling quadrilateral in client pixels, in order 0..3. */
using SampleCorners = std::array<QPoint, 4>;

/** Margin, in pixels, left around the photo when it is fitted into the client area. */
constexpr int kSampleFitMargin = 5;
/** Smallest and largest change-top zoom. */
constexpr double kMinSampleZoom = 0.5;
constexpr double kMaxSampleZoom = 1.0;

/** Returns the photo `photo` scaled, keeping its aspect, to fit `client` with a 5-pixel margin
 *  on the constraining sides and centred on the other axis (integer arithmetic). A photo
 *  without pixels, or a client too small for the margins, gives a rectangle of zero width and
 *  height at the client's centre. */
IRect fitPhotoRect(IntSize client, IntSize photo);

/** Returns `fit` scaled by `zoom` about its centre: each side's length rounded to the nearest
 *  pixel, the centre kept by integer halves. */
IRect zoomPictureRect(const IRect& fit, double zoom);

/** Returns the four default projected points, a trapezoid in the upper half of the photo:
 *  (0.1, 0.1), (0.9, 0.1), (0.75, 0.5), (0.25, 0.5). */
std::vector<RPoint> defaultProjectedPoints();

/** Gives the document the default projected points, and the photo's size as its
 *  staticSolidSampleImgSize, unless it already holds four or more. Returns true when it did. */
bool ensureProjectedPoints(CSolidDocument& document);

/** Returns the corners of the first four of `projected` (fractions of `picture`, 0 = left or
 *  top edge, 1 = right or bottom edge), rounded to the nearest pixel. Missing points give the
 *  defaults; values far outside the client area are clamped so every corner stays a usable
 *  integer. */
SampleCorners cornersFromProjected(const std::vector<RPoint>& projected, const IRect& picture);

/** Writes `corners` into the document's staticSolidProjectedPoints as fractions of `picture`.
 *  A picture rectangle without width or height leaves the points as they are (there is no
 *  fraction to take). */
void StoreCorners(CSolidDocument& document, const SampleCorners& corners, const IRect& picture);

} // namespace vs
