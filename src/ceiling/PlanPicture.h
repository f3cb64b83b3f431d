// The plan picture of a ceiling plane: the 2D drawing of its grid, panels and hosted items that
// the 3D view lays on the plane as its texture. Pixels are picture pixels; "absolute" pixel
// coordinates are the plane's grid-relative design units times its zoom, rounded (the frame of
// CGridMapping::pixelRect and of every tile's and host's pixelRect); the picture's pixel (0, 0)
// is the absolute pixel (pixelRect.left, pixelRect.top).
#pragma once

#include "ceiling/PlanHighlight.h"
#include "document/SolidMath.h"

#include <cstdint>

class CGridMapping;

namespace vs {

/** Pixels per design unit of a plan picture whose outer grid lines are not far apart. */
constexpr double kPlanPictureZoom = 0.024;
/** Most pixels between the outer grid lines of a plan picture's longer side. */
constexpr int kPlanPictureSpan = 1024;
/** Largest width or height of a plan picture: the span, its closing grid line and one pixel for
 *  the rounding of the grid lines' pixel positions. Larger pictures are never allocated. */
constexpr int kMaxPlanPictureSide = kPlanPictureSpan + 2;

/** Background colour of a plan picture (opaque; the alpha is written separately). */
constexpr uint32_t kPlanBackground = 0xff555599u;
/** Colour of grid lines: the inverse of their pen RGB(128, 128, 128). */
constexpr uint32_t kPlanGridLine = 0xff7f7f7fu;
/** Colour of highlight grid lines: the inverse of their pen RGB(255, 255, 0). */
constexpr uint32_t kPlanHighlightLine = 0xff0000ffu;

/** Returns the zoom (pixels per design unit) of a plan picture for an aligned bounds rectangle
 *  `width` x `height` design units: kPlanPictureZoom, or kPlanPictureSpan / the longer side when
 *  that side would otherwise be more than kPlanPictureSpan pixels. Returns 0 for a negative, NaN
 *  or infinite side (no picture can be made). */
double planPictureZoom(double width, double height);

/** Makes the plane's picture: sets the zoom by planPictureZoom of alignedBoundRRect (which
 *  updates the pixel rectangles of the plane, its tiles and hosts) and allocates a
 *  Format_ARGB32 picture of (pixelRect.right - left + 1) x (bottom - top + 1) pixels, fully
 *  transparent until painted. A plane without cells or with a degenerate alignedBoundRRect gets
 *  a null picture and keeps its zoom; one whose pixel rectangle would still exceed
 *  kMaxPlanPictureSide (inconsistent geometry) gets a null picture. Throws std::bad_alloc when
 *  the picture cannot be allocated. */
void createPlanPicture(CGridMapping& plane);

/** Paints the whole picture: background, grid lines, tiles, the `highlight` overlay when one is
 *  given and active, hosts; then writes pictureAlpha into every pixel. Does nothing to a null
 *  picture. Does not notify the scene (the caller hands the new picture over). */
void paintPlanPicture(CGridMapping& plane, const PlanHighlight* highlight = nullptr);

/** Repaints the absolute pixel rectangle `pixelRect` (inclusive) after a change: only the tiles
 *  of the cells covering it (through the plane's top-row index), the `highlight` overlay when
 *  one is given and active, and the hosts meeting it are drawn, every pixel outside it stays as
 *  it was. Then hands the picture to the scene through
 *  plane.ceiling->sceneHooks->pictureChanged(plane) when hooks are set. A rectangle outside the
 *  picture, an empty one or a null picture changes nothing and notifies nobody. */
void repaintPlanRect(CGridMapping& plane, const IRect& pixelRect,
                     const PlanHighlight* highlight = nullptr);

/** Sets pictureAlpha and writes it into the alpha of every pixel of the picture; a non-null
 *  picture is then handed to the scene (sceneHooks->pictureChanged) when hooks are set. */
void setPictureAlpha(CGridMapping& plane, uint8_t alpha);

} // namespace vs
