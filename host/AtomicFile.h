// Whole-file reads and safe replacement of a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vhost {

/** Most bytes one file of a pack or a design may hold (64 MiB). */
constexpr size_t kMaxFileSize = size_t(64) << 20;

/** Reads a whole file. Throws FileError when it is missing, unreadable or larger than
 *  `maxSize`. */
std::vector<uint8_t> readWholeFile(const std::string& path, size_t maxSize = kMaxFileSize);
/** Reads a whole file as text; same errors as readWholeFile. */
std::string readTextFile(const std::string& path, size_t maxSize = kMaxFileSize);
/**
 * Replaces `path` with `bytes` so that the file is never seen half written: the bytes go to a
 * temporary file beside it, which is flushed to disk; an existing file is kept as `path` + "~";
 * then the temporary file is renamed over `path`. Throws FileError, leaving `path` as it was.
 * With `keepPrevious` false no "~" copy is made.
 */
void saveAtomically(const std::string& path, const std::string& bytes, bool keepPrevious = true);

} // namespace vhost
