// Error reporting through the RenderMan error handler of the calling thread.
#pragma once

#include <string>

namespace ri {

/// Passes one message to the calling thread's error handler (RiErrorPrint unless changed).
void report(int code, int severity, const std::string& message);

/// Reports "NAME is not implemented" as a warning, once per name and thread.
void reportUnimplemented(const std::string& name);

} // namespace ri
