// Makes the pictures, meshes and static sample of the sample catalogue pack (data/pack/). Run
// by hand when the drawings change; the files it writes are checked in and the build never
// runs it. Every file is drawn or computed here, and equal runs give equal bytes.
//
//   make_sample_data <pack folder>        (normally data/pack)
//
// Meshes are composed of boxes and cylinders with flat or smooth normals and per-face texture
// coordinates. Geometry is built y up in millimetres with outward-facing triangles (the cross
// product of the first two edges points out of the solid); the DirectX writer keeps that, the
// 3DS writer turns it into the z-up layout 3DS files use.
#include "BinaryXWriter.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

QString g_root;

bool savePicture(const QImage& image, const QString& relative, int quality = 90)
{
    const QString path = g_root + "/" + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool ok = image.save(path, nullptr, quality);
    if (!ok)
        std::fprintf(stderr, "make_sample_data: cannot write %s\n", qPrintable(path));
    return ok;
}

bool saveBytes(const std::string& bytes, const QString& relative)
{
    const QString path = g_root + "/" + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::ofstream out(path.toStdString(), std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out)
        std::fprintf(stderr, "make_sample_data: cannot write %s\n", qPrintable(path));
    return bool(out);
}

QImage canvas(int width, int height, const QColor& fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

/** Adds a seeded random mottle of +-amount to every channel. */
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

// ---- Panel pictures -----------------------------------------------------------------------

/** A square clip-in panel seen from below: a bevelled edge around a flat or patterned face. */
QImage clipInPanel(int size, const QColor& face, int pattern, unsigned seed)
{
    QImage image = canvas(size, size, face);
    if (pattern == 2)
        mottle(image, 10, seed);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int bevel = std::max(2, size / 16);
    p.setPen(Qt::NoPen);
    p.setBrush(face.lighter(125));
    p.drawPolygon(QPolygonF(
        {QPointF(0, 0), QPointF(size, 0), QPointF(size - bevel, bevel), QPointF(bevel, bevel)}));
    p.drawPolygon(QPolygonF(
        {QPointF(0, 0), QPointF(bevel, bevel), QPointF(bevel, size - bevel), QPointF(0, size)}));
    p.setBrush(face.darker(130));
    p.drawPolygon(QPolygonF({QPointF(size, size), QPointF(0, size), QPointF(bevel, size - bevel),
                             QPointF(size - bevel, size - bevel)}));
    p.drawPolygon(QPolygonF({QPointF(size, size), QPointF(size - bevel, size - bevel),
                             QPointF(size - bevel, bevel), QPointF(size, 0)}));
    if (pattern == 1) { // perforated
        p.setBrush(face.darker(170));
        const double step = size / 12.0;
        for (int i = 2; i < 11; ++i)
            for (int j = 2; j < 11; ++j)
                p.drawEllipse(QPointF(i * step, j * step), step * 0.18, step * 0.18);
    } else if (pattern == 2) { // wood grain lines
        p.setPen(QPen(face.darker(125), 1));
        for (int i = 0; i < 9; ++i) {
            QPainterPath path;
            const double y = bevel + (size - 2 * bevel) * (i + 0.5) / 9;
            path.moveTo(bevel, y);
            path.cubicTo(size * 0.35, y - 3, size * 0.65, y + 3, size - bevel, y);
            p.drawPath(path);
        }
    } else if (pattern == 3) { // mirror: a diagonal sheen
        QLinearGradient sheen(0, 0, size, size);
        sheen.setColorAt(0, face.lighter(140));
        sheen.setColorAt(0.5, face.darker(115));
        sheen.setColorAt(1, face.lighter(130));
        p.setPen(Qt::NoPen);
        p.setBrush(sheen);
        p.drawRect(QRect(bevel, bevel, size - 2 * bevel, size - 2 * bevel));
    } else if (pattern == 4) { // mineral fissures
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> at(bevel, size - bevel);
        p.setPen(QPen(face.darker(140), 1));
        for (int i = 0; i < 40; ++i) {
            const QPointF a(at(random), at(random));
            p.drawLine(a, a + QPointF(3, 1));
        }
    }
    return image;
}

/** A strip panel: a long slat with a groove along one edge. */
QImage stripPanel(int length, int width, const QColor& face, bool across)
{
    QImage image = across ? canvas(width, length, face) : canvas(length, width, face);
    QPainter p(&image);
    p.setPen(QPen(face.darker(150), 1));
    if (across) {
        p.drawLine(0, 0, 0, length);
        p.setPen(QPen(face.lighter(130), 1));
        p.drawLine(1, 0, 1, length);
        p.setPen(QPen(face.darker(118), 1)); // the far edge's shadow
        p.drawLine(width - 1, 0, width - 1, length);
    } else {
        p.drawLine(0, 0, length, 0);
        p.setPen(QPen(face.lighter(130), 1));
        p.drawLine(0, 1, length, 1);
        p.setPen(QPen(face.darker(118), 1)); // the far edge's shadow
        p.drawLine(0, width - 1, length, width - 1);
    }
    return image;
}

/** An appliance seen from below on a white panel: lamps, vents, heaters. */
QImage appliance(int width, int height, int look)
{
    QImage image = canvas(width, height, QColor(236, 236, 232));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    const QPointF centre(width / 2.0, height / 2.0);
    const double r = std::min(width, height) * 0.38;
    if (look == 0 || look == 4) { // round lamp / spot
        QRadialGradient glow(centre, r);
        glow.setColorAt(0, QColor(255, 252, 220));
        glow.setColorAt(0.8, QColor(250, 236, 170));
        glow.setColorAt(1, QColor(190, 180, 150));
        p.setBrush(glow);
        p.drawEllipse(centre, r, r);
    } else if (look == 1) { // square panel lamp
        QLinearGradient light(0, 0, width, height);
        light.setColorAt(0, QColor(255, 255, 245));
        light.setColorAt(1, QColor(235, 240, 250));
        p.setBrush(light);
        p.drawRect(QRectF(width * 0.1, height * 0.1, width * 0.8, height * 0.8));
    } else if (look == 2) { // vent: louvres
        p.setBrush(QColor(200, 200, 196));
        p.drawRect(QRectF(width * 0.12, height * 0.12, width * 0.76, height * 0.76));
        p.setPen(QPen(QColor(90, 90, 90), std::max(1.0, height / 40.0)));
        for (int i = 1; i < 8; ++i) {
            const double y = height * (0.12 + 0.76 * i / 8);
            p.drawLine(QPointF(width * 0.16, y), QPointF(width * 0.84, y));
        }
    } else if (look == 3) { // heater: glowing bars
        p.setBrush(QColor(60, 60, 64));
        p.drawRect(QRectF(width * 0.1, height * 0.1, width * 0.8, height * 0.8));
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 4; ++i) {
            QLinearGradient bar(0, 0, width, 0);
            bar.setColorAt(0, QColor(200, 60, 20));
            bar.setColorAt(0.5, QColor(255, 170, 60));
            bar.setColorAt(1, QColor(200, 60, 20));
            p.setBrush(bar);
            p.drawRoundedRect(
                QRectF(width * 0.16, height * (0.18 + 0.17 * i), width * 0.68, height * 0.09), 3,
                3);
        }
    }
    return image;
}

/** An art-ceiling piece: a rosette or waves in relief colours. */
QImage artPiece(int width, int height, int look)
{
    QImage image = canvas(width, height, QColor(240, 234, 220));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(width / 2.0, height / 2.0);
    if (look == 0) {
        p.setPen(QPen(QColor(180, 150, 90), 2));
        for (int i = 0; i < 12; ++i) {
            p.save();
            p.translate(centre);
            p.rotate(i * 30.0);
            p.setBrush(QColor(220, 196, 140));
            p.drawEllipse(QPointF(0, -width * 0.22), width * 0.07, width * 0.16);
            p.restore();
        }
        p.setBrush(QColor(200, 170, 100));
        p.drawEllipse(centre, width * 0.08, width * 0.08);
    } else {
        p.setPen(QPen(QColor(90, 120, 160), 3));
        for (int k = 0; k < 6; ++k) {
            QPainterPath wave;
            const double y0 = height * (k + 0.5) / 6;
            wave.moveTo(0, y0);
            for (int x = 0; x <= width; x += 4)
                wave.lineTo(x, y0 + std::sin(x * 2 * kPi / (width / 2.0)) * height * 0.04);
            p.drawPath(wave);
        }
    }
    return image;
}

/** A side texture of a raised panel box: a plain finish with a faint edge. */
QImage sideTexture(const QColor& face, unsigned seed)
{
    QImage image = canvas(32, 32, face);
    mottle(image, 4, seed);
    QPainter p(&image);
    p.setPen(QPen(face.darker(140), 1));
    p.drawLine(0, 31, 31, 31);
    return image;
}

/** The plan picture of a section bar: a narrow metal strip. */
QImage sectionBarPicture(const QColor& metal)
{
    QImage image = canvas(96, 8, metal);
    QPainter p(&image);
    QLinearGradient shine(0, 0, 0, 8);
    shine.setColorAt(0, metal.lighter(150));
    shine.setColorAt(1, metal.darker(140));
    p.fillRect(image.rect(), shine);
    return image;
}

// ---- Facility pictures --------------------------------------------------------------------

/** A catalogue list picture: a simple front view of a piece on a light background. */
QImage modelIcon(int look)
{
    QImage image = canvas(64, 64, QColor(248, 248, 248));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 60, 50), 1.5));
    const QColor wood(170, 120, 70), white(230, 232, 236), fabric(90, 120, 170);
    switch (look) {
    case 0: // table
        p.setBrush(wood);
        p.drawRect(8, 22, 48, 6);
        p.drawRect(11, 28, 4, 26);
        p.drawRect(49, 28, 4, 26);
        break;
    case 1: // chair
        p.setBrush(wood);
        p.drawRect(20, 8, 4, 46);
        p.drawRect(20, 32, 26, 5);
        p.drawRect(42, 37, 4, 17);
        break;
    case 2: // cabinet
        p.setBrush(wood.lighter(115));
        p.drawRect(10, 10, 44, 46);
        p.drawLine(32, 10, 32, 56);
        p.drawEllipse(QPointF(28, 33), 1.5, 1.5);
        p.drawEllipse(QPointF(36, 33), 1.5, 1.5);
        break;
    case 3: // fridge
        p.setBrush(white);
        p.drawRoundedRect(18, 4, 28, 56, 3, 3);
        p.drawLine(18, 22, 46, 22);
        p.drawLine(42, 10, 42, 18);
        p.drawLine(42, 27, 42, 40);
        break;
    case 4: // sofa
        p.setBrush(fabric);
        p.drawRoundedRect(6, 24, 52, 22, 4, 4);
        p.drawRoundedRect(4, 30, 10, 22, 3, 3);
        p.drawRoundedRect(50, 30, 10, 22, 3, 3);
        p.drawRect(12, 38, 40, 12);
        break;
    case 5: // pendant lamp
        p.drawLine(32, 2, 32, 24);
        p.setBrush(QColor(240, 220, 150));
        p.drawPolygon(
            QPolygonF({QPointF(22, 38), QPointF(42, 38), QPointF(36, 24), QPointF(28, 24)}));
        break;
    case 6: // floor lamp
        p.setBrush(QColor(240, 220, 150));
        p.drawPolygon(
            QPolygonF({QPointF(22, 22), QPointF(42, 22), QPointF(37, 6), QPointF(27, 6)}));
        p.drawLine(32, 22, 32, 56);
        p.setBrush(QColor(60, 60, 60));
        p.drawEllipse(QPointF(32, 57), 10, 3);
        break;
    case 7: // stool
        p.setBrush(wood);
        p.drawEllipse(QPointF(32, 24), 14, 4);
        p.drawLine(22, 26, 18, 58);
        p.drawLine(42, 26, 46, 58);
        p.drawLine(32, 28, 32, 58);
        break;
    }
    return image;
}

QImage doorPicture()
{
    QImage image = canvas(90, 210, QColor(150, 100, 60));
    mottle(image, 6, 21);
    QPainter p(&image);
    p.setPen(QPen(QColor(100, 66, 40), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(10, 12, 70, 80);
    p.drawRect(10, 108, 70, 90);
    p.setBrush(QColor(210, 190, 120));
    p.drawEllipse(QPointF(76, 106), 4, 4);
    return image;
}

QImage windowPicture()
{
    QImage image = canvas(120, 120, QColor(235, 235, 235));
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 120);
    sky.setColorAt(0, QColor(120, 170, 230));
    sky.setColorAt(1, QColor(200, 225, 250));
    p.fillRect(QRect(8, 8, 104, 104), sky);
    p.setPen(QPen(QColor(240, 240, 240), 6));
    p.drawLine(60, 8, 60, 112);
    p.drawLine(8, 60, 112, 60);
    p.setPen(QPen(QColor(120, 120, 120), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(4, 4, 112, 112);
    return image;
}

QImage floorTiles(int look)
{
    if (look == 0) { // oak planks
        QImage image = canvas(128, 128, QColor(176, 130, 84));
        mottle(image, 8, 31);
        QPainter p(&image);
        p.setPen(QPen(QColor(120, 84, 50), 1));
        for (int i = 0; i <= 4; ++i)
            p.drawLine(0, i * 32, 128, i * 32);
        for (int i = 0; i < 4; ++i)
            p.drawLine((i % 2) * 64 + 20, i * 32, (i % 2) * 64 + 20, i * 32 + 32);
        return image;
    }
    QImage image = canvas(128, 128, QColor(226, 224, 218)); // marble squares
    mottle(image, 10, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(170, 168, 160), 1));
    for (int i = 0; i < 5; ++i) {
        QPainterPath vein;
        vein.moveTo(0, 20 + i * 22);
        vein.cubicTo(40, 10 + i * 22, 80, 40 + i * 22, 128, 24 + i * 22);
        p.drawPath(vein);
    }
    p.setPen(QPen(QColor(130, 128, 120), 2));
    p.drawRect(0, 0, 127, 127);
    return image;
}

QImage wallTile(const QColor& colour, unsigned seed)
{
    QImage image = canvas(64, 64, colour);
    mottle(image, 5, seed);
    QPainter p(&image);
    p.setPen(QPen(colour.darker(140), 2));
    p.drawRect(0, 0, 63, 63);
    p.setPen(QPen(colour.lighter(115), 1));
    p.drawLine(3, 3, 60, 3);
    return image;
}

QImage decorativeBand()
{
    QImage image = canvas(192, 64, QColor(30, 70, 120));
    QPainter p(&image);
    p.setPen(QPen(QColor(230, 200, 110), 3));
    for (int x = 0; x < 192; x += 32) { // a meander
        QPolygon key({QPoint(x + 4, 52), QPoint(x + 4, 12), QPoint(x + 28, 12), QPoint(x + 28, 40),
                      QPoint(x + 14, 40), QPoint(x + 14, 24)});
        p.drawPolyline(key);
    }
    p.drawLine(0, 4, 192, 4);
    p.drawLine(0, 60, 192, 60);
    return image;
}

QImage woodTexture(unsigned seed)
{
    QImage image = canvas(128, 128, QColor(160, 110, 64));
    QPainter p(&image);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> shade(-18, 18);
    for (int y = 0; y < 128; y += 2) {
        const int s = shade(random);
        p.setPen(QColor(160 + s, 110 + s, 64 + s / 2));
        p.drawLine(0, y, 127, y + (y % 7) - 3);
    }
    return image;
}

QImage fabricTexture()
{
    QImage image = canvas(64, 64, QColor(96, 126, 170));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + y) % 4 == 0 || (x - y + 64) % 4 == 0)
                image.setPixel(x, y, qRgb(80, 108, 150));
    return image;
}

// ---- Static sample ------------------------------------------------------------------------

struct SampleGeometry
{
    QPolygonF ceiling; // the ceiling area in photo pixels
    QPolygonF fitting; // the photo's own light fitting inside it
};

/** Draws a room photograph in one-point perspective: floor, three walls, a window, a ceiling. */
QImage roomPhoto(SampleGeometry& geometry)
{
    const int w = 640, h = 480;
    QImage image = canvas(w, h, QColor(200, 200, 200));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF tl(0, 0), tr(w, 0), bl(0, h), br(w, h);
    const QPointF btl(170, 140), btr(470, 140), bbl(170, 360), bbr(470, 360); // back wall
    auto fillQuad = [&](QPointF a, QPointF b, QPointF c, QPointF d, const QBrush& brush) {
        p.setPen(Qt::NoPen);
        p.setBrush(brush);
        p.drawPolygon(QPolygonF({a, b, c, d}));
    };
    QLinearGradient ceiling(0, 0, 0, 140);
    ceiling.setColorAt(0, QColor(236, 236, 230));
    ceiling.setColorAt(1, QColor(214, 214, 206));
    fillQuad(tl, tr, btr, btl, ceiling);
    QLinearGradient left(0, 0, 170, 0);
    left.setColorAt(0, QColor(196, 184, 160));
    left.setColorAt(1, QColor(222, 210, 186));
    fillQuad(tl, btl, bbl, bl, left);
    QLinearGradient right(640, 0, 470, 0);
    right.setColorAt(0, QColor(186, 174, 150));
    right.setColorAt(1, QColor(216, 204, 180));
    fillQuad(tr, br, bbr, btr, right);
    fillQuad(btl, btr, bbr, bbl, QColor(230, 218, 194));
    QLinearGradient floor(0, 360, 0, 480);
    floor.setColorAt(0, QColor(150, 108, 70));
    floor.setColorAt(1, QColor(120, 84, 52));
    fillQuad(bbl, bbr, br, bl, floor);
    // Floor boards converge on the vanishing point (320, 250).
    p.setPen(QPen(QColor(100, 70, 44), 1));
    for (int i = -6; i <= 6; ++i)
        p.drawLine(QPointF(320 + i * 25, 360), QPointF(320 + i * 110, 480));
    // A window on the back wall and a skirting line.
    QLinearGradient sky(0, 180, 0, 290);
    sky.setColorAt(0, QColor(130, 180, 235));
    sky.setColorAt(1, QColor(210, 230, 250));
    p.setPen(QPen(QColor(250, 250, 250), 5));
    p.setBrush(sky);
    p.drawRect(QRectF(250, 180, 140, 110));
    p.drawLine(QPointF(320, 180), QPointF(320, 290));
    p.setPen(QPen(QColor(160, 150, 130), 3));
    p.drawLine(bbl, bbr);
    // A round light fitting on the ceiling.
    const QRectF lamp(292, 52, 56, 22);
    QRadialGradient glow(lamp.center(), 30);
    glow.setColorAt(0, QColor(255, 252, 230));
    glow.setColorAt(1, QColor(230, 226, 200));
    p.setPen(QPen(QColor(180, 180, 170), 1));
    p.setBrush(glow);
    p.drawEllipse(lamp);
    geometry.ceiling = QPolygonF({tl, tr, btr, btl});
    geometry.fitting =
        QPolygonF({lamp.topLeft(), lamp.topRight(), lamp.bottomRight(), lamp.bottomLeft()});
    return image;
}

/**
 * The ceiling mask, cut to the ceiling's rectangle: white marks pixels that keep the photo even
 * inside the ceiling polygons, anything else lets the designed ceiling in. The whole ceiling,
 * the photo's own light fitting included, is black: the designed ceiling brings its own lamps.
 */
QImage ceilingMask(const SampleGeometry& geometry, QRect& rect)
{
    rect = geometry.ceiling.boundingRect().toAlignedRect();
    QImage image(rect.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.translate(-rect.topLeft());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(geometry.ceiling);
    return image;
}

std::string pointList(const QPolygonF& polygon)
{
    std::string text;
    char buffer[64];
    for (const QPointF& point : polygon) {
        std::snprintf(buffer, sizeof buffer, "%s%.6f,%.6f", text.empty() ? "" : " ", point.x(),
                      point.y());
        text += buffer;
    }
    return text;
}

// ---- Meshes -------------------------------------------------------------------------------

struct Vec3
{
    double x = 0, y = 0, z = 0;
};
Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, double s)
{
    return {a.x * s, a.y * s, a.z * s};
}
double dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Vertex
{
    Vec3 position, normal;
    double u = 0, v = 0;
};
struct Triangle
{
    std::array<uint16_t, 3> index;
    int material = 0;
};
struct MeshMaterial
{
    std::string name;
    QColor colour;
};

/** A mesh of boxes and cylinders; every triangle faces out of the part it belongs to. */
class MeshBuilder
{
public:
    int material(const std::string& name, const QColor& colour)
    {
        materials.push_back({name, colour});
        return int(materials.size()) - 1;
    }

    /** An axis-aligned box from its centre and full size. */
    void box(Vec3 centre, Vec3 size, int mat)
    {
        const Vec3 h = size * 0.5;
        const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        const double half[3] = {h.x, h.y, h.z};
        for (int a = 0; a < 3; ++a) {
            for (int sign = -1; sign <= 1; sign += 2) {
                const Vec3 n = axes[a] * sign;
                const Vec3 u = axes[(a + 1) % 3] * half[(a + 1) % 3] * sign;
                const Vec3 v = axes[(a + 2) % 3] * half[(a + 2) % 3];
                const Vec3 c = centre + n * half[a];
                const uint16_t first = uint16_t(vertices.size());
                const Vec3 corners[4] = {c - u - v, c + u - v, c + u + v, c - u + v};
                const double uv[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
                for (int k = 0; k < 4; ++k)
                    vertices.push_back({corners[k], n, uv[k][0], uv[k][1]});
                addTriangle(first, first + 1, first + 2, mat, n);
                addTriangle(first, first + 2, first + 3, mat, n);
            }
        }
    }

    /** A vertical cylinder (or cone when the radii differ) from its base centre. */
    void cylinder(Vec3 base, double bottomRadius, double topRadius, double height, int mat,
                  int segments = 16)
    {
        const double slope = (bottomRadius - topRadius) / height;
        const uint16_t ring = uint16_t(vertices.size());
        for (int i = 0; i <= segments; ++i) {
            const double a = 2 * kPi * i / segments;
            const Vec3 radial{std::cos(a), 0, std::sin(a)};
            Vec3 n = radial + Vec3{0, slope, 0};
            n = n * (1 / std::sqrt(dot(n, n)));
            const double u = double(i) / segments;
            vertices.push_back({base + radial * bottomRadius, n, u, 1});
            vertices.push_back({base + radial * topRadius + Vec3{0, height, 0}, n, u, 0});
        }
        for (int i = 0; i < segments; ++i) {
            const uint16_t b0 = uint16_t(ring + 2 * i), t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
            const double a = 2 * kPi * (i + 0.5) / segments;
            const Vec3 out{std::cos(a), 0, std::sin(a)};
            addTriangle(b0, b1, t1, mat, out);
            addTriangle(b0, t1, t0, mat, out);
        }
        cap(base, bottomRadius, {0, -1, 0}, mat, segments);
        if (topRadius > 0)
            cap(base + Vec3{0, height, 0}, topRadius, {0, 1, 0}, mat, segments);
    }

    std::vector<Vertex> vertices;
    std::vector<Triangle> triangles;
    std::vector<MeshMaterial> materials;

private:
    void cap(Vec3 centre, double radius, Vec3 n, int mat, int segments)
    {
        const uint16_t middle = uint16_t(vertices.size());
        vertices.push_back({centre, n, 0.5, 0.5});
        for (int i = 0; i <= segments; ++i) {
            const double a = 2 * kPi * i / segments;
            vertices.push_back({centre + Vec3{std::cos(a), 0, std::sin(a)} * radius, n,
                                0.5 + 0.5 * std::cos(a), 0.5 + 0.5 * std::sin(a)});
        }
        for (int i = 0; i < segments; ++i)
            addTriangle(middle, uint16_t(middle + 1 + i), uint16_t(middle + 2 + i), mat, n);
    }

    /** Adds a triangle, turned so that it faces along `outward`. */
    void addTriangle(uint16_t a, uint16_t b, uint16_t c, int mat, Vec3 outward)
    {
        const Vec3 n = cross(vertices[b].position - vertices[a].position,
                             vertices[c].position - vertices[a].position);
        if (dot(n, outward) < 0)
            std::swap(b, c);
        triangles.push_back({{a, b, c}, mat});
    }
};

std::string number(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6f", std::fabs(v) < 5e-7 ? 0.0 : v);
    return buffer;
}

/** The mesh as a DirectX text file: one frame, one mesh with normals, UVs and materials. */
std::string writeX(const MeshBuilder& m, const std::string& name)
{
    std::ostringstream x;
    x << "xof 0303txt 0032\n// " << name << ", made by make_sample_data\n";
    x << "Frame " << name
      << "_frame {\n FrameTransformMatrix {\n  1.000000,0.000000,0.000000,"
         "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,"
         "0.000000,0.000000,0.000000,1.000000;;\n }\n";
    x << " Mesh " << name << " {\n  " << m.vertices.size() << ";\n";
    for (size_t i = 0; i < m.vertices.size(); ++i) {
        const Vec3& p = m.vertices[i].position;
        x << "  " << number(p.x) << ";" << number(p.y) << ";" << number(p.z) << ";"
          << (i + 1 < m.vertices.size() ? "," : ";") << "\n";
    }
    auto faces = [&](std::ostringstream& out) {
        out << "  " << m.triangles.size() << ";\n";
        for (size_t i = 0; i < m.triangles.size(); ++i) {
            const auto& t = m.triangles[i].index;
            out << "  3;" << t[0] << "," << t[1] << "," << t[2] << ";"
                << (i + 1 < m.triangles.size() ? "," : ";") << "\n";
        }
    };
    faces(x);
    x << "  MeshNormals {\n  " << m.vertices.size() << ";\n";
    for (size_t i = 0; i < m.vertices.size(); ++i) {
        const Vec3& n = m.vertices[i].normal;
        x << "  " << number(n.x) << ";" << number(n.y) << ";" << number(n.z) << ";"
          << (i + 1 < m.vertices.size() ? "," : ";") << "\n";
    }
    faces(x);
    x << "  }\n  MeshTextureCoords {\n  " << m.vertices.size() << ";\n";
    for (size_t i = 0; i < m.vertices.size(); ++i)
        x << "  " << number(m.vertices[i].u) << ";" << number(m.vertices[i].v) << ";"
          << (i + 1 < m.vertices.size() ? "," : ";") << "\n";
    x << "  }\n  MeshMaterialList {\n  " << m.materials.size() << ";\n  " << m.triangles.size()
      << ";\n";
    for (size_t i = 0; i < m.triangles.size(); ++i)
        x << "  " << m.triangles[i].material << (i + 1 < m.triangles.size() ? ",\n" : ";;\n");
    for (const MeshMaterial& mat : m.materials) {
        x << "  Material " << mat.name << " {\n   " << number(mat.colour.redF()) << ";"
          << number(mat.colour.greenF()) << ";" << number(mat.colour.blueF())
          << ";1.000000;;\n   20.000000;\n   0.200000;0.200000;0.200000;;\n"
             "   0.000000;0.000000;0.000000;;\n  }\n";
    }
    x << "  }\n }\n}\n";
    return x.str();
}

class ChunkWriter
{
public:
    void begin(uint16_t id)
    {
        u16(id);
        open_.push_back(bytes.size());
        u32(0);
    }
    void end()
    {
        const size_t at = open_.back();
        open_.pop_back();
        const auto length = uint32_t(bytes.size() - (at - 2));
        for (int i = 0; i < 4; ++i)
            bytes[at + size_t(i)] = char(uint8_t(length >> (8 * i)));
    }
    void u8(uint8_t v) { bytes.push_back(char(v)); }
    void u16(uint16_t v)
    {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            u8(uint8_t(v >> (8 * i)));
    }
    void f32(double value)
    {
        const float v = float(value);
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void text(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        u8(0);
    }
    std::string bytes;

private:
    std::vector<size_t> open_;
};

/**
 * The mesh as a 3DS file. 3DS is z up: a point (x, y, z) of the builder is stored as
 * (x, z, y), and that mirror turns every triangle round, so the corners are written in
 * reverse order to keep them facing out.
 */
std::string write3ds(const MeshBuilder& m, const std::string& name)
{
    ChunkWriter w;
    w.begin(0x4D4D);
    w.begin(0x0002);
    w.u32(3);
    w.end();
    w.begin(0x3D3D);
    w.begin(0x3D3E);
    w.u32(3);
    w.end();
    for (const MeshMaterial& mat : m.materials) {
        w.begin(0xAFFF);
        w.begin(0xA000);
        w.text(mat.name);
        w.end();
        w.begin(0xA020);
        w.begin(0x0011);
        w.u8(uint8_t(mat.colour.red()));
        w.u8(uint8_t(mat.colour.green()));
        w.u8(uint8_t(mat.colour.blue()));
        w.end();
        w.end();
        w.end();
    }
    w.begin(0x4000);
    w.text(name.substr(0, 10));
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(uint16_t(m.vertices.size()));
    for (const Vertex& v : m.vertices) {
        w.f32(v.position.x);
        w.f32(v.position.z);
        w.f32(v.position.y);
    }
    w.end();
    w.begin(0x4140);
    w.u16(uint16_t(m.vertices.size()));
    for (const Vertex& v : m.vertices) {
        w.f32(v.u);
        w.f32(1 - v.v); // 3DS texture rows run upwards
    }
    w.end();
    w.begin(0x4120);
    w.u16(uint16_t(m.triangles.size()));
    for (const Triangle& t : m.triangles) {
        w.u16(t.index[0]);
        w.u16(t.index[2]);
        w.u16(t.index[1]);
        w.u16(7);
    }
    for (size_t mat = 0; mat < m.materials.size(); ++mat) {
        std::vector<uint16_t> faces;
        for (size_t i = 0; i < m.triangles.size(); ++i)
            if (m.triangles[i].material == int(mat))
                faces.push_back(uint16_t(i));
        if (faces.empty())
            continue;
        w.begin(0x4130);
        w.text(m.materials[mat].name);
        w.u16(uint16_t(faces.size()));
        for (uint16_t f : faces)
            w.u16(f);
        w.end();
    }
    w.end(); // face list
    w.end(); // triangle mesh
    w.end(); // object
    w.end(); // editor
    w.end(); // main
    return w.bytes;
}

// Furniture, millimetres, y up, standing on y = 0 and centred on x = z = 0. A piece's front (the
// side a real one turns to the room: doors, seats, handles) faces -z; its back is at +z.

MeshBuilder table()
{
    MeshBuilder m;
    const int wood = m.material("oak", QColor(170, 120, 70));
    m.box({0, 730, 0}, {1200, 40, 800}, wood);
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sz = -1; sz <= 1; sz += 2)
            m.box({sx * 540.0, 355, sz * 340.0}, {60, 710, 60}, wood);
    return m;
}

MeshBuilder chair()
{
    MeshBuilder m;
    const int wood = m.material("beech", QColor(190, 140, 90));
    const int seat = m.material("cushion", QColor(150, 40, 40));
    m.box({0, 440, 0}, {440, 40, 440}, wood);
    m.box({0, 475, 0}, {400, 30, 400}, seat);
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sz = -1; sz <= 1; sz += 2)
            m.box({sx * 195.0, 210, sz * 195.0}, {40, 420, 40}, wood);
    m.box({0, 700, 200}, {440, 420, 30}, wood);
    return m;
}

MeshBuilder cabinet()
{
    MeshBuilder m;
    const int body = m.material("carcass", QColor(230, 226, 214));
    const int front = m.material("doors", QColor(180, 130, 80));
    const int metal = m.material("handles", QColor(160, 160, 166));
    m.box({0, 450, 0}, {800, 900, 560}, body);
    m.box({-200, 460, -290}, {390, 860, 20}, front);
    m.box({200, 460, -290}, {390, 860, 20}, front);
    m.box({-30, 600, -305}, {12, 120, 12}, metal);
    m.box({30, 600, -305}, {12, 120, 12}, metal);
    return m;
}

MeshBuilder fridge()
{
    MeshBuilder m;
    const int white = m.material("enamel", QColor(236, 238, 240));
    const int metal = m.material("handle", QColor(150, 150, 156));
    m.box({0, 900, 0}, {600, 1800, 640}, white);
    m.box({0, 1500, -330}, {596, 4, 20}, metal);
    m.box({250, 1650, -345}, {20, 200, 20}, metal);
    m.box({250, 1050, -345}, {20, 400, 20}, metal);
    return m;
}

MeshBuilder sofa()
{
    MeshBuilder m;
    const int fabric = m.material("fabric", QColor(90, 120, 170));
    const int feet = m.material("feet", QColor(60, 50, 40));
    m.box({0, 260, 0}, {1900, 260, 850}, fabric);
    m.box({0, 600, 350}, {1900, 420, 150}, fabric);
    m.box({-875, 480, 0}, {150, 180, 850}, fabric);
    m.box({875, 480, 0}, {150, 180, 850}, fabric);
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sz = -1; sz <= 1; sz += 2)
            m.cylinder({sx * 880.0, 0, sz * 360.0}, 30, 25, 130, feet, 8);
    return m;
}

MeshBuilder pendantLamp()
{
    MeshBuilder m;
    const int shade = m.material("shade", QColor(240, 220, 150));
    const int cord = m.material("cord", QColor(40, 40, 40));
    m.cylinder({0, 0, 0}, 220, 90, 180, shade, 24);
    m.cylinder({0, 180, 0}, 8, 8, 600, cord, 8);
    m.cylinder({0, 780, 0}, 60, 60, 20, cord, 16);
    return m;
}

MeshBuilder floorLamp()
{
    MeshBuilder m;
    const int base = m.material("base", QColor(50, 50, 54));
    const int shade = m.material("shade", QColor(245, 232, 200));
    m.cylinder({0, 0, 0}, 160, 160, 30, base, 24);
    m.cylinder({0, 30, 0}, 14, 14, 1400, base, 8);
    m.cylinder({0, 1400, 0}, 200, 130, 260, shade, 24);
    return m;
}

MeshBuilder stool()
{
    MeshBuilder m;
    const int wood = m.material("walnut", QColor(110, 74, 46));
    m.cylinder({0, 620, 0}, 180, 180, 40, wood, 20);
    for (int i = 0; i < 3; ++i) {
        const double a = 2 * kPi * i / 3;
        m.box({std::cos(a) * 120, 310, std::sin(a) * 120}, {36, 620, 36}, wood);
    }
    m.cylinder({0, 260, 0}, 130, 130, 20, wood, 20);
    return m;
}

bool writeMeshes()
{
    struct Item
    {
        const char* name;
        MeshBuilder (*make)();
        bool x;
    };
    const Item items[] = {{"table", table, true},         {"chair", chair, false},
                          {"cabinet", cabinet, true},     {"fridge", fridge, false},
                          {"sofa", sofa, true},           {"pendant", pendantLamp, false},
                          {"floorlamp", floorLamp, true}, {"stool", stool, false}};
    bool ok = true;
    for (const Item& item : items) {
        const MeshBuilder mesh = item.make();
        const QString file = QString("meshes/%1.%2").arg(item.name, item.x ? "x" : "3ds");
        ok &= saveBytes(item.x ? writeX(mesh, item.name) : write3ds(mesh, item.name), file);
    }
    return ok;
}

/** Models whose X file is written in the binary encoding, as most exporters write theirs; they
 *  replace the text files writeMeshes wrote under the same names. */
bool writeBinaryMeshes()
{
    struct Item
    {
        const char* name;
        MeshBuilder (*make)();
    };
    const Item items[] = {{"sofa", sofa}, {"floorlamp", floorLamp}};
    bool ok = true;
    for (const Item& item : items) {
        const std::string binary = vs::xfile::binaryFromText(writeX(item.make(), item.name));
        ok &= !binary.empty() && saveBytes(binary, QString("meshes/%1.x").arg(item.name));
    }
    return ok;
}

bool writePanels()
{
    bool ok = true;
    struct Finish
    {
        const char* name;
        QColor colour;
        int pattern;
    };
    const Finish finishes300[] = {{"white", QColor(242, 242, 238), 0},
                                  {"silver", QColor(196, 200, 206), 0},
                                  {"perforated", QColor(232, 232, 228), 1},
                                  {"oak", QColor(186, 140, 92), 2}};
    unsigned seed = 100;
    for (const Finish& f : finishes300) {
        ok &= savePicture(clipInPanel(64, f.colour, f.pattern, ++seed),
                          QString("pictures/panels/p300_%1.png").arg(f.name));
        ok &= savePicture(clipInPanel(64, f.colour.darker(115), f.pattern, seed),
                          QString("pictures/panels/p300_%1_alt.png").arg(f.name));
    }
    const Finish finishes600[] = {{"white", QColor(244, 244, 240), 0},
                                  {"mineral", QColor(226, 222, 212), 4},
                                  {"mirror", QColor(176, 186, 198), 3}};
    for (const Finish& f : finishes600) {
        ok &= savePicture(clipInPanel(128, f.colour, f.pattern, ++seed),
                          QString("pictures/panels/p600_%1.png").arg(f.name));
        ok &= savePicture(clipInPanel(128, f.colour.darker(115), f.pattern, seed),
                          QString("pictures/panels/p600_%1_alt.png").arg(f.name));
    }
    ok &= savePicture(stripPanel(256, 16, QColor(240, 240, 236), false),
                      "pictures/panels/strip_white.png");
    ok &= savePicture(stripPanel(256, 16, QColor(214, 186, 110), true),
                      "pictures/panels/strip_gold.png");
    ok &= savePicture(appliance(64, 64, 0), "pictures/appliances/lamp_round.png");
    ok &= savePicture(appliance(128, 128, 1), "pictures/appliances/lamp_panel600.png");
    ok &= savePicture(appliance(64, 64, 2), "pictures/appliances/vent.png");
    ok &= savePicture(appliance(64, 128, 3), "pictures/appliances/heater.png");
    ok &= savePicture(appliance(32, 32, 4), "pictures/appliances/spot.png");
    ok &= savePicture(artPiece(128, 128, 0), "pictures/art/rosette.png");
    ok &= savePicture(artPiece(256, 128, 1), "pictures/art/waves.png");
    ok &= savePicture(sideTexture(QColor(200, 204, 210), 7), "pictures/textures/side_alu.png");
    ok &= savePicture(sideTexture(QColor(240, 240, 236), 8), "pictures/textures/side_white.png");
    ok &= savePicture(sideTexture(QColor(180, 134, 88), 9), "pictures/textures/side_oak.png");
    ok &= savePicture(sectionBarPicture(QColor(190, 192, 198)),
                      "pictures/sectionbars/round_edge.png");
    ok &= savePicture(sectionBarPicture(QColor(200, 170, 90)), "pictures/sectionbars/creased.png");
    ok &= savePicture(woodTexture(41), "pictures/sectionbars/wood_face.jpg");
    return ok;
}

bool writeFacilityPictures()
{
    bool ok = true;
    const char* icons[] = {"table", "chair",   "cabinet",   "fridge",
                           "sofa",  "pendant", "floorlamp", "stool"};
    for (int i = 0; i < 8; ++i)
        ok &= savePicture(modelIcon(i), QString("pictures/models/%1.png").arg(icons[i]));
    ok &= savePicture(woodTexture(51), "pictures/models/wood_texture.jpg");
    ok &= savePicture(fabricTexture(), "pictures/models/fabric_texture.png");
    ok &= savePicture(doorPicture(), "pictures/models/door.png");
    ok &= savePicture(windowPicture(), "pictures/models/window.png");
    ok &= savePicture(floorTiles(0), "pictures/models/floor_oak.jpg");
    ok &= savePicture(floorTiles(1), "pictures/models/floor_marble.jpg");
    ok &= savePicture(wallTile(QColor(120, 160, 200), 61), "pictures/models/wall_blue.png");
    ok &= savePicture(wallTile(QColor(236, 226, 200), 62), "pictures/models/wall_cream.png");
    ok &= savePicture(decorativeBand(), "pictures/models/band_meander.png");
    return ok;
}

// ---- Furnishings of the bundled rooms ---------------------------------------------------------
// Pieces, wall paints and floors the bundled designs are furnished with. Sizes are those of real
// pieces in millimetres; fronts face -z as above.

MeshBuilder wallCabinet()
{
    MeshBuilder m;
    const int body = m.material("carcass", QColor(230, 226, 214));
    const int front = m.material("doors", QColor(236, 232, 222));
    const int metal = m.material("handles", QColor(160, 160, 166));
    m.box({0, 350, 10}, {800, 700, 330}, body);
    m.box({-200, 350, -165}, {394, 690, 20}, front);
    m.box({200, 350, -165}, {394, 690, 20}, front);
    m.box({-30, 90, -180}, {12, 100, 12}, metal);
    m.box({30, 90, -180}, {12, 100, 12}, metal);
    return m;
}

MeshBuilder washBasin()
{
    MeshBuilder m;
    const int body = m.material("vanity", QColor(214, 196, 168));
    const int ceramic = m.material("ceramic", QColor(248, 248, 246));
    const int chrome = m.material("chrome", QColor(190, 194, 200));
    m.box({0, 390, 10}, {600, 780, 440}, body);
    m.box({0, 390, -215}, {590, 700, 16}, body);
    m.box({0, 790, 0}, {620, 60, 480}, ceramic);
    m.cylinder({0, 820, -10}, 200, 230, 14, ceramic, 32); // the bowl's rim
    m.cylinder({0, 820, 190}, 18, 18, 180, chrome, 12);   // the tap
    m.box({0, 990, 140}, {24, 24, 120}, chrome);
    return m;
}

MeshBuilder bathtub()
{
    MeshBuilder m;
    const int enamel = m.material("enamel", QColor(246, 246, 244));
    const int water = m.material("inside", QColor(214, 228, 236));
    const int chrome = m.material("chrome", QColor(190, 194, 200));
    m.box({0, 40, 0}, {1700, 80, 750}, enamel);     // the plinth
    m.box({0, 90, 0}, {1560, 20, 610}, water);      // the bottom seen from above
    m.box({0, 310, -340}, {1700, 460, 70}, enamel); // front wall
    m.box({0, 310, 340}, {1700, 460, 70}, enamel);  // back wall
    m.box({-815, 310, 0}, {70, 460, 610}, enamel);  // ends
    m.box({815, 310, 0}, {70, 460, 610}, enamel);
    m.cylinder({-700, 540, 250}, 20, 20, 160, chrome, 12);
    m.box({-700, 700, 200}, {30, 30, 120}, chrome);
    return m;
}

MeshBuilder toilet()
{
    MeshBuilder m;
    const int ceramic = m.material("ceramic", QColor(248, 248, 246));
    const int seat = m.material("seat", QColor(236, 236, 232));
    m.box({0, 190, 0}, {300, 380, 420}, ceramic);          // pedestal
    m.cylinder({0, 330, -100}, 190, 180, 60, ceramic, 32); // bowl
    m.cylinder({0, 390, -100}, 185, 185, 20, seat, 32);
    m.box({0, 600, 205}, {380, 420, 170}, ceramic); // cistern at the back
    return m;
}

MeshBuilder bookshelf()
{
    MeshBuilder m;
    const int wood = m.material("ash", QColor(196, 160, 116));
    const QColor spines[] = {QColor(150, 40, 40), QColor(40, 80, 130), QColor(200, 170, 80),
                             QColor(60, 110, 70), QColor(90, 60, 110)};
    int books[5];
    for (int i = 0; i < 5; ++i)
        books[i] = m.material("books" + std::to_string(i), spines[i]);
    m.box({-385, 900, 0}, {30, 1800, 320}, wood);
    m.box({385, 900, 0}, {30, 1800, 320}, wood);
    m.box({0, 900, 150}, {740, 1800, 20}, wood); // back panel
    for (int shelf = 0; shelf < 5; ++shelf)
        m.box({0, 30 + shelf * 435.0, 0}, {740, 30, 320}, wood);
    m.box({0, 1785, 0}, {800, 30, 320}, wood);
    unsigned pick = 7;
    for (int shelf = 0; shelf < 4; ++shelf) {
        double x = -350;
        for (int k = 0; x < 300; ++k) {
            pick = pick * 1103515245u + 12345u;
            const double width = 30 + (pick >> 16) % 40;
            const double height = 220 + (pick >> 8) % 90;
            m.box({x + width / 2, 45 + shelf * 435.0 + height / 2, -10}, {width - 2, height, 240},
                  books[(shelf + k) % 5]);
            x += width;
        }
    }
    return m;
}

MeshBuilder coffeeTable()
{
    MeshBuilder m;
    const int wood = m.material("walnut", QColor(120, 82, 52));
    const int glass = m.material("top", QColor(200, 170, 130));
    m.box({0, 405, 0}, {1100, 30, 600}, glass);
    m.box({0, 150, 0}, {1000, 20, 500}, wood);
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sz = -1; sz <= 1; sz += 2)
            m.box({sx * 510.0, 195, sz * 260.0}, {40, 390, 40}, wood);
    return m;
}

MeshBuilder receptionDesk()
{
    MeshBuilder m;
    const int panel = m.material("panel", QColor(236, 232, 224));
    const int wood = m.material("oak", QColor(176, 130, 84));
    const int top = m.material("worktop", QColor(70, 70, 76));
    m.box({0, 550, -330}, {1800, 1100, 40}, panel); // the counter's front
    m.box({0, 1110, -290}, {1840, 30, 160}, wood);  // the visitors' ledge
    m.box({0, 735, 20}, {1780, 30, 660}, top);      // the work surface behind
    m.box({-880, 375, 0}, {40, 750, 700}, panel);
    m.box({880, 375, 0}, {40, 750, 700}, panel);
    m.box({0, 300, -300}, {1700, 40, 10}, wood); // a light strip along the foot
    return m;
}

MeshBuilder pottedPlant()
{
    MeshBuilder m;
    const int pot = m.material("pot", QColor(180, 96, 60));
    const int soil = m.material("soil", QColor(70, 50, 36));
    const int leaves = m.material("leaves", QColor(60, 130, 60));
    const int dark = m.material("dark_leaves", QColor(40, 100, 50));
    m.cylinder({0, 0, 0}, 150, 200, 400, pot, 24);
    m.cylinder({0, 380, 0}, 185, 185, 10, soil, 24);
    m.cylinder({0, 390, 0}, 20, 20, 300, soil, 8);
    m.cylinder({0, 600, 0}, 220, 60, 420, leaves, 16);
    m.cylinder({0, 850, 0}, 190, 30, 450, dark, 16);
    m.cylinder({60, 700, 40}, 150, 20, 400, leaves, 12);
    return m;
}

MeshBuilder bench()
{
    MeshBuilder m;
    const int seat = m.material("seat", QColor(110, 74, 46));
    const int steel = m.material("steel", QColor(60, 60, 64));
    m.box({0, 430, 0}, {1400, 40, 400}, seat);
    for (int sx = -1; sx <= 1; sx += 2) {
        m.box({sx * 600.0, 205, -170}, {40, 410, 40}, steel);
        m.box({sx * 600.0, 205, 170}, {40, 410, 40}, steel);
        m.box({sx * 600.0, 20, 0}, {40, 40, 380}, steel);
    }
    return m;
}

/** A catalogue picture of a furnishing, drawn like the other list pictures. */
QImage furnishingIcon(const std::string& look)
{
    QImage image = canvas(64, 64, QColor(248, 248, 248));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 60, 50), 1.5));
    const QColor white(240, 240, 238), wood(190, 150, 105), green(60, 130, 60);
    if (look == "wallcabinet") {
        p.setBrush(white);
        p.drawRect(10, 14, 44, 34);
        p.drawLine(32, 14, 32, 48);
    } else if (look == "basin") {
        p.setBrush(wood);
        p.drawRect(14, 30, 36, 28);
        p.setBrush(white);
        p.drawRect(12, 24, 40, 6);
        p.drawLine(32, 14, 32, 24);
    } else if (look == "bathtub") {
        p.setBrush(white);
        p.drawRoundedRect(4, 28, 56, 22, 6, 6);
        p.drawLine(10, 16, 10, 28);
    } else if (look == "toilet") {
        p.setBrush(white);
        p.drawRect(34, 10, 14, 26);
        p.drawRoundedRect(14, 30, 34, 10, 4, 4);
        p.drawRect(24, 40, 14, 18);
    } else if (look == "bookshelf") {
        p.setBrush(wood);
        p.drawRect(16, 4, 32, 56);
        for (int y = 16; y < 60; y += 12)
            p.drawLine(16, y, 48, y);
    } else if (look == "coffeetable") {
        p.setBrush(wood.darker(130));
        p.drawRect(6, 34, 52, 5);
        p.drawRect(9, 39, 3, 16);
        p.drawRect(52, 39, 3, 16);
    } else if (look == "desk") {
        p.setBrush(white);
        p.drawRect(4, 24, 56, 32);
        p.setBrush(wood);
        p.drawRect(2, 20, 60, 4);
    } else if (look == "plant") {
        p.setBrush(QColor(180, 96, 60));
        p.drawPolygon(
            QPolygonF({QPointF(22, 40), QPointF(42, 40), QPointF(38, 60), QPointF(26, 60)}));
        p.setBrush(green);
        p.drawEllipse(QPointF(32, 24), 16, 18);
    } else if (look == "bench") {
        p.setBrush(wood.darker(140));
        p.drawRect(4, 30, 56, 6);
        p.setBrush(QColor(60, 60, 64));
        p.drawRect(10, 36, 4, 20);
        p.drawRect(50, 36, 4, 20);
    }
    return image;
}

/** A painted wall: one colour with a faint roller texture and no joints. */
QImage wallPaint(const QColor& colour, unsigned seed)
{
    QImage image = canvas(64, 64, colour);
    mottle(image, 3, seed);
    return image;
}

/** Small square wall tiles with light grout, as bathrooms have them. */
QImage smallWallTiles(const QColor& colour, unsigned seed)
{
    QImage image = canvas(64, 64, colour);
    mottle(image, 3, seed);
    QPainter p(&image);
    p.setPen(QPen(QColor(214, 214, 210), 2));
    for (int i = 0; i <= 64; i += 32) {
        p.drawLine(0, i, 64, i);
        p.drawLine(i, 0, i, 64);
    }
    return image;
}

/** Large grey stone floor tiles. */
QImage stoneFloor()
{
    QImage image = canvas(128, 128, QColor(150, 148, 142));
    mottle(image, 9, 33);
    QPainter p(&image);
    p.setPen(QPen(QColor(110, 108, 104), 2));
    p.drawRect(0, 0, 127, 127);
    return image;
}

bool writeFurnishings()
{
    struct Item
    {
        const char* name;
        MeshBuilder (*make)();
    };
    const Item items[] = {
        {"wallcabinet", wallCabinet}, {"basin", washBasin},     {"bathtub", bathtub},
        {"toilet", toilet},           {"bookshelf", bookshelf}, {"coffeetable", coffeeTable},
        {"desk", receptionDesk},      {"plant", pottedPlant},   {"bench", bench}};
    bool ok = true;
    for (const Item& item : items) {
        ok &= saveBytes(writeX(item.make(), item.name), QString("meshes/%1.x").arg(item.name));
        ok &= savePicture(furnishingIcon(item.name),
                          QString("pictures/models/%1.png").arg(item.name));
    }
    struct Paint
    {
        const char* name;
        QColor colour;
    };
    const Paint paints[] = {{"paint_warm_white", QColor(240, 234, 222)},
                            {"paint_sage", QColor(178, 192, 166)},
                            {"paint_terracotta", QColor(204, 146, 112)},
                            {"paint_pale_blue", QColor(184, 204, 222)},
                            {"paint_sand", QColor(222, 204, 170)}};
    unsigned seed = 70;
    for (const Paint& paint : paints)
        ok &= savePicture(wallPaint(paint.colour, ++seed),
                          QString("pictures/models/%1.png").arg(paint.name));
    ok &= savePicture(smallWallTiles(QColor(244, 244, 240), 81),
                      "pictures/models/wall_white_tiles.png");
    ok &= savePicture(smallWallTiles(QColor(90, 140, 140), 82),
                      "pictures/models/wall_teal_tiles.png");
    ok &= savePicture(stoneFloor(), "pictures/models/floor_stone.jpg");
    return ok;
}

bool writeStaticSample()
{
    SampleGeometry geometry;
    bool ok = savePicture(roomPhoto(geometry), "samples/room_photo.jpg", 88);
    QRect rect;
    ok &= savePicture(ceilingMask(geometry, rect), "samples/room_mask.png");
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<!-- Ceiling polygons of room_photo.jpg in photo pixels; the mask covers the "
           "rectangle "
        << rect.x() << "," << rect.y() << "," << rect.width() << "," << rect.height() << ". -->\n"
        << "<staticSample>\n  <polygons>\n"
        << "    <polygon exclude=\"false\" points=\"" << pointList(geometry.ceiling) << "\"/>\n"
        << "  </polygons>\n</staticSample>\n";
    ok &= saveBytes(xml.str(), "samples/room_polygons.xml");
    std::printf("mask rectangle: %d,%d,%d,%d\n", rect.x(), rect.y(), rect.width(), rect.height());
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_data <pack folder>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_root = QString::fromLocal8Bit(argv[1]);
    const bool ok = writePanels() && writeFacilityPictures() && writeMeshes() &&
                    writeBinaryMeshes() && writeStaticSample() && writeFurnishings();
    return ok ? 0 : 1;
}
