// The picture a display driver collects bucket by bucket and writes atomically at close.
#pragma once

#include "../include/ri_display.h"

#include <string>
#include <vector>

namespace ri {

class ImageFile
{
public:
    /// `format`: an image format name of the image library ("tiff", "zfile", "hdr").
    ImageFile(std::string name, const RiDisplayFormat& fmt, std::string format);

    /// Stores pixels of [x0, x1) x [y0, y1); false when they fall outside the image.
    bool put(int x0, int y0, int x1, int y1, const float* data);

    /// Writes the file under a temporary name and renames it over `name`.
    bool write(std::string& error) const;

    const std::string& name() const { return name_; }
    const RiDisplayFormat& format() const { return fmt_; }
    const std::vector<float>& pixels() const { return pixels_; }

private:
    std::string name_;
    RiDisplayFormat fmt_;
    std::string channelNames_;
    std::string fileFormat_;
    std::vector<float> pixels_;
};

/// Copies a message into a driver's error buffer.
void setError(char* buffer, int size, const std::string& message);

} // namespace ri
