// Writes requests as a RIB bytestream (ASCII), for RiBegin with a file name.
#pragma once

#include "Context.h"

#include <cstdio>
#include <memory>
#include <string>

namespace ri {

class RibWriter : public Sink
{
public:
    /// Opens the file ("-" or "stdout": standard output); null with `error` set on failure.
    static std::unique_ptr<RibWriter> open(const std::string& path, std::string& error);
    ~RibWriter() override;
    void handle(const Request& request) override;

    /// The RIB text of one request, without the trailing newline.
    static std::string format(const Request& request);

private:
    explicit RibWriter(std::FILE* file, bool own) : file_(file), own_(own) {}
    std::FILE* file_;
    bool own_;
    int depth_ = 0;
};

} // namespace ri
