// A light of the room: the engine's light data plus its role in the design.
#pragma once

#include "RRect.h"
#include "SolidMath.h"

#include <memory>

class CHost;
class CSolidDocument;

/**
 * A light's engine light, marker and marker picking while the room is shown. The scene layer
 * defines it and hands the light its own deleter with it, so that the document never sees an
 * engine type.
 */
struct SolidLightScene;

class CSolidLight
{
public:
    /** Light types in the engine's numbering. */
    enum Type { Point = 0, Spot = 1, Directional = 2 };

    /** A new light of document with the engine's defaults: a visible white point light. */
    explicit CSolidLight(CSolidDocument* document = nullptr);
    /** Copies the light's data; the copy has no scene objects of its own. */
    CSolidLight(const CSolidLight& other);
    /** Copies the light's data, keeping this light's scene objects. */
    CSolidLight& operator=(const CSolidLight& other);

    /**
     * Returns the main light of a design that has none: visible, 1.4 m above the floor over the
     * centre of indentedBounds (the root ceiling plane's indented bounds).
     */
    static std::unique_ptr<CSolidLight> makeMainLight(CSolidDocument* document,
                                                      const RRect& indentedBounds);

    /** The document the light belongs to; not owned. */
    CSolidDocument* document = nullptr;

    Colorf ambientColor{0, 0, 0, 1};
    Colorf diffuseColor{1, 1, 1, 1};
    Colorf specularColor{1, 1, 1, 1};
    /** Constant, linear and quadratic terms in x, y and z. */
    Vec3f attenuation{1, 0, 0};
    /** Cone angles in degrees. */
    float outerCone = 45;
    float innerCone = 0;
    float falloff = 2;
    /** Scene axes, relative to the corner of the root ceiling plane's indented bounds. */
    Vec3f position;
    Vec3f direction{0, 0, 1};
    float radius = 100;
    int type = Point;
    bool castShadows = true;

    /** True for the room's main light. */
    bool isMain = false;
    bool isVisible = true;
    /** The ceiling lamp the light belongs to, which refers back to it; not owned, may be null. */
    CHost* host = nullptr;

    /** The light's position marker is shown (not stored in the design). */
    bool markerShown = false;
    /** Releases the scene record through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<SolidLightScene, void (*)(SolidLightScene*)>;
    /** The light node, marker and selector while shown (scene/LightScene.h); null otherwise. */
    ScenePtr scene{nullptr, nullptr};
};
