// The "file" (also "tiff") and "zfile" display: an 8-bit, 16-bit or float TIFF of rgb, rgba or
// z; with mode "z" (or type "zfile") a depth file with its two matrices, as shadow maps are
// made from.
#include "ImageFile.h"

#include <cstring>
#include <memory>

using ri::ImageFile;

extern "C" {

__attribute__((visibility("default"))) void*
RiDisplayOpen(const char* name, const RiDisplayFormat* fmt, char* error, int errorSize)
{
    if (!name || !*name || !fmt || fmt->width <= 0 || fmt->height <= 0 || fmt->channels <= 0) {
        ri::setError(error, errorSize, "file display: bad image");
        return nullptr;
    }
    bool depth = fmt->channelNames && std::strcmp(fmt->channelNames, "z") == 0;
    try {
        return new ImageFile(name, *fmt, depth ? "zfile" : "tiff");
    } catch (const std::exception& e) {
        ri::setError(error, errorSize, std::string("file display: ") + e.what());
        return nullptr;
    }
}

__attribute__((visibility("default"))) int RiDisplayData(void* handle, int x0, int y0, int x1,
                                                         int y1, const float* data)
{
    return handle && static_cast<ImageFile*>(handle)->put(x0, y0, x1, y1, data) ? 0 : 1;
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
