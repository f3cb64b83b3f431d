// The engine light data of a room light as one block of values: what the light setup dialog
// edits and previews, and what undoing its OK puts back.
#pragma once

#include "document/CSolidLight.h"

struct LightData
{
    Colorf ambientColor{0, 0, 0, 1};
    Colorf diffuseColor{1, 1, 1, 1};
    Colorf specularColor{1, 1, 1, 1};
    /** Constant, linear and quadratic terms in x, y and z. */
    Vec3f attenuation{1, 0, 0};
    /** Degrees. */
    float outerCone = 45;
    float innerCone = 0;
    float falloff = 2;
    Vec3f position;
    Vec3f direction{0, 0, 1};
    float radius = 100;
    int type = CSolidLight::Point;
    bool castShadows = true;

    /** The data of a dialog opened for a lamp that has no light yet. */
    static LightData forNewLamp()
    {
        LightData d;
        d.radius = 1000000;
        d.attenuation = {0, 0.002f, 0};
        d.position = {0, 23000, 0};
        return d;
    }

    /** The data of `light`. */
    static LightData of(const CSolidLight& light)
    {
        LightData d;
        d.ambientColor = light.ambientColor;
        d.diffuseColor = light.diffuseColor;
        d.specularColor = light.specularColor;
        d.attenuation = light.attenuation;
        d.outerCone = light.outerCone;
        d.innerCone = light.innerCone;
        d.falloff = light.falloff;
        d.position = light.position;
        d.direction = light.direction;
        d.radius = light.radius;
        d.type = light.type;
        d.castShadows = light.castShadows;
        return d;
    }

    /** Writes the data into `light`. */
    void storeInto(CSolidLight& light) const
    {
        light.ambientColor = ambientColor;
        light.diffuseColor = diffuseColor;
        light.specularColor = specularColor;
        light.attenuation = attenuation;
        light.outerCone = outerCone;
        light.innerCone = innerCone;
        light.falloff = falloff;
        light.position = position;
        light.direction = direction;
        light.radius = radius;
        light.type = type;
        light.castShadows = castShadows;
    }
};
