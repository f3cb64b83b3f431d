#include "catalogue/CSectionBarType.h"

#include "catalogue/ProfileReader.h"

CSectionBarType::CSectionBarType(const CandyTypeInfo& info, const HostCallbacks* callbacks)
    : CCandyType(info, callbacks), profileText(info.profile), profile(vs::readProfile(info.profile))
{
}

CSectionBarType::~CSectionBarType() = default;
