#include "catalogue/CSectionBarType.h"

#include "catalogue/ProfileReader.h"

#include <cstdio>
#include <stdexcept>

namespace {

std::unique_ptr<CSectionBarProfile> readableProfile(const CandyTypeInfo& info)
{
    try {
        return vs::readProfile(info.profile);
    } catch (const std::invalid_argument& error) {
        // One bad profile must not take the type, and every section line of it, out of the
        // designs: the type stays, its bars are not drawn.
        std::fprintf(stderr, "AddCandyType: section bar type %d keeps an empty profile: %s\n",
                     info.id, error.what());
        return std::make_unique<CSectionBarProfile>();
    }
}

} // namespace

CSectionBarType::CSectionBarType(const CandyTypeInfo& info, const HostCallbacks* callbacks)
    : CCandyType(info, callbacks), profileText(info.profile), profile(readableProfile(info))
{
}

CSectionBarType::~CSectionBarType() = default;
