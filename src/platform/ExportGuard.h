// The one place where errors stop: every exported function runs its body through guardExport,
// so that no exception crosses into the host. A failure is one line on stderr.
#pragma once

#include <cstdio>
#include <exception>
#include <new>
#include <stdexcept>

namespace vs {

/** How a guarded call ended. */
enum class ExportOutcome { Done, InvalidInput, OutOfMemory, Failed };

/** Runs `body`; on an exception writes "VantrelSolid: <name>: <reason>" to stderr and reports
 *  the kind of failure. */
template <class Body> ExportOutcome guardExport(const char* name, Body&& body) noexcept
{
    try {
        body();
        return ExportOutcome::Done;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "VantrelSolid: %s: out of memory\n", name);
        return ExportOutcome::OutOfMemory;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "VantrelSolid: %s: invalid input: %s\n", name, e.what());
        return ExportOutcome::InvalidInput;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "VantrelSolid: %s: %s\n", name, e.what());
        return ExportOutcome::Failed;
    } catch (...) {
        std::fprintf(stderr, "VantrelSolid: %s: unknown error\n", name);
        return ExportOutcome::Failed;
    }
}

} // namespace vs
