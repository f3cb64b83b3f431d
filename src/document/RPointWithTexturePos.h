// A profile point with the texture position it has along its profile (filled by the section
// bar profile code).
#pragma once

struct RPointWithTexturePos
{
    double x = 0;
    double y = 0;
    /** Texture position of the point along the profile. */
    double texturePos = 0;
};
