// A panel type that is a section bar: it carries its profile, read when the type is poured.
#pragma once

#include "catalogue/CSectionBarProfile.h"
#include "catalogue/CCandyType.h"

#include <memory>

class CSectionBarType : public CCandyType {
public:
    /** Makes the type and reads its profile; a profile that cannot be read throws
     *  std::invalid_argument, so the type is not added. */
    CSectionBarType(const CandyTypeInfo& info, const HostCallbacks* callbacks);
    ~CSectionBarType() override;

    bool isSectionBar() const override { return true; }

    /** The profile as the host poured it. */
    std::string profileText;
    /** The profile read from it: contours finished, creases resolved. */
    std::unique_ptr<CSectionBarProfile> profile;
};
