// What the object properties dialog edits of a facility, as one block of values: what its
// Cancel puts back and what undoing its OK restores.
#pragma once

#include "document/CSolidFacility.h"

struct FacilitySettings
{
    Vec3f size;
    Vec3f position;
    float rotateDegree = 0;
    double customZoom = -1;
    int emissive = 0;

    static FacilitySettings of(const CSolidFacility& f)
    {
        return FacilitySettings{f.size, f.position, f.rotateDegree, f.customZoom, f.emissive};
    }

    void storeInto(CSolidFacility& f) const
    {
        f.size = size;
        f.position = position;
        f.rotateDegree = rotateDegree;
        f.customZoom = customZoom;
        f.emissive = emissive;
    }
};
