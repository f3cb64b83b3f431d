// The few kinds of error the module raises. They are thrown where input is read and caught
// once, at the exported boundary (ExportGuard.h).
#pragma once

#include <stdexcept>
#include <string>

namespace vs {

/** A file or directory could not be opened, read or written. */
class FileError : public std::runtime_error
{
public:
    explicit FileError(const std::string& what) : std::runtime_error(what) {}
};

/** Malformed input: a design, a profile or a block that cannot be read. */
using InvalidInput = std::invalid_argument;

} // namespace vs
