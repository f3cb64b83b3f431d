// The perspective warp of a ceiling's plan picture onto the quadrilateral the user drags onto
// a room photo, rasterised with AGG.
#pragma once

#include <QImage>
#include <QPointF>

#include <array>

class CSolidDocument;

namespace vs {

/** Largest width or height of a warp's output, in pixels. */
constexpr int kMaxWarpSide = 16384;

/** Returns a Format_ARGB32 picture of `width` x `height` pixels, opaque white, with `source`
 *  drawn into the quadrilateral `corners` (client pixels, row 0 at the top): corner 0 receives
 *  the source's top-left corner, corner 1 its top-right, corner 2 its bottom-right and corner
 *  3 its bottom-left. Each covered pixel samples the source through the projective transform
 *  at its centre with a 2 x 2 bilinear filter (source pixels beyond the border repeat the
 *  border); the quadrilateral's edges are anti-aliased. A degenerate quadrilateral (no valid
 *  projective transform, for example three corners on one line), a corner that is not finite
 *  or lies beyond 2^20 pixels, or a null source leaves the picture white. A size that is not
 *  positive or beyond kMaxWarpSide gives a null picture. Large pictures are filled in
 *  horizontal bands on up to `threads` threads (0: chosen by the picture's size and the
 *  machine's cores); the pixels do not depend on the number of bands. */
QImage WarpPictureToQuad(const QImage& source, const std::array<QPointF, 4>& corners, int width,
                         int height, int threads = 0);

/** Lets the warp use AVX2 where the processor has it (the default) or keeps it to SSE2;
 *  both give the same pixels. For tests of the narrower path. */
void allowWarpAvx2(bool allowed);

/** Returns the root ceiling plane's plan picture as a Format_ARGB32 copy with every alpha set
 *  to 255, creating and painting the plan picture when the plane has none yet. A document
 *  without a ceiling plane, or a plane that gets no picture, gives a null picture. */
QImage planPictureSource(CSolidDocument& document);

} // namespace vs
