// The per-user working folder handed to the module as its home directory: the render program
// and the renderer's libraries are linked into it, and a small file names the pack so that
// the render program loads the same one.
#pragma once

#include <string>

namespace vhost {

/** Returns $XDG_DATA_HOME/VantrelSolid/ (or ~/.local/share/VantrelSolid/), with a trailing "/". */
std::string homeDirectoryPath();
/** Returns the folder of the running program (no trailing "/"). */
std::string programDirectory();
/**
 * Creates `homeDir` (and its parents), links RibDaemon from `programDir` and the renderer's
 * libraries (libri.so, libPR.so, libVC90DebugCRT.so) from programDir/../lib when they exist,
 * and records `packIndexPath` in homeDir + "pack.path". Returns `homeDir` with a trailing "/".
 * Throws FileError when the folder cannot be made or written.
 */
std::string prepareHomeDirectory(const std::string& homeDir, const std::string& programDir,
                                 const std::string& packIndexPath);
/** Returns the pack index path recorded in a home directory, or "" when there is none. */
std::string recordedPackPath(const std::string& homeDir);

} // namespace vhost
