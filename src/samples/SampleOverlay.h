// The 2D pictures of a static sample that come from the photo itself: the photo with its
// ceiling area cut out (twice, with two opacities) and the mask of the picture rectangle.
#pragma once

#include "document/SolidMath.h"
#include "platform/IntSize.h"

#include <QImage>

class CSolidDocument;

namespace vs {

/** Alpha of the photo's non-ceiling pixels in the opaque and the half-transparent overlay. */
constexpr int kOpaqueOverlayAlpha = 255;
constexpr int kTransparentOverlayAlpha = 192;

/** Returns a Format_Grayscale8 picture of the photo's size whose pixels are 255 on ceiling
 *  pixels and 0 elsewhere. A pixel is a ceiling pixel when its centre lies in the union of the
 *  document's static polygons under the even-odd rule (points rounded to whole pixels, each
 *  polygon closed; exclude flags are not consulted) and, when the document has a mask picture
 *  and the pixel lies in staticSolidRect, the mask pixel there is not pure white. Mask pixels
 *  the rectangle reaches beyond the mask's own size do not restrict. A null photo gives a
 *  null picture. */
QImage ceilingPixels(const CSolidDocument& document);

/** Returns a Format_ARGB32 copy of the document's photo whose alpha is 0 on ceiling pixels
 *  and `otherAlpha` (clamped to 0..255) elsewhere; a null photo gives a null picture. */
QImage cutOutCeiling(const CSolidDocument& document, const QImage& ceiling, int otherAlpha);

/** Returns the clip mask: a Format_ARGB32 picture of the client size, white, with alpha 0
 *  inside `picture` (right and bottom edges excluded) and 255 elsewhere. An empty client gives
 *  a null picture. */
QImage BuildClipMask(IntSize client, const IRect& picture);

} // namespace vs
