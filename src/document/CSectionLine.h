// A section bar (profile) along a line of a ceiling plane: a trustee line of the plane, or the
// bar of a split line (then it belongs to the split line's child plane).
#pragma once

#include "RPoint.h"

#include <cstdint>
#include <memory>

class CCandyType;
class CGridMapping;

/**
 * The nodes of a bar while the ceiling is shown. The scene layer defines it and hands the line
 * its own deleter with it, so that the document never sees an engine type.
 */
struct SectionLineScene;

class CSectionLine
{
public:
    /** Start and end of the bar, plan coordinates. */
    RPoint pt1;
    RPoint pt2;
    /** Mitre angles at the start and the end, radians. */
    double leftAngle = 0;
    double rightAngle = 0;
    int32_t sectionBarTypeId = 0;
    /** The resolved profile type; not owned, may be null. */
    CCandyType* candyType = nullptr;
    /** Releases the scene record through the deleter the scene layer set. */
    using ScenePtr = std::unique_ptr<SectionLineScene, void (*)(SectionLineScene*)>;
    /** The bar's nodes while shown (scene/SectionBarScene.h); null otherwise. */
    ScenePtr scene{nullptr, nullptr};
    /** The plane the bar belongs to; not owned. */
    CGridMapping* owner = nullptr;
};
