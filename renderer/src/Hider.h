// Primary visibility and pixel reconstruction: casts jittered, stratified camera rays with
// Embree bucket by bucket on all cores, composites partly opaque surfaces front to back,
// shades once per pixel and primitive, filters, exposes, quantises and hands each finished
// bucket to the frame's displays.
#pragma once

#include "../include/ri.h"
#include "Renderer.h"

#include <string>
#include <vector>

namespace ri {

struct HiderMessage
{
    int code;
    int severity;
    std::string text;
};

struct HiderResult
{
    bool stopped = false; ///< the progress handler asked to stop
    bool failed = false;  ///< a display could not be opened or written
    std::vector<HiderMessage> messages;
    /// Seconds per stage, for benchmarks.
    double bvhSeconds = 0, renderSeconds = 0, outputSeconds = 0;
};

/// Renders one frame of `scene` to the displays of `options`. Reports progress through `func`
/// from the calling thread only. Messages are returned, not reported, so that the caller's
/// error handler sees them on its own thread.
HiderResult renderFrame(const FrameOptions& options, const Scene& scene, RtProgressFunc func,
                        RtPointer data);

/// Exposure and quantisation of one value (a colour channel when `expose` is set).
float exposeAndQuantize(float v, bool expose, const FrameOptions& o, const QuantizeSpec& q,
                        float random);

/// Stage timings of the last frame rendered in this thread (for benchmarks).
const HiderResult& lastFrameStatistics();

} // namespace ri
