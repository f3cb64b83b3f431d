// The recording stand-in renderer: a shared library exporting RenderMan Interface procedures
// that only write down each call with its arguments. Tests load it as the renderer and read
// the calls back through RiRecorderCalls.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace rirecorder {

/** One call: the procedure, its fixed arguments and its parameter list, values as text
 *  (floats with 9 significant digits, so they compare exactly; strings as given). */
struct Call
{
    std::string name;
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::vector<std::string>>> params;

    /** The values of parameter `token`, or null. */
    const std::vector<std::string>* param(const std::string& token) const
    {
        for (const auto& p : params)
            if (p.first == token)
                return &p.second;
        return nullptr;
    }
    /** The parameter names in order. */
    std::vector<std::string> tokens() const
    {
        std::vector<std::string> t;
        for (const auto& p : params)
            t.push_back(p.first);
        return t;
    }
};

/** How the stand-in behaves in RiWorldEnd when a progress handler is set. */
struct Behaviour
{
    /** Fractions reported, in order (0 and 1 by default). */
    std::vector<float> fractions{0.0f, 1.0f};
};

} // namespace rirecorder

/** Exported by the stand-in: the calls so far, and a way to forget them. */
extern "C" std::vector<rirecorder::Call>* RiRecorderCalls();
extern "C" rirecorder::Behaviour* RiRecorderBehaviour();
