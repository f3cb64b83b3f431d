#include "platform/Picture.h"

#include "platform/Errors.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

// Qt's decoders accept files cut short (BMP, JPEG and some GIFs come back with their missing
// part filled in), so each container is walked first: a file whose structure ends before its
// end marker, or whose pixel data is shorter than its header says, is refused.

uint32_t le16(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t le32(const unsigned char* p)
{
    return le16(p) | le16(p + 2) << 16;
}

uint32_t be32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

/** Walks an RLE4/RLE8 pixel stream from `p` and returns true when it reaches its end marker. */
bool bmpRleComplete(const unsigned char* d, size_t n, size_t p, bool rle8)
{
    while (p + 2 <= n) {
        const unsigned count = d[p];
        const unsigned value = d[p + 1];
        p += 2;
        if (count != 0 || value == 0)
            continue; // an encoded run, or the end of a line
        if (value == 1)
            return true; // the end of the bitmap
        if (value == 2) {
            p += 2; // a jump
            continue;
        }
        const size_t bytes = rle8 ? value : (value + 1) / 2;
        p += (bytes + 1) & ~size_t(1); // absolute run, padded to 16 bits
    }
    return false;
}

bool bmpComplete(const unsigned char* d, size_t n)
{
    if (n < 26)
        return false;
    const size_t offset = le32(d + 10);
    const uint32_t headerSize = le32(d + 14);
    int64_t width = 0, height = 0;
    uint32_t bitCount = 0, compression = 0;
    if (headerSize == 12) {
        width = int16_t(le16(d + 18));
        height = int16_t(le16(d + 20));
        bitCount = le16(d + 24);
    } else if (headerSize >= 40 && n >= 34) {
        width = int32_t(le32(d + 18));
        height = int32_t(le32(d + 22));
        bitCount = le16(d + 28);
        compression = le32(d + 30);
    } else {
        return false;
    }
    const int64_t rows = height < 0 ? -height : height;
    if (offset >= n || offset < 14 + size_t(headerSize) || width <= 0 || rows == 0 ||
        width > Picture::kMaxSide || rows > Picture::kMaxSide)
        return false;
    switch (compression) {
    case 0: // uncompressed
    case 3: // bit fields
    case 6: // bit fields with alpha
        break;
    case 1:
        return bitCount == 8 && bmpRleComplete(d, n, offset, true);
    case 2:
        return bitCount == 4 && bmpRleComplete(d, n, offset, false);
    default:
        return false;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        return false;
    const uint64_t stride = (uint64_t(width) * bitCount + 31) / 32 * 4;
    return stride * uint64_t(rows) <= n - offset;
}

/** Returns true when the JPEG stream runs from its start marker through its end marker. */
bool jpegComplete(const unsigned char* d, size_t n)
{
    size_t p = 2; // after the start-of-image marker
    while (true) {
        if (p >= n || d[p] != 0xFF)
            return false;
        while (p < n && d[p] == 0xFF)
            ++p; // fill bytes
        if (p >= n)
            return false;
        const unsigned marker = d[p++];
        if (marker == 0xD9)
            return true; // end of image
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue; // markers without a segment
        if (marker == 0x00 || p + 2 > n)
            return false;
        const size_t length = size_t(d[p]) << 8 | d[p + 1];
        if (length < 2 || length > n - p)
            return false;
        p += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs up to the next marker: 0xFF not followed by a stuffed zero, a
        // restart marker or another fill byte.
        while (true) {
            const void* ff = p < n ? std::memchr(d + p, 0xFF, n - p) : nullptr;
            if (!ff)
                return false;
            p = size_t(static_cast<const unsigned char*>(ff) - d);
            if (p + 1 >= n)
                return false;
            const unsigned next = d[p + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7))
                p += 2;
            else if (next == 0xFF)
                p += 1;
            else
                break;
        }
    }
}

/** Returns true when every PNG chunk is whole, up to and including IEND. */
bool pngComplete(const unsigned char* d, size_t n)
{
    size_t p = 8; // after the signature
    while (n - p >= 12) {
        const uint32_t length = be32(d + p);
        if (length > 0x7FFFFFFFu || length > n - p - 12)
            return false;
        const bool end = std::memcmp(d + p + 4, "IEND", 4) == 0;
        p += 12 + size_t(length);
        if (end)
            return true;
    }
    return false;
}

/** Skips a GIF data sub-block chain at `p`; returns false when the data ends inside it. */
bool gifSkipSubBlocks(const unsigned char* d, size_t n, size_t& p)
{
    while (p < n) {
        const size_t size = d[p++];
        if (size == 0)
            return true;
        if (size > n - p)
            return false;
        p += size;
    }
    return false;
}

/** Returns true when every GIF block is whole, up to and including the trailer. */
bool gifComplete(const unsigned char* d, size_t n)
{
    if (n < 13)
        return false;
    size_t p = 13;
    if (d[10] & 0x80)
        p += 3 * (size_t(2) << (d[10] & 7)); // global colour table
    while (p < n) {
        const unsigned block = d[p++];
        if (block == 0x3B)
            return true;
        if (block == 0x21) { // extension: label, then sub-blocks
            if (p >= n)
                return false;
            ++p;
        } else if (block == 0x2C) { // image: descriptor, local colour table, code size
            if (n - p < 10)
                return false;
            const unsigned flags = d[p + 8];
            p += 9;
            if (flags & 0x80)
                p += 3 * (size_t(2) << (flags & 7));
            if (p >= n)
                return false;
            ++p;
        } else {
            return false;
        }
        if (!gifSkipSubBlocks(d, n, p))
            return false;
    }
    return false;
}

/** Returns the Qt format name of the file in `d`, or null for a file this module does not
 *  read. */
const char* sniffFormat(const unsigned char* d, size_t n)
{
    if (n >= 2 && d[0] == 'B' && d[1] == 'M')
        return "bmp";
    if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF)
        return "jpeg";
    if (n >= 8 && std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0)
        return "png";
    if (n >= 6 && (std::memcmp(d, "GIF87a", 6) == 0 || std::memcmp(d, "GIF89a", 6) == 0))
        return "gif";
    if (n >= 4 && (std::memcmp(d, "II*\0", 4) == 0 || std::memcmp(d, "MM\0*", 4) == 0))
        return "tiff";
    return nullptr;
}

bool structureComplete(const char* format, const unsigned char* d, size_t n)
{
    if (std::strcmp(format, "bmp") == 0)
        return bmpComplete(d, n);
    if (std::strcmp(format, "jpeg") == 0)
        return jpegComplete(d, n);
    if (std::strcmp(format, "png") == 0)
        return pngComplete(d, n);
    if (std::strcmp(format, "gif") == 0)
        return gifComplete(d, n);
    return true; // TIFF: libtiff reports short strips and directories itself
}

bool sizeAcceptable(const QSize& size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= Picture::kMaxSide &&
           size.height() <= Picture::kMaxSide;
}

/** Checks the size a decoder read from a header; a top-down BMP reports a negative height. */
bool headerSizeAcceptable(const QSize& size)
{
    const int64_t width = size.width(), height = size.height();
    return sizeAcceptable(QSize(int(std::min<int64_t>(width < 0 ? -width : width, INT_MAX)),
                                int(std::min<int64_t>(height < 0 ? -height : height, INT_MAX))));
}

const char* formatName(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp:
        return "bmp";
    case PictureFormat::Jpeg:
        return "jpeg";
    case PictureFormat::Tiff:
        return "tiff";
    case PictureFormat::Png:
        return "png";
    }
    return "png";
}

} // namespace

Picture::Picture() = default;

Picture::Picture(const QImage& image)
{
    if (image.isNull())
        return;
    frames_.push_back(image.convertToFormat(QImage::Format_ARGB32));
    delaysMs_.push_back(0);
}

Picture Picture::decode(const void* data, size_t size)
{
    if (!data || size == 0 || size > size_t(INT_MAX))
        return Picture();
    const auto* bytes = static_cast<const unsigned char*>(data);
    const char* format = sniffFormat(bytes, size);
    if (!format || !structureComplete(format, bytes, size))
        return Picture();

    const QByteArray raw = QByteArray::fromRawData(static_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(raw);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoTransform(false);
    // The header's size is checked before any pixel memory is allocated.
    if (!reader.canRead() || !headerSizeAcceptable(reader.size()))
        return Picture();

    const bool animation = std::strcmp(format, "gif") == 0;
    const int wanted = animation ? std::min(std::max(reader.imageCount(), 1), kMaxFrames) : 1;
    Picture picture;
    size_t totalBytes = 0;
    for (int i = 0; i < wanted; ++i) {
        QImage frame;
        if (!reader.read(&frame) || !sizeAcceptable(frame.size()))
            break;
        frame.convertTo(QImage::Format_ARGB32);
        totalBytes += size_t(frame.sizeInBytes());
        if (totalBytes > kMaxTotalBytes)
            break;
        picture.frames_.push_back(frame);
        picture.delaysMs_.push_back(animation ? std::max(reader.nextImageDelay(), 0) : 0);
    }
    return picture;
}

const QImage& Picture::image() const
{
    static const QImage nullImage;
    return frames_.empty() ? nullImage : frames_.front();
}

const QImage& Picture::frame(int index) const
{
    if (index < 0 || index >= frameCount())
        throw std::out_of_range("picture frame " + std::to_string(index) + " of " +
                                std::to_string(frameCount()));
    return frames_[size_t(index)];
}

int Picture::frameDelayMs(int index) const
{
    if (index < 0 || index >= frameCount())
        throw std::out_of_range("picture frame " + std::to_string(index) + " of " +
                                std::to_string(frameCount()));
    return delaysMs_[size_t(index)];
}

std::vector<unsigned char> Picture::encode(PictureFormat format, int jpegQuality) const
{
    if (isNull())
        return {};
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, formatName(format));
    if (format == PictureFormat::Jpeg)
        writer.setQuality(std::clamp(jpegQuality, 0, 100));
    if (!writer.write(frames_.front()))
        return {};
    buffer.close();
    return std::vector<unsigned char>(out.cbegin(), out.cend());
}

void Picture::save(const std::string& path, PictureFormat format, int jpegQuality) const
{
    const std::vector<unsigned char> bytes = encode(format, jpegQuality);
    if (bytes.empty())
        throw vs::FileError("cannot encode the picture for " + path);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw vs::FileError("cannot create " + path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::remove(path.c_str());
        throw vs::FileError("cannot write " + path);
    }
}
