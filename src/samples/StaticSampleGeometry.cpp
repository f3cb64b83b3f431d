#include "samples/StaticSampleGeometry.h"

#include "document/CSolidDocument.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vs {
namespace {

/** Corners are kept within this many pixels of the origin, far beyond any screen. */
constexpr double kCornerLimit = 1 << 20;

int roundedCoordinate(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::floor(std::clamp(v, -kCornerLimit, kCornerLimit) + 0.5));
}

/** Scales the span [lo, hi) by zoom about its integer centre. */
void zoomSpan(int lo, int hi, double zoom, int& newLo, int& newHi)
{
    const double scaled = std::floor((double(hi) - lo) * zoom + 0.5);
    const int length = static_cast<int>(std::clamp(scaled, 0.0, double(INT32_MAX / 2)));
    newLo = static_cast<int>((int64_t(lo) + hi) / 2 - length / 2);
    newHi = newLo + length;
}

} // namespace

IRect fitPhotoRect(IntSize client, IntSize photo)
{
    const int64_t W = client.width, H = client.height;
    const int64_t U = photo.width, V = photo.height;
    IRect fit;
    if (U <= 0 || V <= 0 || W < 2 * kSampleFitMargin || H < 2 * kSampleFitMargin) {
        fit.left = fit.right = static_cast<int>(std::max<int64_t>(W, 0) / 2);
        fit.top = fit.bottom = static_cast<int>(std::max<int64_t>(H, 0) / 2);
        return fit;
    }
    if (W * V < H * U) {
        const int64_t height = V * (W - 2 * kSampleFitMargin) / U;
        fit.left = kSampleFitMargin;
        fit.right = static_cast<int>(W - kSampleFitMargin);
        fit.top = static_cast<int>((H - height) / 2);
        fit.bottom = static_cast<int>(fit.top + height);
    } else {
        const int64_t width = U * (H - 2 * kSampleFitMargin) / V;
        fit.top = kSampleFitMargin;
        fit.bottom = static_cast<int>(H - kSampleFitMargin);
        fit.left = static_cast<int>((W - width) / 2);
        fit.right = static_cast<int>(fit.left + width);
    }
    return fit;
}

IRect zoomPictureRect(const IRect& fit, double zoom)
{
    if (!std::isfinite(zoom) || zoom < 0)
        zoom = 0;
    IRect picture;
    zoomSpan(fit.left, fit.right, zoom, picture.left, picture.right);
    zoomSpan(fit.top, fit.bottom, zoom, picture.top, picture.bottom);
    return picture;
}

std::vector<RPoint> defaultProjectedPoints()
{
    return {{0.1, 0.1}, {0.9, 0.1}, {0.75, 0.5}, {0.25, 0.5}};
}

bool ensureProjectedPoints(CSolidDocument& document)
{
    if (document.staticSolidProjectedPoints.size() >= 4)
        return false;
    document.staticSolidProjectedPoints = defaultProjectedPoints();
    document.staticSolidSampleImgSize = {document.samplePhoto.width(),
                                         document.samplePhoto.height()};
    return true;
}

SampleCorners cornersFromProjected(const std::vector<RPoint>& projected, const IRect& picture)
{
    const std::vector<RPoint> defaults = defaultProjectedPoints();
    const double width = double(picture.right) - picture.left;
    const double height = double(picture.bottom) - picture.top;
    SampleCorners corners;
    for (size_t i = 0; i < corners.size(); ++i) {
        const RPoint& p = i < projected.size() ? projected[i] : defaults[i];
        corners[i] = QPoint(roundedCoordinate(width * p.x + picture.left),
                            roundedCoordinate(height * p.y + picture.top));
    }
    return corners;
}

void StoreCorners(CSolidDocument& document, const SampleCorners& corners, const IRect& picture)
{
    const double width = double(picture.right) - picture.left;
    const double height = double(picture.bottom) - picture.top;
    if (width == 0 || height == 0)
        return;
    std::vector<RPoint> points(corners.size());
    for (size_t i = 0; i < corners.size(); ++i)
        points[i] = {(corners[i].x() - double(picture.left)) / width,
                     (corners[i].y() - double(picture.top)) / height};
    document.staticSolidProjectedPoints = std::move(points);
}

} // namespace vs
