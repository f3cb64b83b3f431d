#include "platform/AtomicFile.h"

#include "platform/Errors.h"

#include <QByteArray>
#include <QFile>
#include <QImage>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vs {
namespace {

std::string folderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string extensionOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1))
        return {};
    return path.substr(dot);
}

std::string failure(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

/** A new, empty, hidden file beside `path`: "." + name + ".part" + random + extension. */
std::string createTemporaryBeside(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::string candidate = folder + "." + name + ".part" +
                                      std::to_string(random() % 1000000000u) + extensionOf(path);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            break;
    }
    throw FileError(failure("cannot create a temporary file beside", path));
}

/** Flushes a written file to disk; false when it cannot be opened or synced. */
bool syncFile(const std::string& file, mode_t mode, bool setMode)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (setMode)
        ::fchmod(fd, mode);
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    return ::close(fd) == 0 && synced;
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void replaceFileAtomically(const std::string& path,
                           const std::function<bool(const std::string& temporaryPath)>& write)
{
    if (path.empty())
        throw FileError("no file named");
    const std::string temporary = createTemporaryBeside(path);
    struct stat existing
    {
    };
    const bool keepMode = ::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    bool written = false;
    try {
        written = write(temporary);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        throw FileError("cannot write " + path);
    }
    if (!syncFile(temporary, existing.st_mode & 07777, keepMode)) {
        const std::string message = failure("cannot write", path);
        ::unlink(temporary.c_str());
        throw FileError(message);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string message = failure("cannot replace", path);
        ::unlink(temporary.c_str());
        throw FileError(message);
    }
    syncFolder(folderOf(path));
}

void savePictureAtomically(const QImage& image, const std::string& path, const char* format,
                           int quality)
{
    if (image.isNull())
        throw FileError("no picture to write to " + path);
    replaceFileAtomically(path, [&](const std::string& temporary) {
        return image.save(QFile::decodeName(QByteArray::fromStdString(temporary)), format, quality);
    });
}

} // namespace vs
