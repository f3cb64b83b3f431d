// Handing a design to the render program: the hand-off file in the render folder and the
// render program started beside the host, detached; and the registry through which render runs
// find and end each other.
#pragma once

#include <ctime>
#include <string>

namespace vs {

/** The hand-off name for `now`: its low 32 bits as a signed decimal. */
std::string handOffName(std::time_t now);

/** Writes `designText` (bytes as given) to renderDir + name + ".xml" for the current time and
 *  returns the name. Throws FileError when the file cannot be written. */
std::string writeHandOff(const std::string& renderDir, const std::string& designText);

/** Starts homeDir + "RibDaemon" with `name`, in homeDir, detached (its own session, reaped by
 *  a thread of ours). Returns false when it cannot start. */
bool startRibDaemon(const std::string& homeDir, const std::string& name);

/** Title of a render run's dialog; render runs register under it. */
constexpr const char* kRenderRunTitle = "Rib Rendering...";

/** Records this process as a live render run in `renderDir`. */
void registerRenderRun(const std::string& renderDir);
/** Removes this process's record. */
void unregisterRenderRun(const std::string& renderDir);
/**
 * Ends older render runs recorded in `renderDir`, as their hidden button does (exit code 0):
 * up to two times, the first live one found is asked to end and we wait `waitMs`. Records of
 * processes that are gone, or whose process id now names another process, are dropped and
 * never signalled. Returns how many were asked to end.
 */
int endOlderRenderRuns(const std::string& renderDir, int waitMs = 1000);
/** Makes a request to end (SIGTERM) end this process at once with exit code 0, the action of
 *  the hidden button. */
void installEndRequestHandler();
/** The hidden button's action: ends the process at once with exit code 0. */
[[noreturn]] void endProcessNow();

} // namespace vs
