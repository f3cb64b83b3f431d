// The static sample a host supplies for the open design: room photo, mask and polygons.
#pragma once

#include <string>

class CSolidDocument;

namespace vs {

/** Replaces the document's static sample. `picture` is an image file of `pictureSize` bytes
 *  (none when the size is not positive); `block` holds six 32-bit integers (the mask's
 *  rectangle as left, top, width, height at [1] to [4]) followed by the mask's image file;
 *  `polygonXml` (UTF-8) holds a "polygons" element among its root's children. A 3D view
 *  registered for the document (samples/StaticSampleHook.h) is then refreshed. */
void applyStaticSample(CSolidDocument& document, int sampleId, const void* picture, int pictureSize,
                       const void* block, int blockSize, const std::string& polygonXml);

} // namespace vs
