// Errors of the reference host: a file that cannot be read or written. Malformed input is
// std::invalid_argument, as in the module.
#pragma once

#include <stdexcept>
#include <string>

namespace vhost {

/** A file of the pack, a design or the home directory could not be read or written. */
class FileError : public std::runtime_error
{
public:
    explicit FileError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace vhost
