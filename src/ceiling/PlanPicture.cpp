#include "ceiling/PlanPicture.h"

#include "catalogue/CCandyType.h"
#include "ceiling/GridFunctions.h"
#include "ceiling/GridLayout.h"
#include "document/CGridMapping.h"
#include "document/CeilingSceneHooks.h"
#include "document/SolidCeiling.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <new>
#include <tuple>
#include <utility>
#include <vector>

namespace vs {
namespace {

/** Above this many lines in one direction the lines are found per pixel instead of per line:
 *  lines closer than a pixel apart land on the same pixels anyway. */
constexpr int64_t kMaxLinesOneByOne = 4 * kMaxPlanPictureSide;
/** Largest side of a panel picture scaled once and kept for the paint; larger (absurd) targets
 *  are scaled by the painter through the clip instead. */
constexpr int64_t kMaxPreparedSide = 2 * kMaxPlanPictureSide;
/** Panels or hosts with a side beyond this many pixels are not drawn (corrupt rectangles). */
constexpr int64_t kMaxItemSide = int64_t(1) << 24;

int32_t clampToInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

int normalisedDegrees(int degrees)
{
    const int d = degrees % 360;
    return d < 0 ? d + 360 : d;
}

/** One direction of a plane's grid. */
struct GridAxis
{
    const std::vector<SpecialGridCol>& specials;
    int32_t defaultSize;
    double zoom;

    int32_t linePixel(int64_t n) const
    {
        return nearestPixel(zoom * gridLinePos(specials, clampToInt32(n), defaultSize));
    }
    bool lineAtPixel(int32_t pixel) const
    {
        return cellAtPixel(pixel, defaultSize, specials, zoom).offset == 0;
    }
};

GridAxis columnsOf(const CGridMapping& plane)
{
    return {plane.specialGridCols, plane.gridWidth, plane.zoomX};
}

GridAxis rowsOf(const CGridMapping& plane)
{
    return {plane.specialGridRows, plane.gridHeight, plane.zoomY};
}

/** The picture an item shows: its side picture when it asks for one the type has, else the
 *  type's plan picture; null when there is none. */
const QImage* itemImage(const CCandy& item)
{
    if (item.candyType == nullptr)
        return nullptr;
    if (item.side >= 0 && item.side <= 3) {
        const Picture& side = item.candyType->sidePicture(item.side);
        if (!side.isNull())
            return &side.image();
    }
    const Picture& plan = item.candyType->planPicture();
    return plan.isNull() ? nullptr : &plan.image();
}

/** Alias of the picture's pixels as premultiplied ARGB. While painting, every pixel written is
 *  opaque, and opaque pixels are the same in both formats; painting premultiplied spares the
 *  painter a conversion of the whole picture. The alpha is written afterwards. */
QImage premultipliedAlias(QImage& picture)
{
    uchar* bits = picture.bits();
    return QImage(bits, picture.width(), picture.height(), picture.bytesPerLine(),
                  QImage::Format_ARGB32_Premultiplied);
}

/** Paints into a clip rectangle of a plane's picture. Coordinates given to it are absolute
 *  pixels; the picture's pixel (0, 0) is the plane's pixelRect corner. */
class PlanPainter
{
public:
    PlanPainter(CGridMapping& plane, const QRect& clip)
        : plane_(plane), view_(premultipliedAlias(plane.picture)), clip_(clip),
          originX_(plane.pixelRect.left), originY_(plane.pixelRect.top)
    {
        painter_.begin(&view_);
        painter_.setClipRect(clip_);
        painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    }

    void fillBackground() { painter_.fillRect(clip_, QColor::fromRgba(kPlanBackground)); }

    /** Draws the column and row lines bounding the cells (c0, r0, c1, r1), limited to the
     *  plane's cells: vertical lines across the rows' pixel range, horizontal ones across the
     *  columns'. */
    void drawGridLines(const IRect& cells, uint32_t colour)
    {
        const IRect& all = plane_.cellRect;
        const int64_t c0 = std::max(cells.left, all.left), c1 = std::min(cells.right, all.right);
        const int64_t r0 = std::max(cells.top, all.top), r1 = std::min(cells.bottom, all.bottom);
        if (c0 > c1 || r0 > r1)
            return;
        const GridAxis cols = columnsOf(plane_), rows = rowsOf(plane_);
        const int32_t x0 = cols.linePixel(c0), x1 = cols.linePixel(c1 + 1);
        const int32_t y0 = rows.linePixel(r0), y1 = rows.linePixel(r1 + 1);
        const QColor pen = QColor::fromRgba(colour);
        drawLines(cols, true, c0, c1 + 1, [&](int32_t x) { fillAbsolute(x, y0, x, y1, pen); });
        drawLines(rows, false, r0, r1 + 1, [&](int32_t y) { fillAbsolute(x0, y, x1, y, pen); });
    }

    /** Draws a panel into its pixel rectangle, inset by a pixel at the left and top so that
     *  the grid lines stay visible; on a band ceiling the inset across the bands is dropped. */
    void drawTile(const CTile& tile)
    {
        const auto [insetX, insetY] = panelInsets();
        const IRect& r = tile.pixelRect;
        drawItem(tile, int64_t(r.left) + insetX, int64_t(r.top) + insetY,
                 int64_t(r.right) - r.left + 1 - insetX, int64_t(r.bottom) - r.top + 1 - insetY);
    }

    /** The left and top insets of a panel: a pixel each, but none across the bands of a band
     *  ceiling, whose panels meet without a grid line between them. */
    std::pair<int, int> panelInsets() const
    {
        const SolidCeiling* ceiling = plane_.ceiling;
        const bool band = ceiling != nullptr && ceiling->isBand;
        return {band && !ceiling->bandVertical ? 0 : 1, band && ceiling->bandVertical ? 0 : 1};
    }

    /** Draws a hosted item at (left + 1, top + 1), right - left by bottom - top pixels. */
    void drawHost(const CHost& host)
    {
        const IRect& r = host.pixelRect;
        drawItem(host, int64_t(r.left) + 1, int64_t(r.top) + 1, int64_t(r.right) - r.left,
                 int64_t(r.bottom) - r.top);
    }

    /** Draws the overlay of a panel type dragged over the plane, when one is requested: the
     *  grid lines of the highlighted cells in the highlight colour, and the type's plan picture
     *  over every column run x row run, inset like a panel. */
    void drawHighlight(const PlanHighlight* highlight)
    {
        if (highlight == nullptr || !highlight->active)
            return;
        const PlanHighlight& h = *highlight;
        // A drag towards lower indices gives fits whose last index lies before the first.
        drawGridLines({std::min(h.cols.first, h.cols.last), std::min(h.rows.first, h.rows.last),
                       std::max(h.cols.first, h.cols.last), std::max(h.rows.first, h.rows.last)},
                      kPlanHighlightLine);
        if (h.type == nullptr || h.cols.runs.empty() || h.rows.runs.empty())
            return;
        const Picture& picture = h.type->planPicture();
        if (picture.isNull())
            return;
        const int degrees = normalisedDegrees(h.type->rotateDegree);
        int64_t width = nearestPixel(plane_.zoomX * h.type->width);
        int64_t height = nearestPixel(plane_.zoomY * h.type->height);
        if (degrees % 180 != 0)
            std::swap(width, height);
        const std::vector<int32_t> xs =
            runStartsInClip(h.cols.runs, originX_ + clip_.left(), originX_ + clip_.right(), width);
        const std::vector<int32_t> ys =
            runStartsInClip(h.rows.runs, originY_ + clip_.top(), originY_ + clip_.bottom(), height);
        const auto [insetX, insetY] = panelInsets();
        for (int32_t y : ys)
            for (int32_t x : xs)
                drawImage(picture.image(), degrees, int64_t(x) + insetX, int64_t(y) + insetY,
                          width - insetX, height - insetY);
    }

    void finish() { painter_.end(); }

private:
    template <typename DrawLine>
    void drawLines(const GridAxis& axis, bool vertical, int64_t first, int64_t last,
                   DrawLine drawLine)
    {
        if (last - first + 1 <= kMaxLinesOneByOne) {
            for (int64_t n = first; n <= last; ++n)
                drawLine(axis.linePixel(n));
            return;
        }
        // Far more lines than pixels: mark every pixel of the clip on which some line lies.
        const int64_t clipLow = vertical ? originX_ + clip_.left() : originY_ + clip_.top();
        const int64_t clipHigh = vertical ? originX_ + clip_.right() : originY_ + clip_.bottom();
        const int64_t from = std::max<int64_t>(axis.linePixel(first), clipLow);
        const int64_t to = std::min<int64_t>(axis.linePixel(last), clipHigh);
        for (int64_t p = from; p <= to; ++p)
            if (axis.lineAtPixel(int32_t(p)))
                drawLine(int32_t(p));
    }

    /** Fills the absolute pixels (x0, y0) ... (x1, y1) inclusive, within the clip. */
    void fillAbsolute(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const QColor& colour)
    {
        const int64_t left = std::max<int64_t>(x0 - originX_, clip_.left());
        const int64_t right = std::min<int64_t>(x1 - originX_, clip_.right());
        const int64_t top = std::max<int64_t>(y0 - originY_, clip_.top());
        const int64_t bottom = std::min<int64_t>(y1 - originY_, clip_.bottom());
        if (left > right || top > bottom)
            return;
        painter_.fillRect(QRect(int(left), int(top), int(right - left + 1), int(bottom - top + 1)),
                          colour);
    }

    void drawItem(const CCandy& item, int64_t left, int64_t top, int64_t width, int64_t height)
    {
        if (const QImage* image = itemImage(item))
            drawImage(*image, normalisedDegrees(item.rotateDegree), left, top, width, height);
    }

    /** Draws image turned clockwise by degrees into the absolute rectangle at (left, top). */
    void drawImage(const QImage& image, int degrees, int64_t left, int64_t top, int64_t width,
                   int64_t height)
    {
        if (width <= 0 || height <= 0 || width > kMaxItemSide || height > kMaxItemSide)
            return;
        const int64_t x = left - originX_, y = top - originY_;
        if (x > clip_.right() || y > clip_.bottom() || x + width <= clip_.left() ||
            y + height <= clip_.top())
            return;
        if (width <= kMaxPreparedSide && height <= kMaxPreparedSide) {
            painter_.drawImage(QPoint(int(x), int(y)),
                               prepared(image, degrees, int(width), int(height)));
            return;
        }
        painter_.save();
        painter_.translate(double(x) + width / 2.0, double(y) + height / 2.0);
        painter_.rotate(degrees);
        const bool across = degrees % 180 != 0;
        const double w = double(across ? height : width), h = double(across ? width : height);
        painter_.drawImage(QRectF(-w / 2, -h / 2, w, h), image);
        painter_.restore();
    }

    /** The image turned and scaled to width x height, made once per paint. */
    const QImage& prepared(const QImage& image, int degrees, int width, int height)
    {
        const auto key = std::make_tuple(image.cacheKey(), degrees, width, height);
        auto found = prepared_.find(key);
        if (found != prepared_.end())
            return found->second;
        return prepared_.emplace(key, turnAndScale(image, degrees, width, height)).first->second;
    }

    static QImage turnAndScale(const QImage& image, int degrees, int width, int height)
    {
        QImage result;
        if (degrees % 90 == 0) {
            const QImage turned =
                degrees == 0 ? image : image.transformed(QTransform().rotate(degrees));
            result = turned.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        } else {
            result = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
            result.fill(Qt::transparent);
            QPainter p(&result);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.translate(width / 2.0, height / 2.0);
            p.rotate(degrees);
            const bool across = degrees % 180 != 0;
            const double w = across ? height : width, h = across ? width : height;
            p.drawImage(QRectF(-w / 2, -h / 2, w, h), image);
        }
        return opaqueAsRgb(std::move(result));
    }

    /** An image without transparent pixels is kept as RGB32, which the painter copies instead
     *  of blending. */
    static QImage opaqueAsRgb(QImage image)
    {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] >> 24) != 0xff)
                    return image;
        }
        return image.convertToFormat(QImage::Format_RGB32);
    }

    /** The distinct pixel starts of the runs whose extent meets [low, high]; drawing the same
     *  picture twice at one place changes nothing, so many runs within a pixel cost one draw. */
    static std::vector<int32_t> runStartsInClip(const std::vector<FitRun>& runs, int64_t low,
                                                int64_t high, int64_t extent)
    {
        std::vector<int32_t> starts;
        for (const FitRun& run : runs) {
            if (run.pixelStart > high || int64_t(run.pixelStart) + extent <= low)
                continue;
            starts.push_back(run.pixelStart);
        }
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        return starts;
    }

    CGridMapping& plane_;
    QImage view_;
    QRect clip_;
    int64_t originX_;
    int64_t originY_;
    QPainter painter_;
    std::map<std::tuple<qint64, int, int, int>, QImage> prepared_;
};

/** Writes alpha into the pixels of area (picture coordinates). */
void writeAlpha(QImage& picture, const QRect& area, uint8_t alpha)
{
    const uint32_t a = uint32_t(alpha) << 24;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<uint32_t*>(picture.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            line[x] = (line[x] & 0x00ffffffu) | a;
    }
}

/** A pixel of the picture outside area, or (-1, -1) when area covers the whole picture. */
QPoint pixelOutside(const QImage& picture, const QRect& area)
{
    const QPoint corners[] = {{0, 0}, {picture.width() - 1, picture.height() - 1}};
    for (const QPoint& p : corners)
        if (!area.contains(p))
            return p;
    return {-1, -1}; // area lies within the picture: holding both corners, it is all of it
}

/** After a repaint of area: the picture carries one alpha everywhere, so the alpha of the
 *  repainted pixels alone is rewritten when the rest already has pictureAlpha, and that of
 *  every pixel otherwise (pictureAlpha was changed behind the picture's back). */
void rewriteAlphaAfterRepaint(CGridMapping& plane, const QRect& area)
{
    const QPoint outside = pixelOutside(plane.picture, area);
    const bool restHasAlpha =
        outside.x() < 0 || uint8_t(qAlpha(plane.picture.pixel(outside))) == plane.pictureAlpha;
    writeAlpha(plane.picture, restHasAlpha ? area : plane.picture.rect(), plane.pictureAlpha);
}

bool rectsMeet(const IRect& a, const IRect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

void notifyPictureChanged(CGridMapping& plane)
{
    if (plane.ceiling != nullptr && plane.ceiling->sceneHooks != nullptr)
        plane.ceiling->sceneHooks->pictureChanged(plane);
}

} // namespace

double planPictureZoom(double width, double height)
{
    const double longer = std::max(width, height);
    if (!std::isfinite(width) || !std::isfinite(height) || width < 0 || height < 0)
        return 0;
    if (longer * kPlanPictureZoom > kPlanPictureSpan)
        return kPlanPictureSpan / longer;
    return kPlanPictureZoom;
}

void createPlanPicture(CGridMapping& plane)
{
    plane.picture = QImage();
    if (plane.colCount <= 0 || plane.rowCount <= 0)
        return;
    const RRect& bounds = plane.alignedBoundRRect;
    const double zoom = planPictureZoom(bounds.right - bounds.left, bounds.bottom - bounds.top);
    if (zoom <= 0)
        return;
    setZoom(plane, zoom);
    const IRect& r = plane.pixelRect;
    const int64_t width = int64_t(r.right) - r.left + 1;
    const int64_t height = int64_t(r.bottom) - r.top + 1;
    if (width < 1 || height < 1 || width > kMaxPlanPictureSide || height > kMaxPlanPictureSide)
        return;
    QImage picture(int(width), int(height), QImage::Format_ARGB32);
    if (picture.isNull())
        throw std::bad_alloc();
    picture.fill(Qt::transparent);
    plane.picture = std::move(picture);
}

void paintPlanPicture(CGridMapping& plane, const PlanHighlight* highlight)
{
    if (plane.picture.isNull())
        return;
    PlanPainter painter(plane, plane.picture.rect());
    painter.fillBackground();
    painter.drawGridLines(plane.cellRect, kPlanGridLine);
    for (const auto& tile : plane.tiles)
        if (tile)
            painter.drawTile(*tile);
    painter.drawHighlight(highlight);
    for (const auto& host : plane.hosts)
        if (host)
            painter.drawHost(*host);
    painter.finish();
    writeAlpha(plane.picture, plane.picture.rect(), plane.pictureAlpha);
}

void repaintPlanRect(CGridMapping& plane, const IRect& pixelRect, const PlanHighlight* highlight)
{
    if (plane.picture.isNull() || isEmptyRect(pixelRect))
        return;
    // The rectangle within the picture, in picture and in absolute pixels.
    const int64_t ox = plane.pixelRect.left, oy = plane.pixelRect.top;
    const int64_t left = std::max<int64_t>(int64_t(pixelRect.left) - ox, 0);
    const int64_t top = std::max<int64_t>(int64_t(pixelRect.top) - oy, 0);
    const int64_t right =
        std::min<int64_t>(int64_t(pixelRect.right) - ox, plane.picture.width() - 1);
    const int64_t bottom =
        std::min<int64_t>(int64_t(pixelRect.bottom) - oy, plane.picture.height() - 1);
    if (left > right || top > bottom)
        return;
    const QRect clip(int(left), int(top), int(right - left + 1), int(bottom - top + 1));
    const IRect area{int32_t(left + ox), int32_t(top + oy), int32_t(right + ox),
                     int32_t(bottom + oy)};

    // The cells under the rectangle, one more on every side: a panel's rounded pixel extent may
    // reach a pixel into the next cell.
    const GridAxis cols = columnsOf(plane), rows = rowsOf(plane);
    const auto cellOf = [](const GridAxis& axis, int32_t pixel) {
        return cellAtPixel(pixel, axis.defaultSize, axis.specials, axis.zoom).index;
    };
    const IRect cells{clampToInt32(int64_t(cellOf(cols, area.left)) - 1),
                      clampToInt32(int64_t(cellOf(rows, area.top)) - 1),
                      clampToInt32(int64_t(cellOf(cols, area.right)) + 1),
                      clampToInt32(int64_t(cellOf(rows, area.bottom)) + 1)};

    PlanPainter painter(plane, clip);
    painter.fillBackground();
    painter.drawGridLines(cells, kPlanGridLine);
    for (const CTile* tile : tilesMeeting(plane, cells))
        if (tile != nullptr)
            painter.drawTile(*tile);
    painter.drawHighlight(highlight);
    for (const auto& host : plane.hosts)
        if (host && rectsMeet(host->pixelRect, area))
            painter.drawHost(*host);
    painter.finish();
    rewriteAlphaAfterRepaint(plane, clip);
    notifyPictureChanged(plane);
}

void setPictureAlpha(CGridMapping& plane, uint8_t alpha)
{
    plane.pictureAlpha = alpha;
    if (plane.picture.isNull())
        return;
    writeAlpha(plane.picture, plane.picture.rect(), alpha);
    notifyPictureChanged(plane);
}

} // namespace vs
