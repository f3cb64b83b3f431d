// The module's one picture type: 32-bit ARGB, top-down, over QImage. Pictures come from host
// memory (catalogue pictures, samples) and from the module's resources, and are handed to the
// engine and the renderer; decoding never trusts its input.
#pragma once

#include <QImage>
#include <cstddef>
#include <string>
#include <vector>

/** File formats a picture can be encoded as. */
enum class PictureFormat { Bmp, Jpeg, Tiff, Png };

/** A decoded picture: one frame for still pictures, every frame of an animated GIF. Frames are
 *  QImage::Format_ARGB32 (not premultiplied), row 0 at the top. Copies share pixel data. */
class Picture
{
public:
    /** Largest width or height decode accepts, in pixels. */
    static constexpr int kMaxSide = 16384;
    /** Most frames decode keeps of an animation. */
    static constexpr int kMaxFrames = 4096;
    /** Most pixel bytes decode keeps over all frames of an animation; frames beyond are
     *  dropped. */
    static constexpr size_t kMaxTotalBytes = size_t(1) << 30;

    /** Creates a null picture. */
    Picture();

    /** Creates a one-frame picture from `image`, converted to Format_ARGB32; a null image gives
     *  a null picture. */
    explicit Picture(const QImage& image);

    /** Decodes an image file held in memory: BMP, JPEG, PNG, GIF or TIFF, told apart by their
     *  content, not by any name. A null pointer, size 0, a size beyond INT_MAX, an unknown
     *  format, a truncated or corrupt file, or a picture wider or higher than kMaxSide gives a
     *  null picture; nothing is thrown. A GIF keeps all its animation frames (frame 0 is
     *  image()); a multi-page TIFF gives its first page. The bytes are not kept. */
    static Picture decode(const void* data, size_t size);

    /** Returns true when the picture has no frame. */
    bool isNull() const { return frames_.empty(); }

    /** Returns the width in pixels, 0 for a null picture. */
    int width() const { return image().width(); }

    /** Returns the height in pixels, 0 for a null picture. */
    int height() const { return image().height(); }

    /** Returns the first frame (Format_ARGB32, top-down), or a null image for a null picture. */
    const QImage& image() const;

    /** Returns the number of frames: 1 for still pictures, 0 for a null picture. */
    int frameCount() const { return int(frames_.size()); }

    /** Returns frame `index`; throws std::out_of_range when there is no such frame. */
    const QImage& frame(int index) const;

    /** Returns how long frame `index` of an animation is shown, in milliseconds (0 for stills);
     *  throws std::out_of_range when there is no such frame. */
    int frameDelayMs(int index) const;

    /** Returns true when the picture has more than one frame. */
    bool isAnimated() const { return frames_.size() > 1; }

    /** Encodes the first frame as an image file: BMP (24 bits, alpha dropped), JPEG (alpha
     *  dropped; `jpegQuality` 0..100, clamped), TIFF or PNG (both keep alpha). Returns an empty
     *  vector for a null picture or when the encoder fails. */
    std::vector<unsigned char> encode(PictureFormat format, int jpegQuality = 90) const;

    /** Writes encode(format, jpegQuality) to the file `path` (bytes passed to the system as
     *  given). Throws vs::FileError naming the path when there is nothing to write or the file
     *  cannot be written; a partly written file is removed. */
    void save(const std::string& path, PictureFormat format, int jpegQuality = 90) const;

private:
    std::vector<QImage> frames_;
    std::vector<int> delaysMs_;
};
