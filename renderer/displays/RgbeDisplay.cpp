// The "rgbe" display: a Radiance HDR picture of the unquantised colours.
#include "ImageFile.h"

#include <memory>
#include <stdexcept>
#include <string>

using ri::ImageFile;

extern "C" {

__attribute__((visibility("default"))) void*
RiDisplayOpen(const char* name, const RiDisplayFormat* fmt, char* error, int errorSize)
{
    if (!name || !*name || !fmt || fmt->width <= 0 || fmt->height <= 0 || fmt->channels < 3) {
        ri::setError(error, errorSize, "rgbe display: needs an image of rgb");
        return nullptr;
    }
    RiDisplayFormat f = *fmt;
    f.bitsPerSample = 32;
    try {
        return new ImageFile(name, f, "hdr");
    } catch (const std::exception& e) {
        ri::setError(error, errorSize, std::string("rgbe display: ") + e.what());
        return nullptr;
    }
}

__attribute__((visibility("default"))) int RiDisplayData(void* handle, int x0, int y0, int x1,
                                                         int y1, const float* data)
{
    auto* image = static_cast<ImageFile*>(handle);
    return image && image->put(x0, y0, x1, y1, data) ? 0 : 1;
}

__attribute__((visibility("default"))) int RiDisplayClose(void* handle, int commit, char* error,
                                                          int errorSize)
{
    std::unique_ptr<ImageFile> image(static_cast<ImageFile*>(handle));
    if (!image || !commit)
        return 0;
    std::string e;
    if (!image->write(e)) {
        ri::setError(error, errorSize, e);
        return 1;
    }
    return 0;
}
}
