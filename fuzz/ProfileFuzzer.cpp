// Feeds arbitrary text to the section-bar profile reader and evaluates what it accepts.
// Malformed text may only end in std::invalid_argument; anything else is a finding.
#include "catalogue/CSectionBarProfile.h"
#include "catalogue/ProfileReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        std::unique_ptr<CSectionBarProfile> profile = vs::readProfile(text);
        size_t budget = profile->pointCount();
        if (budget > CSectionBarProfile::kMaxPoints)
            std::abort(); // the reader must have refused it
        size_t points = 0;
        for (const ProfilePolyline& polyline : profile->evaluate()) {
            if (polyline.points.size() < 2)
                std::abort();
            points += polyline.points.size();
        }
        if (points > budget)
            std::abort(); // evaluation went beyond the count it was checked against
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
