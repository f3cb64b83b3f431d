// A RenderMan scene file (RIB) written in place of rendering: while a RibWriterScope lives, the
// module's binding points at procedures that write each call as its RIB request. Every RiBegin
// / RiEnd pair becomes one frame, so a job's shadow pass is the frame before its main one.
#pragma once

#include "render/RenderManBinding.h"

#include <cstdio>
#include <string>

namespace vs {

class RibWriterScope
{
public:
    /** Opens `path` for writing (throws FileError when it cannot) and points the binding at
     *  the writer. */
    explicit RibWriterScope(const std::string& path);
    /** Puts the binding's slots back and closes the file (without finishing it: call finish). */
    ~RibWriterScope();
    RibWriterScope(const RibWriterScope&) = delete;
    RibWriterScope& operator=(const RibWriterScope&) = delete;

    /** Flushes and closes the file; throws FileError when it could not be written whole. */
    void finish();

private:
    RenderManBinding::Slots previous_;
    std::string path_;
};

} // namespace vs
