// The "framebuffer" display: shows the picture forming bucket by bucket in a window of the
// viewer program (riviewer, fed through a socket) and also writes the named file as a TIFF.
// The viewer runs detached, so its window stays open after the rendering process has done its
// work, until the user closes it. Without an X display only the file is written.
#include "ImageFile.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Framebuffer
{
    std::unique_ptr<ri::ImageFile> image;
    int socket = -1;
};

std::string driverDirectory()
{
    Dl_info info;
    if (!dladdr(reinterpret_cast<void*>(&driverDirectory), &info) || !info.dli_fname)
        return ".";
    std::string p = info.dli_fname;
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string findViewer()
{
    const char* env = std::getenv("RI_VIEWER");
    if (env && *env)
        return env;
    std::string dir = driverDirectory();
    for (const std::string& candidate : {dir + "/riviewer", dir + "/../bin/riviewer"})
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    const char* path = std::getenv("PATH");
    std::string all = path ? path : "";
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(':', start);
        std::string d =
            all.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!d.empty() && ::access((d + "/riviewer").c_str(), X_OK) == 0)
            return d + "/riviewer";
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return {};
}

bool sendAll(int fd, const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        p += n;
        size -= size_t(n);
    }
    return true;
}

/// Starts the viewer detached (its own session, reparented to init) reading `fd`.
int startViewer(const std::string& viewer, const std::string& title, int width, int height)
{
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        return -1;
    std::string w = std::to_string(width), h = std::to_string(height);
    pid_t pid = ::fork();
    if (pid < 0) {
        ::close(sv[0]);
        ::close(sv[1]);
        return -1;
    }
    if (pid == 0) {
        ::setsid();
        if (::fork() == 0) {
            // The viewer keeps nothing of the renderer's process but the socket: an inherited
            // pipe (a test runner's output, say) would otherwise stay open as long as it.
            ::dup2(sv[1], 0);
            int devnull = ::open("/dev/null", O_WRONLY);
            if (devnull >= 0) {
                ::dup2(devnull, 1);
                ::dup2(devnull, 2);
            }
            for (int fd = 3; fd < 1024; ++fd)
                ::close(fd);
            const char* argv[] = {viewer.c_str(), title.c_str(), w.c_str(), h.c_str(), nullptr};
            ::execv(viewer.c_str(), const_cast<char* const*>(argv));
            ::_exit(127);
        }
        ::_exit(0);
    }
    ::close(sv[1]);
    int status;
    ::waitpid(pid, &status, 0);
    return sv[0];
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) void*
RiDisplayOpen(const char* name, const RiDisplayFormat* fmt, char* error, int errorSize)
{
    if (!name || !*name || !fmt || fmt->width <= 0 || fmt->height <= 0 || fmt->channels <= 0) {
        ri::setError(error, errorSize, "framebuffer display: bad image");
        return nullptr;
    }
    auto fb = std::make_unique<Framebuffer>();
    try {
        fb->image = std::make_unique<ri::ImageFile>(name, *fmt, "tiff");
    } catch (const std::exception& e) {
        ri::setError(error, errorSize, std::string("framebuffer display: ") + e.what());
        return nullptr;
    }
    const char* display = std::getenv("DISPLAY");
    std::string viewer = findViewer();
    if (!display || !*display || viewer.empty()) {
        std::fprintf(stderr, "framebuffer: %s; the picture is written to \"%s\" only\n",
                     !display || !*display ? "no display" : "no viewer program", name);
    } else {
        fb->socket = startViewer(viewer, name, fmt->width, fmt->height);
    }
    return fb.release();
}

__attribute__((visibility("default"))) int RiDisplayData(void* handle, int x0, int y0, int x1,
                                                         int y1, const float* data)
{
    auto* fb = static_cast<Framebuffer*>(handle);
    if (!fb || !fb->image->put(x0, y0, x1, y1, data))
        return 1;
    if (fb->socket >= 0) {
        // One message per bucket: its rectangle, then 8-bit RGB rows.
        const RiDisplayFormat& f = fb->image->format();
        std::string names = f.channelNames ? f.channelNames : "";
        size_t c = size_t(f.channels);
        size_t r = names.find('r'), g = names.find('g'), b = names.find('b');
        float scale = f.bitsPerSample == 8 ? 1.f : f.bitsPerSample == 16 ? 255.f / 65535 : 255.f;
        size_t n = size_t(x1 - x0) * size_t(y1 - y0);
        std::vector<unsigned char> rgb(n * 3);
        for (size_t p = 0; p < n; ++p)
            for (size_t k = 0; k < 3; ++k) {
                size_t ch = k == 0 ? r : k == 1 ? g : b;
                float v = ch == std::string::npos ? data[p * c] : data[p * c + ch];
                v *= scale;
                rgb[p * 3 + k] = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v + 0.5f);
            }
        int32_t header[4] = {x0, y0, x1, y1};
        if (!sendAll(fb->socket, header, sizeof header) ||
            !sendAll(fb->socket, rgb.data(), rgb.size())) {
            ::close(fb->socket); // the window was closed: go on writing the file only
            fb->socket = -1;
        }
    }
    return 0;
}

__attribute__((visibility("default"))) int RiDisplayClose(void* handle, int commit, char* error,
                                                          int errorSize)
{
    std::unique_ptr<Framebuffer> fb(static_cast<Framebuffer*>(handle));
    if (!fb)
        return 0;
    if (fb->socket >= 0)
        ::close(fb->socket);
    if (!commit)
        return 0;
    std::string e;
    if (!fb->image->write(e)) {
        ri::setError(error, errorSize, e);
        return 1;
    }
    return 0;
}
}
