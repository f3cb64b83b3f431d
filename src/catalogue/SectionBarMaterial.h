// The material of a stretch of a section-bar profile: a plain colour or a picture of the
// section bar's catalogue type.
#pragma once

#include <cstdint>
#include <string>

struct SectionBarMaterial
{
    /** COLORREF-style colour, red | green << 8 | blue << 16 (from the "color" text). */
    uint32_t colour = 0;
    /** Name of the catalogue picture field; non-empty when the material is a picture. */
    std::string pictureField;

    /** True when the material is a picture rather than a plain colour. */
    bool isPicture() const { return !pictureField.empty(); }

    /** True when colour and picture field are equal. */
    bool operator==(const SectionBarMaterial& other) const
    {
        return colour == other.colour && pictureField == other.pictureField;
    }
    /** True when colour or picture field differ. */
    bool operator!=(const SectionBarMaterial& other) const { return !(*this == other); }
};
