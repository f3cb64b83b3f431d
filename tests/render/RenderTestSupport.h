// Helpers of the render tests: a temporary home directory that is the current directory while
// it lives, and the recording stand-in renderer loaded into the module's binding.
#pragma once

#include "RiRecorder.h"

#include <string>
#include <vector>

namespace rendertest {

/** A fresh directory (with a trailing "/"), made the current directory; the previous current
 *  directory is restored and the directory removed at the end. */
class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return path_; }
    /** Copies `file` into the directory as `name`. */
    void copyIn(const std::string& file, const std::string& name) const;

private:
    std::string path_;
    std::string previous_;
};

/** Loads the full recording stand-in into the module's binding and forgets earlier calls. */
std::vector<rirecorder::Call>& loadRecorder();

/** The recorded calls without the progress extension's, for order checks. */
std::vector<rirecorder::Call> interfaceCalls(const std::vector<rirecorder::Call>& calls);

/** Reads a whole file as text; empty when it cannot be read. */
std::string readFile(const std::string& path);

} // namespace rendertest
