// Pictures of a design drawn without showing anything: the scene and cameras of a hidden 3D
// window on an X window that is never mapped, one frame drawn into an engine render target
// (a hidden window's own pixels are undefined) and written as JPEG.
#pragma once

#include <string>

namespace vs {

/** Largest picture side, pixels. */
constexpr int kMaxPictureSide = 8192;

/**
 * Reads `designXml` (UTF-8) into the current-document slot, builds the 3D window's scene and
 * cameras for a `width` x `height` client, takes the design's saved view state (or the
 * defaults), switches to viewing in `viewMode` (4 globe, 5 first person, 6 change top), draws
 * one frame with OpenGL and writes it as JPEG to `jpegPath`; the document is deleted
 * afterwards. Throws std::invalid_argument for a size or mode out of range or a design that
 * cannot be read, vs::FileError when the file cannot be written, std::runtime_error when a
 * design run is open, there is no X display or OpenGL cannot start.
 */
void exportSolidPicture(const std::string& designXml, const std::string& jpegPath, int width,
                        int height, int viewMode);

} // namespace vs
