// How far a picture is from its reference: the share of pixels whose largest channel difference
// exceeds 40, and the mean difference over all channels. Pixel tests accept small shares, so that
// drivers and rasterisers may differ on edges without hiding a picture that changed.
#pragma once

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace pixeltest {

struct Difference
{
    double differingShare = 1;
    double meanDifference = 255;
};

/** Pictures of different sizes differ wholly. */
inline Difference compare(const QImage& a, const QImage& b)
{
    Difference d;
    if (a.size() != b.size() || a.isNull())
        return d;
    long differing = 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int dr = std::abs(qRed(p) - qRed(q)), dg = std::abs(qGreen(p) - qGreen(q)),
                      db = std::abs(qBlue(p) - qBlue(q));
            sum += (dr + dg + db) / 3.0;
            if (std::max({dr, dg, db}) > 40)
                ++differing;
        }
    const double n = double(a.width()) * a.height();
    d.differingShare = differing / n;
    d.meanDifference = sum / n;
    return d;
}

} // namespace pixeltest
