#include "platform/Picture.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

QImage testImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) % 2 ? 40 : 200));
    return image;
}

void put16(Bytes& b, unsigned v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void put32(Bytes& b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

void put32be(Bytes& b, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back((v >> shift) & 0xFF);
}

/** A 24-bit BMP of 2 x 2 pixels; `rows` lists the rows as stored in the file, each two RGB
 *  pixels. A positive height means the file stores the bottom row first. */
Bytes bmp2x2(int height, const QRgb rows[2][2])
{
    Bytes b = {'B', 'M'};
    put32(b, 14 + 40 + 16);
    put32(b, 0);
    put32(b, 14 + 40);
    put32(b, 40);
    put32(b, 2);
    put32(b, uint32_t(height));
    put16(b, 1);
    put16(b, 24);
    for (int i = 0; i < 6; ++i)
        put32(b, 0);
    for (int r = 0; r < 2; ++r) {
        for (int x = 0; x < 2; ++x) {
            b.push_back(qBlue(rows[r][x]));
            b.push_back(qGreen(rows[r][x]));
            b.push_back(qRed(rows[r][x]));
        }
        b.push_back(0);
        b.push_back(0); // row padding to 8 bytes
    }
    return b;
}

struct GifFrame
{
    unsigned char pixels[4]; // palette indices of a 2 x 2 frame, row by row
    unsigned delayCs;        // hundredths of a second
};

/** A GIF with a four-colour palette (red, green, blue, white) and 2 x 2 frames. The LZW data
 *  sends a clear code before every second pixel, so every code stays 3 bits wide. */
Bytes gif(unsigned screenWidth, unsigned screenHeight, const std::vector<GifFrame>& frames)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    put16(b, screenWidth);
    put16(b, screenHeight);
    b.insert(b.end(), {0x81, 0, 0}); // global table of 4 colours
    b.insert(b.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    for (const GifFrame& frame : frames) {
        b.insert(b.end(), {0x21, 0xF9, 4, 0x04});
        put16(b, frame.delayCs);
        b.insert(b.end(), {0, 0});
        b.push_back(0x2C);
        put16(b, 0);
        put16(b, 0);
        put16(b, 2);
        put16(b, 2);
        b.push_back(0);
        b.push_back(2); // LZW minimum code size: clear = 4, end = 5
        const unsigned codes[] = {
            4, frame.pixels[0], frame.pixels[1], 4, frame.pixels[2], frame.pixels[3], 5};
        uint32_t bits = 0;
        int count = 0;
        for (unsigned code : codes) {
            bits |= code << count;
            count += 3;
        }
        const int size = (count + 7) / 8;
        b.push_back(size);
        for (int i = 0; i < size; ++i)
            b.push_back((bits >> (8 * i)) & 0xFF);
        b.push_back(0);
    }
    b.push_back(0x3B);
    return b;
}

uint32_t crc32(const unsigned char* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void pngChunk(Bytes& b, const char* type, const Bytes& data)
{
    put32be(b, uint32_t(data.size()));
    const size_t start = b.size();
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    put32be(b, crc32(b.data() + start, b.size() - start));
}

/** A PNG of 8-bit grey pixels, the image data stored without compression. Up to 65534 pixels
 *  the data is whole; a larger size keeps the data of 2 x 2 pixels behind a valid header. */
Bytes png(uint32_t width, uint32_t height)
{
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    put32be(header, width);
    put32be(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0}); // 8-bit grey
    pngChunk(b, "IHDR", header);
    const bool whole = uint64_t(width + 1) * height <= 65535;
    Bytes raw; // rows of a filter byte and the pixels
    for (uint32_t y = 0; y < (whole ? height : 2); ++y) {
        raw.push_back(0);
        for (uint32_t x = 0; x < (whole ? width : 2); ++x)
            raw.push_back((unsigned char)(10 * x + 100 * y));
    }
    const unsigned length = unsigned(raw.size());
    Bytes z = {0x78, 0x01, 0x01};
    put16(z, length);
    put16(z, ~length & 0xFFFF);
    z.insert(z.end(), raw.begin(), raw.end());
    uint32_t a = 1, s = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        s = (s + a) % 65521;
    }
    put32be(z, s << 16 | a);
    pngChunk(b, "IDAT", z);
    pngChunk(b, "IEND", {});
    return b;
}

Picture decode(const Bytes& b)
{
    return Picture::decode(b.data(), b.size());
}

Bytes truncated(const Bytes& b, size_t size)
{
    return Bytes(b.begin(), b.begin() + std::ptrdiff_t(size));
}

} // namespace

TEST(PictureTest, NullPictureHasNoFrames)
{
    const Picture picture;
    EXPECT_TRUE(picture.isNull());
    EXPECT_EQ(0, picture.width());
    EXPECT_EQ(0, picture.height());
    EXPECT_EQ(0, picture.frameCount());
    EXPECT_FALSE(picture.isAnimated());
    EXPECT_TRUE(picture.image().isNull());
    EXPECT_THROW(picture.frame(0), std::out_of_range);
    EXPECT_THROW(picture.frameDelayMs(0), std::out_of_range);
    EXPECT_TRUE(picture.encode(PictureFormat::Png).empty());
    EXPECT_TRUE(Picture(QImage()).isNull());
}

TEST(PictureTest, ImageIsConvertedToArgb32)
{
    QImage rgb(3, 2, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    const Picture picture(rgb);
    EXPECT_EQ(QImage::Format_ARGB32, picture.image().format());
    EXPECT_EQ(qRgb(10, 20, 30), picture.image().pixel(2, 1));
    EXPECT_EQ(1, picture.frameCount());
    EXPECT_EQ(0, picture.frameDelayMs(0));
    EXPECT_THROW(picture.frame(1), std::out_of_range);
    EXPECT_THROW(picture.frame(-1), std::out_of_range);
}

TEST(PictureTest, LosslessFormatsRoundTripEveryPixel)
{
    QImage source = testImage(23, 17); // odd width: BMP rows need padding
    source.setPixel(0, 0, qRgba(200, 100, 50, 0));
    source.setPixel(1, 0, qRgba(10, 20, 30, 128));
    const Picture picture(source);
    struct Case
    {
        PictureFormat format;
        const char* magic;
        bool keepsAlpha;
    };
    for (const Case& c :
         {Case{PictureFormat::Bmp, "BM", false}, Case{PictureFormat::Png, "\x89PNG", true},
          Case{PictureFormat::Tiff, nullptr, true}}) {
        const Bytes encoded = picture.encode(c.format);
        ASSERT_GT(encoded.size(), 8u);
        if (c.magic) {
            EXPECT_EQ(0, std::memcmp(encoded.data(), c.magic, std::strlen(c.magic)));
        }
        const Picture back = decode(encoded);
        ASSERT_FALSE(back.isNull()) << int(c.format);
        EXPECT_EQ(QImage::Format_ARGB32, back.image().format());
        ASSERT_EQ(source.size(), back.image().size());
        for (int y = 0; y < source.height(); ++y) {
            for (int x = 0; x < source.width(); ++x) {
                const QRgb want = source.pixel(x, y), got = back.image().pixel(x, y);
                if (c.keepsAlpha && qAlpha(want) == 0) {
                    EXPECT_EQ(0, qAlpha(got));
                    continue;
                }
                const QRgb expected = c.keepsAlpha ? want : want | 0xFF000000u;
                EXPECT_EQ(expected, got) << int(c.format) << " at " << x << "," << y;
            }
        }
    }
}

TEST(PictureTest, JpegRoundTripsWithinTolerance)
{
    QImage source(32, 24, QImage::Format_ARGB32); // smooth: JPEG keeps it closely
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(x * 8, y * 10, 128 + x * 2 - y * 3));
    const Bytes encoded = Picture(source).encode(PictureFormat::Jpeg, 95);
    ASSERT_GT(encoded.size(), 3u);
    EXPECT_EQ(0xFF, encoded[0]);
    EXPECT_EQ(0xD8, encoded[1]);
    const Picture back = decode(encoded);
    ASSERT_EQ(source.size(), back.image().size());
    long total = 0;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb a = source.pixel(x, y), b = back.image().pixel(x, y);
            total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                     std::abs(qBlue(a) - qBlue(b));
            EXPECT_EQ(255, qAlpha(b));
        }
    }
    EXPECT_LT(double(total) / (3.0 * source.width() * source.height()), 4.0);
    // A lower quality gives a smaller file: the quality reaches the encoder.
    EXPECT_LT(Picture(source).encode(PictureFormat::Jpeg, 5).size(), encoded.size());
}

TEST(PictureTest, GifKeepsEveryFrameWithItsDelay)
{
    const Bytes file = gif(2, 2, {{{0, 1, 2, 3}, 10}, {{1, 1, 1, 1}, 20}, {{2, 3, 3, 2}, 30}});
    const Picture picture = decode(file);
    ASSERT_EQ(3, picture.frameCount());
    EXPECT_TRUE(picture.isAnimated());
    EXPECT_EQ(2, picture.width());
    EXPECT_EQ(100, picture.frameDelayMs(0));
    EXPECT_EQ(200, picture.frameDelayMs(1));
    EXPECT_EQ(300, picture.frameDelayMs(2));
    EXPECT_EQ(picture.image(), picture.frame(0));
    EXPECT_EQ(qRgb(255, 0, 0), picture.frame(0).pixel(0, 0));
    EXPECT_EQ(qRgb(0, 255, 0), picture.frame(0).pixel(1, 0));
    EXPECT_EQ(qRgb(0, 0, 255), picture.frame(0).pixel(0, 1));
    EXPECT_EQ(qRgb(255, 255, 255), picture.frame(0).pixel(1, 1));
    EXPECT_EQ(qRgb(0, 255, 0), picture.frame(1).pixel(1, 1));
    EXPECT_EQ(qRgb(255, 255, 255), picture.frame(2).pixel(1, 0));
    EXPECT_EQ(qRgb(0, 0, 255), picture.frame(2).pixel(1, 1));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(QImage::Format_ARGB32, picture.frame(i).format());
    EXPECT_THROW(picture.frame(3), std::out_of_range);

    const Picture still = decode(gif(2, 2, {{{3, 2, 1, 0}, 0}}));
    ASSERT_EQ(1, still.frameCount());
    EXPECT_FALSE(still.isAnimated());
}

TEST(PictureTest, BottomUpBmpDecodesWithRowZeroAtTop)
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    const QRgb stored[2][2] = {{red, red}, {blue, blue}};
    const Picture bottomUp = decode(bmp2x2(2, stored));
    ASSERT_FALSE(bottomUp.isNull());
    EXPECT_EQ(blue, bottomUp.image().pixel(0, 0));
    EXPECT_EQ(red, bottomUp.image().pixel(1, 1));
    // A negative height stores the top row first.
    const Picture topDown = decode(bmp2x2(-2, stored));
    ASSERT_FALSE(topDown.isNull());
    EXPECT_EQ(red, topDown.image().pixel(0, 0));
    EXPECT_EQ(blue, topDown.image().pixel(1, 1));
    // Qt's own writer stores bottom-up; the row order survives the round trip.
    const Picture back = decode(topDown.encode(PictureFormat::Bmp));
    EXPECT_EQ(red, back.image().pixel(0, 0));
}

TEST(PictureTest, NullOrEmptyInputGivesNullPicture)
{
    const Bytes file = Picture(testImage(4, 4)).encode(PictureFormat::Png);
    EXPECT_TRUE(Picture::decode(nullptr, 0).isNull());
    EXPECT_TRUE(Picture::decode(nullptr, file.size()).isNull());
    EXPECT_TRUE(Picture::decode(file.data(), 0).isNull());
    EXPECT_TRUE(Picture::decode(file.data(), size_t(INT_MAX) + 1).isNull()); // not read
    EXPECT_FALSE(decode(file).isNull());
}

TEST(PictureTest, TruncatedFilesGiveNullPictures)
{
    const Picture picture(testImage(40, 30));
    for (PictureFormat format :
         {PictureFormat::Bmp, PictureFormat::Jpeg, PictureFormat::Png, PictureFormat::Tiff}) {
        const Bytes file = picture.encode(format);
        ASSERT_FALSE(decode(file).isNull()) << int(format);
        for (size_t size : {size_t(2), size_t(20), file.size() / 2, file.size() * 9 / 10})
            EXPECT_TRUE(decode(truncated(file, size)).isNull()) << int(format) << " " << size;
    }
    // Cut just before the last byte: BMP pixels, the JPEG end marker, the PNG end chunk.
    for (PictureFormat format : {PictureFormat::Bmp, PictureFormat::Jpeg, PictureFormat::Png}) {
        const Bytes file = picture.encode(format);
        EXPECT_TRUE(decode(truncated(file, file.size() - 1)).isNull()) << int(format);
    }
    const Bytes animation = gif(2, 2, {{{0, 1, 2, 3}, 10}, {{1, 1, 1, 1}, 20}});
    for (size_t size : {size_t(10), size_t(30), animation.size() / 2, animation.size() - 1})
        EXPECT_TRUE(decode(truncated(animation, size)).isNull()) << "gif " << size;
}

TEST(PictureTest, CorruptFilesGiveNullPictures)
{
    Bytes garbage(300);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = (unsigned char)(i * 7919 % 251);
    EXPECT_TRUE(decode(garbage).isNull());
    for (const Bytes& magic :
         {Bytes{'B', 'M'}, Bytes{0xFF, 0xD8, 0xFF},
          Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, Bytes{'G', 'I', 'F', '8', '9', 'a'},
          Bytes{'I', 'I', '*', 0}, Bytes{'M', 'M', 0, '*'}}) {
        Bytes file = garbage;
        std::copy(magic.begin(), magic.end(), file.begin());
        EXPECT_TRUE(decode(file).isNull()) << int(magic[0]);
    }
    // A BMP whose header names 7 bits a pixel.
    const QRgb grey[2][2] = {{qRgb(9, 9, 9), qRgb(9, 9, 9)}, {qRgb(9, 9, 9), qRgb(9, 9, 9)}};
    Bytes bmp = bmp2x2(2, grey);
    bmp[28] = 7;
    EXPECT_TRUE(decode(bmp).isNull());
    // A PNG whose header chunk fails its checksum.
    Bytes badCrc = png(2, 2);
    ASSERT_FALSE(decode(badCrc).isNull());
    badCrc[16 + 13] ^= 0xFF;
    EXPECT_TRUE(decode(badCrc).isNull());
}

TEST(PictureTest, AbsurdSizesAreRefusedBeforeDecoding)
{
    // Each header is valid; only the size it claims is too large to allocate.
    ASSERT_FALSE(decode(png(2, 2)).isNull());
    EXPECT_TRUE(decode(png(100000, 100000)).isNull());
    // A picture one pixel wider than the limit is small, whole and still refused.
    const Picture widest = decode(png(Picture::kMaxSide, 1));
    ASSERT_FALSE(widest.isNull());
    EXPECT_EQ(qRgb(30, 30, 30), widest.image().pixel(3, 0));
    EXPECT_TRUE(decode(png(Picture::kMaxSide + 1, 1)).isNull());
    EXPECT_TRUE(decode(png(1, Picture::kMaxSide + 1)).isNull());

    Bytes jpeg = Picture(testImage(16, 16)).encode(PictureFormat::Jpeg);
    ASSERT_FALSE(decode(jpeg).isNull());
    size_t sof = 2;
    while (sof + 4 < jpeg.size() && !(jpeg[sof] == 0xFF && jpeg[sof + 1] == 0xC0))
        sof += 2 + (size_t(jpeg[sof + 2]) << 8 | jpeg[sof + 3]);
    ASSERT_LT(sof + 9, jpeg.size());
    jpeg[sof + 5] = 0xEA; // height 60000
    jpeg[sof + 6] = 0x60;
    jpeg[sof + 7] = 0xEA; // width 60000
    jpeg[sof + 8] = 0x60;
    EXPECT_TRUE(decode(jpeg).isNull());

    EXPECT_TRUE(decode(gif(65535, 65535, {{{0, 1, 2, 3}, 0}})).isNull());

    const QRgb grey[2][2] = {{qRgb(9, 9, 9), qRgb(9, 9, 9)}, {qRgb(9, 9, 9), qRgb(9, 9, 9)}};
    Bytes bmp = bmp2x2(2, grey);
    bmp[22] = 0xA0; // height 100000, pixel data far short of it
    bmp[23] = 0x86;
    bmp[24] = 0x01;
    EXPECT_TRUE(decode(bmp).isNull());
}

TEST(PictureTest, SaveWritesTheEncodedFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Picture picture(testImage(8, 6));
    const std::string path = dir.filePath("tile.png").toStdString();
    picture.save(path, PictureFormat::Png);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    const Bytes expected = picture.encode(PictureFormat::Png);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(expected.data()), int(expected.size())),
              written);
}

TEST(PictureTest, SaveFailuresThrowFileErrorNamingThePath)
{
    QTemporaryDir dir;
    const std::string missing = dir.filePath("no/such/folder/room.tif").toStdString();
    try {
        Picture(testImage(4, 4)).save(missing, PictureFormat::Tiff);
        FAIL() << "no FileError";
    } catch (const vs::FileError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find(missing));
    }
    const std::string path = dir.filePath("null.bmp").toStdString();
    EXPECT_THROW(Picture().save(path, PictureFormat::Bmp), vs::FileError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}
