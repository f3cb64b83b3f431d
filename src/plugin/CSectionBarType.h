// A panel type that is a section bar: it carries the text of its profile.
#pragma once

#include "plugin/CCandyType.h"

class CSectionBarType : public CCandyType {
public:
    CSectionBarType(const CandyTypeInfo& info, const HostCallbacks* callbacks)
        : CCandyType(info, callbacks), profileText(info.profile)
    {
    }

    bool isSectionBar() const override { return true; }

    /** The profile as the host poured it; the ceiling model reads it into contours. */
    std::string profileText;
};
