// A section bar (profile) along a line of a ceiling plane: a trustee line of the plane, or the
// bar of a split line (then it belongs to the split line's child plane).
#pragma once

#include "RPoint.h"

#include <cstdint>
#include <vector>

class CCandyType;
class CGridMapping;

namespace irr::scene {
class ISceneNode;
}

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
    /** Mesh nodes built for the bar while shown; owned by the scene graph. */
    std::vector<irr::scene::ISceneNode*> meshNodes;
    /** The node placing the bar (parent of meshNodes) while shown; owned by the scene graph. */
    irr::scene::ISceneNode* sectionNode = nullptr;
    /** The plane the bar belongs to; not owned. */
    CGridMapping* owner = nullptr;
};
