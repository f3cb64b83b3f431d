// Files, directories and the environment, with errors as vs::FileError.
#pragma once

#include <string>
#include <vector>

namespace vs {

/** True when anything (file, directory, link) exists at `path`. */
bool pathExists(const std::string& path);
/** True when `path` is a directory. */
bool isDirectory(const std::string& path);
/** Creates one directory (mode 0777 before the umask); returns false when that fails. A
 *  trailing "/" is allowed. */
bool createDirectory(const std::string& path);
/** Creates `path` as a directory unless something of that name exists. Returns true when a
 *  directory of that name exists afterwards or already existed. */
bool ensureDirectory(const std::string& path);

/** Reads a whole file as bytes, holding a shared lock while reading so that a cooperating
 *  writer cannot change it underneath. Throws FileError naming the path. */
std::string readWholeFile(const std::string& path);
/** Writes a whole file: into a temporary file beside it, then renamed over it, so that a
 *  failure never leaves half a file. Throws FileError naming the path. */
void writeWholeFile(const std::string& path, const void* data, size_t size);
inline void writeWholeFile(const std::string& path, const std::string& data)
{
    writeWholeFile(path, data.data(), data.size());
}

/** Sets a process environment variable (overwriting). */
void setEnvironment(const std::string& name, const std::string& value);
/** The value of an environment variable, or empty. */
std::string environment(const std::string& name);

/** Changes the current directory; throws FileError when that fails. */
void changeDirectory(const std::string& path);
/** The current directory, with a trailing "/". */
std::string currentDirectory();

} // namespace vs
