// Replacing a file so that nobody ever sees a part of it: pictures and other outputs are
// made in a temporary file beside the target and renamed over it.
#pragma once

#include <functional>
#include <string>

class QImage;

namespace vs {

/**
 * Makes `path` anew through `write`, which is handed the name of a new, empty temporary file
 * in the same folder, ending in `path`'s extension (for writers that choose a format by it),
 * and must fill that file, returning false when it cannot. The file is then flushed to disk
 * and renamed over `path`: a reader, a crash or a kill at any moment finds the earlier file or
 * the new one, never a part. An existing file's permissions carry over. When `write` fails or
 * throws, the temporary file is removed and `path` is left as it was; the error is a
 * vs::FileError naming `path` (or what `write` threw).
 */
void replaceFileAtomically(const std::string& path,
                           const std::function<bool(const std::string& temporaryPath)>& write);

/**
 * Writes `image` to `path` in `format` ("JPG", "PNG", ...; quality 0 to 100, -1 the codec's
 * default) through replaceFileAtomically. Throws vs::FileError when it cannot.
 */
void savePictureAtomically(const QImage& image, const std::string& path, const char* format,
                           int quality = -1);

} // namespace vs
