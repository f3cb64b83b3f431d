// A panel type that is a section bar: it carries its profile, read when the type is poured.
#pragma once

#include "catalogue/CCandyType.h"
#include "catalogue/CSectionBarProfile.h"

#include <memory>

class CSectionBarType : public CCandyType
{
public:
    /** Makes the type and reads its profile. A profile that cannot be read leaves the type
     *  with an empty profile (its bars are not drawn) and one warning line on stderr, so that
     *  designs keep their section lines of this type. */
    CSectionBarType(const CandyTypeInfo& info, const HostCallbacks* callbacks);
    ~CSectionBarType() override;

    bool isSectionBar() const override { return true; }

    /** The profile as the host poured it. */
    std::string profileText;
    /** The profile read from it: contours finished, creases resolved; without contours when
     *  the text could not be read. Never null. */
    std::unique_ptr<CSectionBarProfile> profile;
};
