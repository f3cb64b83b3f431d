// Feeds arbitrary bytes to the renderer's RIB reader (ASCII and binary encodings) and writes
// every request it makes back as RIB text. Nothing is rendered.
#include "Context.h"
#include "RibReader.h"
#include "RibWriter.h"
#include "ri.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

class NullSink : public ri::Sink
{
public:
    void handle(const ri::Request& request) override
    {
        size_ += ri::RibWriter::format(request).size();
    }
    size_t size_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RiErrorHandler(RiErrorIgnore);
    ri::Context context;
    auto sink = std::make_unique<NullSink>();
    NullSink* s = sink.get();
    context.sink = std::move(sink);
    ri::RibReader reader(context, [s](const ri::Request& r) { s->handle(r); });
    reader.readBuffer(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
    return 0;
}
