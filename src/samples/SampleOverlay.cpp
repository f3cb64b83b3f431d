#include "samples/SampleOverlay.h"

#include "document/CHollowPolygon.h"
#include "document/CSolidDocument.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vs {
namespace {

struct Edge
{
    double x0, y0, x1, y1;
};

/** Rounds a polygon coordinate to a whole pixel, clamped so that crossings stay finite. */
double wholePixel(double v)
{
    constexpr double kLimit = double(1 << 30);
    return std::clamp(std::floor(v + 0.5), -kLimit, kLimit);
}

/** The edges of every polygon with its points rounded to whole pixels and closed; polygons
 *  with a point that is not finite are left out (they bound no region). */
std::vector<Edge> regionEdges(const CSolidDocument& document)
{
    std::vector<Edge> edges;
    for (const auto& polygon : document.staticPolygons) {
        if (!polygon || polygon->points.size() < 3)
            continue;
        const auto& pts = polygon->points;
        if (std::any_of(pts.begin(), pts.end(),
                        [](const RPoint& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); }))
            continue;
        for (size_t i = 0; i < pts.size(); ++i) {
            const RPoint& a = pts[i];
            const RPoint& b = pts[(i + 1) % pts.size()];
            Edge e{wholePixel(a.x), wholePixel(a.y), wholePixel(b.x), wholePixel(b.y)};
            if (e.y0 != e.y1)
                edges.push_back(e);
        }
    }
    return edges;
}

/** Marks the pixels of row y whose centres lie inside the edges under the even-odd rule. */
void fillRow(const std::vector<Edge>& edges, int y, std::vector<double>& crossings, uchar* row,
             int width)
{
    // Vertices are whole pixels and the centre line is not, so no crossing hits a vertex.
    const double yc = y + 0.5;
    crossings.clear();
    for (const Edge& e : edges)
        if ((e.y0 < yc) != (e.y1 < yc))
            crossings.push_back(e.x0 + (yc - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0));
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
        // Pixel x is inside when its centre x + 0.5 lies in [a, b).
        const double first = std::ceil(crossings[i] - 0.5);
        const double end = std::ceil(crossings[i + 1] - 0.5);
        const int x0 = static_cast<int>(std::clamp(first, 0.0, double(width)));
        const int x1 = static_cast<int>(std::clamp(end, 0.0, double(width)));
        std::fill(row + x0, row + x1, uchar(255));
    }
}

bool isWhite(QRgb pixel)
{
    return (pixel & 0x00ffffffu) == 0x00ffffffu;
}

/** Clears the ceiling pixels that the mask picture marks white. */
void applyMask(const CSolidDocument& document, QImage& ceiling)
{
    const QImage& mask = document.sampleMask.image();
    if (mask.isNull())
        return;
    const IRect& r = document.staticSolidRect;
    // Only where the rectangle, the mask's own pixels and the photo overlap.
    const int64_t x0 = std::max<int64_t>({r.left, 0});
    const int64_t y0 = std::max<int64_t>({r.top, 0});
    const int64_t x1 =
        std::min<int64_t>({r.right, int64_t(r.left) + mask.width(), ceiling.width()});
    const int64_t y1 =
        std::min<int64_t>({r.bottom, int64_t(r.top) + mask.height(), ceiling.height()});
    for (int64_t y = y0; y < y1; ++y) {
        uchar* out = ceiling.scanLine(int(y));
        const QRgb* in = reinterpret_cast<const QRgb*>(mask.constScanLine(int(y - r.top)));
        for (int64_t x = x0; x < x1; ++x)
            if (out[x] != 0 && isWhite(in[x - r.left]))
                out[x] = 0;
    }
}

} // namespace

QImage ceilingPixels(const CSolidDocument& document)
{
    const QImage& photo = document.samplePhoto.image();
    if (photo.isNull())
        return QImage();
    QImage ceiling(photo.size(), QImage::Format_Grayscale8);
    if (ceiling.isNull())
        throw std::bad_alloc();
    ceiling.fill(0);
    const std::vector<Edge> edges = regionEdges(document);
    std::vector<double> crossings;
    if (!edges.empty())
        for (int y = 0; y < ceiling.height(); ++y)
            fillRow(edges, y, crossings, ceiling.scanLine(y), ceiling.width());
    applyMask(document, ceiling);
    return ceiling;
}

QImage cutOutCeiling(const CSolidDocument& document, const QImage& ceiling, int otherAlpha)
{
    const QImage& photo = document.samplePhoto.image();
    if (photo.isNull())
        return QImage();
    QImage out = photo.convertToFormat(QImage::Format_ARGB32);
    if (out.isNull())
        throw std::bad_alloc();
    const QRgb other = QRgb(std::clamp(otherAlpha, 0, 255)) << 24;
    const bool haveCeiling = ceiling.size() == out.size();
    for (int y = 0; y < out.height(); ++y) {
        QRgb* px = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* in = haveCeiling ? ceiling.constScanLine(y) : nullptr;
        for (int x = 0; x < out.width(); ++x)
            px[x] = (px[x] & 0x00ffffffu) | (in && in[x] ? 0u : other);
    }
    return out;
}

QImage BuildClipMask(IntSize client, const IRect& picture)
{
    if (client.width <= 0 || client.height <= 0)
        return QImage();
    QImage mask(client.width, client.height, QImage::Format_ARGB32);
    if (mask.isNull())
        throw std::bad_alloc();
    mask.fill(0xffffffffu);
    const int x0 = std::clamp(picture.left, 0, client.width);
    const int x1 = std::clamp(picture.right, 0, client.width);
    const int y0 = std::clamp(picture.top, 0, client.height);
    const int y1 = std::clamp(picture.bottom, 0, client.height);
    for (int y = y0; y < y1; ++y) {
        QRgb* px = reinterpret_cast<QRgb*>(mask.scanLine(y));
        std::fill(px + x0, px + std::max(x0, x1), QRgb(0x00ffffffu));
    }
    return mask;
}

} // namespace vs
