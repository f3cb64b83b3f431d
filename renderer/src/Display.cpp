#include "Display.h"

#include <dlfcn.h>
#include <sstream>
#include <sys/stat.h>

namespace ri {

namespace {

bool fileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::string libraryDirectory()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&libraryDirectory), &info) || !info.dli_fname)
        return {};
    std::string path = info.dli_fname;
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::unique_ptr<DisplayDriver>
DisplayDriver::load(const std::string& type, const std::string& searchPath, std::string& error)
{
    std::string name = type == "tiff" ? "file" : type;
    if (name.empty() || name.find('/') != std::string::npos) {
        error = "bad display type \"" + type + "\"";
        return nullptr;
    }
    std::string folders = searchPath;
    const char* home = std::getenv("PIXIEHOME");
    if (home && *home)
        folders += std::string(folders.empty() ? "" : ":") + home;
    folders += ":" + libraryDirectory();
    std::istringstream in(folders);
    std::string folder;
    while (std::getline(in, folder, ':')) {
        if (folder.empty())
            continue;
        std::string path = folder + "/" + name + ".so";
        if (!fileExists(path))
            continue;
        void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            const char* e = dlerror();
            error = "cannot load display driver \"" + path + "\": " + (e ? e : "");
            return nullptr;
        }
        std::unique_ptr<DisplayDriver> d(new DisplayDriver);
        d->library_ = lib;
        d->open_ = reinterpret_cast<RiDisplayOpenFunc>(dlsym(lib, RI_DISPLAY_OPEN));
        d->data_ = reinterpret_cast<RiDisplayDataFunc>(dlsym(lib, RI_DISPLAY_DATA));
        d->close_ = reinterpret_cast<RiDisplayCloseFunc>(dlsym(lib, RI_DISPLAY_CLOSE));
        if (!d->open_ || !d->data_ || !d->close_) {
            error = "\"" + path + "\" is not a display driver";
            return nullptr;
        }
        return d;
    }
    error = "no display driver \"" + name + ".so\" found";
    return nullptr;
}

DisplayDriver::~DisplayDriver()
{
    if (image_ && close_) {
        char buf[256];
        close_(image_, 0, buf, sizeof buf);
    }
    // The library stays loaded: a driver may have left a viewer thread or process behind it.
}

bool DisplayDriver::open(const std::string& name, const RiDisplayFormat& format, std::string& error)
{
    char buf[512] = {0};
    image_ = open_(name.c_str(), &format, buf, sizeof buf);
    if (!image_)
        error = buf[0] ? buf : "cannot open display \"" + name + "\"";
    return image_ != nullptr;
}

bool DisplayDriver::data(int x0, int y0, int x1, int y1, const float* pixels)
{
    return image_ && data_(image_, x0, y0, x1, y1, pixels) == 0;
}

bool DisplayDriver::close(bool commit, std::string& error)
{
    if (!image_)
        return false;
    char buf[512] = {0};
    int rc = close_(image_, commit ? 1 : 0, buf, sizeof buf);
    image_ = nullptr;
    if (rc != 0)
        error = buf[0] ? buf : "cannot write the display";
    return rc == 0;
}

} // namespace ri
