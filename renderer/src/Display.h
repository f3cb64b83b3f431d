// Display drivers: loaded by type from $PIXIEHOME/TYPE.so, else from the folder libri.so lives
// in; "tiff" is the "file" driver.
#pragma once

#include "../include/ri_display.h"

#include <memory>
#include <string>

namespace ri {

/// The folder libri.so was loaded from (no trailing slash); empty when unknown.
std::string libraryDirectory();

class DisplayDriver
{
public:
    /// Loads the driver for a display type; null with `error` set when none is found.
    static std::unique_ptr<DisplayDriver> load(const std::string& type,
                                               const std::string& searchPath, std::string& error);
    ~DisplayDriver();

    bool open(const std::string& name, const RiDisplayFormat& format, std::string& error);
    bool data(int x0, int y0, int x1, int y1, const float* pixels);
    bool close(bool commit, std::string& error);

private:
    DisplayDriver() = default;
    void* library_ = nullptr;
    void* image_ = nullptr;
    RiDisplayOpenFunc open_ = nullptr;
    RiDisplayDataFunc data_ = nullptr;
    RiDisplayCloseFunc close_ = nullptr;
};

} // namespace ri
