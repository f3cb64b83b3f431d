#include "HomeDirectory.h"

#include "AtomicFile.h"
#include "HostErrors.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vhost {
namespace {

void makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            throw FileError("cannot create " + part + ": " + std::strerror(errno));
        if (slash == std::string::npos)
            break;
    }
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw FileError("cannot use " + path + " as the home directory: not a folder");
}

/** Points homeDir/name at target, replacing a stale link; an existing real file is kept. */
void linkInto(const std::string& homeDir, const std::string& name, const std::string& target)
{
    struct stat info
    {
    };
    if (::stat(target.c_str(), &info) != 0)
        return;
    const std::string link = homeDir + name;
    struct stat existing
    {
    };
    if (::lstat(link.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode))
            return;
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0)
        throw FileError("cannot link " + link + ": " + std::strerror(errno));
}

std::string absolute(const std::string& path)
{
    char real[PATH_MAX];
    return ::realpath(path.c_str(), real) ? std::string(real) : path;
}

} // namespace

std::string homeDirectoryPath()
{
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/share";
    else if (const passwd* pw = getpwuid(getuid()))
        base = std::string(pw->pw_dir) + "/.local/share";
    else
        base = "/tmp";
    return base + "/VantrelSolid/";
}

std::string programDirectory()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    path[n] = '\0';
    std::string self(path);
    return self.substr(0, self.find_last_of('/'));
}

std::string prepareHomeDirectory(const std::string& homeDir, const std::string& programDir,
                                 const std::string& packIndexPath)
{
    std::string dir = homeDir;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    makeFolders(dir);
    dir += '/';
    linkInto(dir, "RibDaemon", absolute(programDir + "/RibDaemon"));
    // The renderer's framebuffer display looks for its viewer beside the display drivers, which
    // the render run extracts into the home directory.
    linkInto(dir, "riviewer", absolute(programDir + "/riviewer"));
    for (const char* library : {"libri.so", "libPR.so", "libVC90DebugCRT.so"})
        linkInto(dir, library, absolute(programDir + "/../lib/" + library));
    saveAtomically(dir + "pack.path", absolute(packIndexPath) + "\n", false);
    return dir;
}

std::string recordedPackPath(const std::string& homeDir)
{
    try {
        std::string text = readTextFile(homeDir + "pack.path", 1 << 16);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        return text;
    } catch (const FileError&) {
        return {};
    }
}

} // namespace vhost
