// Paints the module's own pictures into the resources folder: those of the seven built-in
// facility models (img/: a light bulb, wall tiles, a decorative band and floor tiles), the
// design dialog's background pattern (img/113.bmp) and the cursor over a change-top corner
// (cursors/115.png). Run by hand when the pictures change; the build embeds the checked-in
// files and never runs this tool.
//
//   make_builtin_pictures <resources folder> [<preview folder for PNG copies>]
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

QImage canvas(int width, int height, const QColor& fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

/** Adds a fine random mottle of +-amount to every channel, seeded so reruns give equal files. */
void mottle(QImage& image, int amount, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-amount, amount);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = noise(random);
            row[x] =
                qRgb(std::clamp(qRed(row[x]) + n, 0, 255), std::clamp(qGreen(row[x]) + n, 0, 255),
                     std::clamp(qBlue(row[x]) + n, 0, 255));
        }
    }
}

/** Draws a few thin, wandering veins as in polished marble. */
void veins(QPainter& painter, const QRectF& area, const QColor& colour, int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    painter.save();
    painter.setClipRect(area);
    for (int i = 0; i < count; ++i) {
        QPainterPath path;
        QPointF p(area.left() + unit(random) * area.width(), area.top());
        path.moveTo(p);
        double heading = kPi / 2 + (unit(random) - 0.5);
        while (area.contains(p) || p.y() < area.top() + 1) {
            heading += (unit(random) - 0.5) * 0.9;
            p += QPointF(std::cos(heading), std::sin(heading)) * area.width() * 0.06;
            path.lineTo(p);
            if (path.elementCount() > 200)
                break;
        }
        QColor c = colour;
        c.setAlpha(60 + int(unit(random) * 80));
        painter.setPen(QPen(c, 0.6 + unit(random)));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
    painter.restore();
}

/** Draws the grout joint around a tile: a grout band on the edges with a bevel just inside. */
void groutEdges(QPainter& painter, const QRectF& tile, const QColor& grout, double width)
{
    painter.save();
    QPen pen(grout, width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(tile.adjusted(width / 2, width / 2, -width / 2, -width / 2));
    const QRectF inner = tile.adjusted(width, width, -width, -width);
    painter.setPen(QPen(QColor(255, 255, 255, 90), 1));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(QPen(QColor(0, 0, 0, 60), 1));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
    painter.restore();
}

QPainterPath star(const QPointF& centre, int points, double outer, double inner, double turn)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2) ? inner : outer;
        const double a = turn + i * kPi / points;
        const QPointF p = centre + QPointF(std::cos(a), std::sin(a)) * r;
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

/** Four petals around a centre, as in a rosette. */
QPainterPath petals(const QPointF& centre, int count, double length, double width, double turn)
{
    QPainterPath path;
    for (int i = 0; i < count; ++i) {
        QPainterPath petal;
        petal.moveTo(0, 0);
        petal.cubicTo(width, -length * 0.35, width, -length * 0.8, 0, -length);
        petal.cubicTo(-width, -length * 0.8, -width, -length * 0.35, 0, 0);
        QTransform t;
        t.translate(centre.x(), centre.y());
        t.rotateRadians(turn + i * 2 * kPi / count);
        path.addPath(t.map(petal));
    }
    return path;
}

// --- 136: light bulb icon -----------------------------------------------------------------

QImage lightBulb()
{
    QImage image = canvas(64, 64, Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Rays.
    p.setPen(QPen(QColor(255, 190, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 9; ++i) {
        const double a = kPi + i * kPi / 8;
        const QPointF c(32, 25);
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * 22,
                   c + QPointF(std::cos(a), std::sin(a)) * 29);
    }
    // Glass: a sphere narrowing into the neck.
    QPainterPath glass;
    glass.moveTo(25, 44);
    glass.cubicTo(25, 37, 14, 33, 14, 24);
    glass.cubicTo(14, 14, 22, 7, 32, 7);
    glass.cubicTo(42, 7, 50, 14, 50, 24);
    glass.cubicTo(50, 33, 39, 37, 39, 44);
    glass.closeSubpath();
    QRadialGradient light(QPointF(28, 19), 24);
    light.setColorAt(0.0, QColor(255, 255, 235));
    light.setColorAt(0.45, QColor(255, 236, 120));
    light.setColorAt(1.0, QColor(240, 170, 30));
    p.setBrush(light);
    p.setPen(QPen(QColor(170, 110, 10), 1.5));
    p.drawPath(glass);
    // Filament.
    p.setPen(QPen(QColor(200, 90, 0), 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath filament;
    filament.moveTo(28, 43);
    filament.lineTo(28, 30);
    filament.cubicTo(29, 26, 30, 30, 31, 26);
    filament.cubicTo(32, 30, 33, 26, 34, 30);
    filament.cubicTo(35, 26, 36, 30, 36, 30);
    filament.lineTo(36, 43);
    p.drawPath(filament);
    // Highlight.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QRectF(20, 13, 6, 9));
    // Screw base with threads and contact.
    QLinearGradient metal(24, 0, 40, 0);
    metal.setColorAt(0.0, QColor(110, 110, 115));
    metal.setColorAt(0.4, QColor(225, 225, 230));
    metal.setColorAt(1.0, QColor(90, 90, 95));
    p.setBrush(metal);
    p.setPen(QPen(QColor(70, 70, 75), 1));
    p.drawRoundedRect(QRectF(24.5, 44, 15, 11), 2, 2);
    p.setPen(QPen(QColor(80, 80, 85), 1.2));
    for (double y = 47; y < 55; y += 2.6)
        p.drawLine(QPointF(25, y), QPointF(39, y + 1.2));
    p.setBrush(QColor(60, 60, 62));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(28, 55, 8, 4), 2, 2);
    return image;
}

// --- 137: European wall tile (600 x 600) ----------------------------------------------------

QImage europeanTile()
{
    const int s = 128;
    QImage image = canvas(s, s, QColor(238, 228, 205));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient glaze(QPointF(s * 0.4, s * 0.35), s * 0.8);
        glaze.setColorAt(0, QColor(246, 239, 220));
        glaze.setColorAt(1, QColor(226, 212, 182));
        p.fillRect(image.rect(), glaze);
        veins(p, QRectF(0, 0, s, s), QColor(160, 140, 110), 5, 137);
        // Inset frame with corner squares, as in a classic panel tile.
        const QRectF frame(14, 14, s - 28, s - 28);
        p.setPen(QPen(QColor(150, 115, 60), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        p.setPen(QPen(QColor(150, 115, 60, 140), 1));
        p.drawRect(frame.adjusted(4, 4, -4, -4));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 115, 60));
        for (const QPointF& c :
             {frame.topLeft(), frame.topRight(), frame.bottomLeft(), frame.bottomRight()})
            p.drawRect(QRectF(c - QPointF(4, 4), QSizeF(8, 8)));
        // Centre medallion: a rosette of eight petals in a ring.
        const QPointF centre(s / 2.0, s / 2.0);
        p.setPen(QPen(QColor(120, 85, 40), 1.5));
        p.setBrush(QColor(214, 190, 140));
        p.drawEllipse(centre, 30, 30);
        p.setBrush(QColor(176, 128, 62));
        p.setPen(QPen(QColor(110, 75, 35), 0.8));
        p.drawPath(petals(centre, 8, 26, 7, 0));
        p.setBrush(QColor(236, 220, 180));
        p.drawPath(petals(centre, 8, 15, 4, kPi / 8));
        p.setBrush(QColor(130, 60, 40));
        p.drawEllipse(centre, 4, 4);
        groutEdges(p, QRectF(0, 0, s, s), QColor(200, 196, 188), 3);
    }
    mottle(image, 3, 1370);
    return image;
}

// --- 138: decorative band (600 x 200) -------------------------------------------------------

QImage decorativeBand()
{
    const int w = 192, h = 64;
    QImage image = canvas(w, h, QColor(24, 52, 104));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient depth(0, 0, 0, h);
        depth.setColorAt(0, QColor(30, 62, 120));
        depth.setColorAt(0.5, QColor(22, 48, 98));
        depth.setColorAt(1, QColor(30, 62, 120));
        p.fillRect(image.rect(), depth);
        // Gold borders top and bottom.
        const QColor gold(212, 170, 70), darkGold(150, 110, 35);
        p.fillRect(QRectF(0, 3, w, 6), gold);
        p.fillRect(QRectF(0, h - 9, w, 6), gold);
        p.fillRect(QRectF(0, 9, w, 1.5), darkGold);
        p.fillRect(QRectF(0, h - 10.5, w, 1.5), darkGold);
        // A running scroll (wave) between the borders, with a rosette in each bay.
        const double mid = h / 2.0, bay = w / 4.0;
        QPainterPath wave;
        wave.moveTo(0, mid);
        for (int i = 0; i < 4; ++i) {
            const double x = i * bay;
            wave.cubicTo(x + bay * 0.25, mid - 16, x + bay * 0.25, mid + 16, x + bay * 0.5, mid);
            wave.cubicTo(x + bay * 0.75, mid - 16, x + bay * 0.75, mid + 16, x + bay, mid);
        }
        p.setPen(QPen(gold, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
        for (int i = 0; i < 4; ++i) {
            const QPointF c(i * bay + bay * 0.5, mid);
            p.setPen(QPen(darkGold, 0.8));
            p.setBrush(QColor(190, 60, 50));
            p.drawPath(petals(c, 6, 11, 4, 0));
            p.setBrush(gold);
            p.drawEllipse(c, 3, 3);
            // Small leaves where the scroll turns.
            p.setBrush(QColor(90, 150, 90));
            p.drawPath(petals(QPointF(i * bay + bay * 0.25, mid - 11), 2, 6, 2.5, kPi / 2));
            p.drawPath(petals(QPointF(i * bay + bay * 0.75, mid + 11), 2, 6, 2.5, kPi / 2));
        }
        // Bead row inside each border.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(235, 215, 160));
        for (double x = 4; x < w; x += 8) {
            p.drawEllipse(QPointF(x, 13.5), 1.6, 1.6);
            p.drawEllipse(QPointF(x, h - 13.5), 1.6, 1.6);
        }
    }
    mottle(image, 2, 1380);
    return image;
}

// --- 139: ornate wall tile (300 x 300) ------------------------------------------------------

QImage ornateTile()
{
    const int s = 128;
    QImage image = canvas(s, s, QColor(245, 242, 232));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor navy(28, 60, 120), teal(30, 130, 140), ochre(220, 160, 50), red(180, 50, 45);
        const QPointF centre(s / 2.0, s / 2.0);
        // Central eight-pointed star with an inner star and a flower.
        p.setPen(QPen(navy, 1.2));
        p.setBrush(teal);
        p.drawPath(star(centre, 8, 44, 30, -kPi / 2));
        p.setBrush(QColor(245, 242, 232));
        p.drawPath(star(centre, 8, 28, 19, -kPi / 2 + kPi / 8));
        p.setBrush(ochre);
        p.drawPath(petals(centre, 8, 17, 5, 0));
        p.setBrush(red);
        p.drawEllipse(centre, 4.5, 4.5);
        // Quarter stars in the corners join neighbouring tiles into a continuous pattern.
        for (const QPointF& c : {QPointF(0, 0), QPointF(s, 0), QPointF(0, s), QPointF(s, s)}) {
            p.setBrush(navy);
            p.setPen(QPen(navy.darker(130), 1));
            p.drawPath(star(c, 8, 26, 17, 0));
            p.setBrush(ochre);
            p.drawPath(petals(c, 8, 12, 3.5, kPi / 8));
        }
        // Edge medallions halfway along each side.
        for (const QPointF& c :
             {QPointF(s / 2.0, 0), QPointF(s / 2.0, s), QPointF(0, s / 2.0), QPointF(s, s / 2.0)}) {
            p.setBrush(red);
            p.setPen(QPen(navy, 0.8));
            p.drawEllipse(c, 9, 9);
            p.setBrush(QColor(245, 242, 232));
            p.drawEllipse(c, 4, 4);
        }
        // Interlacing lines from the star to the corners.
        p.setPen(QPen(navy, 1.5));
        for (int i = 0; i < 4; ++i) {
            const double a = kPi / 4 + i * kPi / 2;
            p.drawLine(centre + QPointF(std::cos(a), std::sin(a)) * 44,
                       centre + QPointF(std::cos(a), std::sin(a)) * (s * 0.707 - 26));
        }
        groutEdges(p, QRectF(0, 0, s, s), QColor(205, 200, 190), 2.5);
    }
    mottle(image, 3, 1390);
    return image;
}

// --- 140: floor tile (300 x 300) ------------------------------------------------------------

QImage floorTile()
{
    const int s = 128;
    QImage image = canvas(s, s, QColor(178, 150, 118));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient stone(0, 0, s, s);
        stone.setColorAt(0, QColor(190, 162, 128));
        stone.setColorAt(0.5, QColor(172, 142, 108));
        stone.setColorAt(1, QColor(184, 154, 120));
        p.fillRect(image.rect(), stone);
        // Darker and lighter patches of a natural stone.
        std::mt19937 random(140);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 40; ++i) {
            const QPointF c(unit(random) * s, unit(random) * s);
            const double r = 4 + unit(random) * 14;
            QRadialGradient patch(c, r);
            const int shade = unit(random) < 0.5 ? 0 : 255;
            patch.setColorAt(0, QColor(shade, shade, shade, 26));
            patch.setColorAt(1, QColor(shade, shade, shade, 0));
            p.setBrush(patch);
            p.drawEllipse(c, r, r);
        }
        veins(p, QRectF(0, 0, s, s), QColor(110, 85, 60), 3, 1400);
        groutEdges(p, QRectF(0, 0, s, s), QColor(120, 112, 104), 3);
    }
    mottle(image, 7, 1401);
    return image;
}

// --- 2011: wall tile (300 x 300) ------------------------------------------------------------

QImage wallTile()
{
    const int s = 128;
    QImage image = canvas(s, s, QColor(196, 220, 232));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient glaze(0, 0, s, s);
        glaze.setColorAt(0, QColor(214, 234, 244));
        glaze.setColorAt(1, QColor(176, 204, 222));
        p.fillRect(image.rect(), glaze);
        // A sprig of flowers in one corner and a fine diagonal reflection of the glaze.
        p.setPen(QPen(QColor(70, 120, 80), 1.5));
        p.setBrush(Qt::NoBrush);
        QPainterPath stem;
        stem.moveTo(100, 112);
        stem.cubicTo(96, 96, 84, 90, 78, 80);
        stem.moveTo(96, 100);
        stem.cubicTo(104, 92, 108, 86, 110, 78);
        p.drawPath(stem);
        p.setPen(QPen(QColor(60, 90, 150), 0.8));
        for (const QPointF& c : {QPointF(78, 78), QPointF(110, 76), QPointF(92, 88)}) {
            p.setBrush(QColor(80, 120, 200));
            p.drawPath(petals(c, 5, 8, 3.5, 0));
            p.setBrush(QColor(250, 220, 90));
            p.drawEllipse(c, 2, 2);
        }
        p.setPen(QPen(QColor(255, 255, 255, 70), 6));
        p.drawLine(QPointF(10, 50), QPointF(50, 10));
        groutEdges(p, QRectF(0, 0, s, s), QColor(232, 232, 228), 3);
    }
    mottle(image, 2, 2011);
    return image;
}

// --- 2012: floor tile (440 x 296) -----------------------------------------------------------

QImage rectangularFloorTile()
{
    const int w = 220, h = 148;
    QImage image = canvas(w, h, QColor(170, 92, 58));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QRadialGradient fired(QPointF(w * 0.45, h * 0.5), w * 0.7);
        fired.setColorAt(0, QColor(190, 108, 68));
        fired.setColorAt(1, QColor(150, 78, 48));
        p.fillRect(image.rect(), fired);
        std::mt19937 random(2012);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 60; ++i) {
            const QPointF c(unit(random) * w, unit(random) * h);
            const double r = 3 + unit(random) * 16;
            QRadialGradient patch(c, r);
            patch.setColorAt(0, QColor(90, 40, 20, 40));
            patch.setColorAt(1, QColor(90, 40, 20, 0));
            p.setBrush(patch);
            p.drawEllipse(c, r, r);
        }
        groutEdges(p, QRectF(0, 0, w, h), QColor(150, 140, 128), 3.5);
    }
    mottle(image, 6, 2013);
    return image;
}

// --- 113: the design dialog's background pattern (48 x 48, tiled) ---------------------------

QImage dialogPattern()
{
    const int s = 48;
    QImage image = canvas(s, s, QColor(226, 232, 240));
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        // A faint basket weave: pale strands over and under, light enough for black text.
        for (int cell = 0; cell < 4; ++cell) {
            const QRectF r((cell % 2) * 24.0, (cell / 2) * 24.0, 24.0, 24.0);
            const bool across = (cell % 2) == (cell / 2);
            for (int strand = 0; strand < 3; ++strand) {
                QRectF band = across ? QRectF(r.left(), r.top() + 1 + strand * 8, r.width(), 6)
                                     : QRectF(r.left() + 1 + strand * 8, r.top(), 6, r.height());
                QLinearGradient shade(band.topLeft(), across ? band.bottomLeft() : band.topRight());
                shade.setColorAt(0, QColor(238, 242, 248));
                shade.setColorAt(1, QColor(214, 222, 232));
                p.fillRect(band, shade);
            }
        }
    }
    mottle(image, 2, 113);
    return image;
}

// --- 115: the cursor over a change-top corner (32 x 32, hot spot in the middle) -------------

QImage cornerCursor()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(16, 16);
    // Four arrow heads around a ring: the corner moves any way the mouse goes.
    QPainterPath arrows;
    for (int i = 0; i < 4; ++i) {
        QTransform turn;
        turn.translate(c.x(), c.y());
        turn.rotate(90.0 * i);
        QPainterPath head;
        head.moveTo(0, -15);
        head.lineTo(5, -9);
        head.lineTo(1.5, -9);
        head.lineTo(1.5, -5);
        head.lineTo(-1.5, -5);
        head.lineTo(-1.5, -9);
        head.lineTo(-5, -9);
        head.closeSubpath();
        arrows.addPath(turn.map(head));
    }
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(Qt::black);
    p.drawPath(arrows);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3));
    p.drawEllipse(c, 4, 4);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawEllipse(c, 4, 4);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder> [<preview folder>]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("img"));
    out.mkpath(QStringLiteral("cursors"));
    const QString preview = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    struct Item
    {
        const char* file;
        const char* format;
        std::function<QImage()> paint;
    };
    const Item items[] = {
        {"img/113.bmp", "BMP", dialogPattern},    {"img/136.bmp", "BMP", lightBulb},
        {"img/137.bmp", "BMP", europeanTile},     {"img/138.bmp", "BMP", decorativeBand},
        {"img/139.bmp", "BMP", ornateTile},       {"img/140.bmp", "BMP", floorTile},
        {"img/2011.jpg", "JPEG", wallTile},       {"img/2012.jpg", "JPEG", rectangularFloorTile},
        {"cursors/115.png", "PNG", cornerCursor},
    };
    int failures = 0;
    for (const Item& item : items) {
        const QImage image = item.paint();
        const QString path = out.filePath(QString::fromLatin1(item.file));
        if (!image.save(path, item.format, 92)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
        if (!preview.isEmpty())
            image.save(QDir(preview).filePath(QFileInfo(QString::fromLatin1(item.file)).fileName() +
                                              ".png"),
                       "PNG");
    }
    return failures == 0 ? 0 : 1;
}
