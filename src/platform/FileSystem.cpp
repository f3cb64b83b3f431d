#include "platform/FileSystem.h"

#include "platform/Errors.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vs {
namespace {

std::string withoutTrailingSlash(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

FileError fileError(const char* what, const std::string& path)
{
    return FileError(std::string(what) + " \"" + path + "\": " + std::strerror(errno));
}

/** Closes a descriptor when it goes out of scope. */
struct Fd
{
    int fd;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

bool pathExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::lstat(withoutTrailingSlash(path).c_str(), &st) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createDirectory(const std::string& path)
{
    return !path.empty() && ::mkdir(withoutTrailingSlash(path).c_str(), 0777) == 0;
}

bool ensureDirectory(const std::string& path)
{
    if (pathExists(path))
        return isDirectory(path);
    return createDirectory(path);
}

std::string readWholeFile(const std::string& path)
{
    Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (f.fd < 0)
        throw fileError("cannot open", path);
    ::flock(f.fd, LOCK_SH);
    struct stat st;
    if (::fstat(f.fd, &st) != 0)
        throw fileError("cannot read", path);
    if (!S_ISREG(st.st_mode))
        throw FileError("not a file \"" + path + "\"");
    std::string data;
    data.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(f.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw fileError("cannot read", path);
        }
        if (n == 0)
            break;
        data.append(buffer, static_cast<size_t>(n));
    }
    return data;
}

void writeWholeFile(const std::string& path, const void* data, size_t size)
{
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        Fd f{::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)};
        if (f.fd < 0)
            throw fileError("cannot create", temporary);
        const char* p = static_cast<const char*>(data);
        size_t left = size;
        while (left > 0) {
            ssize_t n = ::write(f.fd, p, left);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                int saved = errno;
                ::unlink(temporary.c_str());
                errno = saved;
                throw fileError("cannot write", path);
            }
            p += n;
            left -= static_cast<size_t>(n);
        }
        if (::fsync(f.fd) != 0 && errno != EINVAL) {
            ::unlink(temporary.c_str());
            throw fileError("cannot write", path);
        }
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        throw fileError("cannot write", path);
    }
}

void setEnvironment(const std::string& name, const std::string& value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

std::string environment(const std::string& name)
{
    const char* v = std::getenv(name.c_str());
    return v ? v : "";
}

void changeDirectory(const std::string& path)
{
    if (::chdir(path.c_str()) != 0)
        throw fileError("cannot change to", path);
}

std::string currentDirectory()
{
    char buffer[4096];
    if (::getcwd(buffer, sizeof buffer) == nullptr)
        throw FileError(std::string("cannot read the current directory: ") + std::strerror(errno));
    std::string dir = buffer;
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

} // namespace vs
