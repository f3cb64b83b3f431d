#include "AtomicFile.h"

#include "HostErrors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vhost {
namespace {

std::string describe(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

/** Writes bytes to a new temporary file beside `path`, flushed; returns its name. */
std::string writeTemporary(const std::string& path, const std::string& bytes)
{
    std::string name = path + ".XXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0)
        throw FileError(describe("cannot create a temporary file beside", path));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const std::string message = describe("cannot write", name);
            ::close(fd);
            ::unlink(name.c_str());
            throw FileError(message);
        }
        done += size_t(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const std::string message = describe("cannot flush", name);
        ::unlink(name.c_str());
        throw FileError(message);
    }
    return name;
}

} // namespace

std::vector<uint8_t> readWholeFile(const std::string& path, size_t maxSize)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        throw FileError(describe("cannot open", path));
    struct stat info
    {
    };
    if (::fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        throw FileError("cannot read " + path + ": not a regular file");
    }
    if (size_t(info.st_size) > maxSize) {
        std::fclose(file);
        throw FileError("cannot read " + path + ": larger than " + std::to_string(maxSize) +
                        " bytes");
    }
    std::vector<uint8_t> bytes(size_t(info.st_size));
    const size_t read = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0 || read != bytes.size();
    std::fclose(file);
    if (failed)
        throw FileError("cannot read " + path + ": short read");
    return bytes;
}

std::string readTextFile(const std::string& path, size_t maxSize)
{
    std::vector<uint8_t> bytes = readWholeFile(path, maxSize);
    return std::string(bytes.begin(), bytes.end());
}

void saveAtomically(const std::string& path, const std::string& bytes, bool keepPrevious)
{
    const std::string temporary = writeTemporary(path, bytes);
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) == 0 && keepPrevious) {
        // Keep the previous version: copied rather than renamed, so `path` exists throughout.
        try {
            const std::vector<uint8_t> previous = readWholeFile(path, size_t(-1));
            const std::string backup =
                writeTemporary(path + "~", std::string(previous.begin(), previous.end()));
            if (std::rename(backup.c_str(), (path + "~").c_str()) != 0) {
                const std::string message = describe("cannot keep the previous version of", path);
                ::unlink(backup.c_str());
                throw FileError(message);
            }
        } catch (const FileError&) {
            ::unlink(temporary.c_str());
            throw;
        }
        ::chmod(temporary.c_str(), info.st_mode & 07777);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string message = describe("cannot replace", path);
        ::unlink(temporary.c_str());
        throw FileError(message);
    }
}

} // namespace vhost
