// The scene node of a bend: a strip plane (its grid along the strip, its one row the strip's
// height) stood up vertically along a base line in the parent's plan frame. The strip's local x
// runs from the line's start to its end, its plan y (the row) becomes the height.
#pragma once

#include "document/RPoint.h"
#include "scene/CGridMappingSceneNode.h"

class CBendGridMappingSceneNode : public CGridMappingSceneNode
{
public:
    /** Creates the node of the bend plane `plane` standing on the plan line start-end (plan
     *  coordinates of the parent's node frame). Nothing is built until initialise. */
    CBendGridMappingSceneNode(CGridMapping* plane, const RPoint& start, const RPoint& end,
                              irr::scene::ISceneNode* parent, irr::scene::ISceneManager* smgr);

    /** Sets the relative matrix: rotate -90 degrees about x (plan y becomes height), rotate by
     *  minus the base line's direction about the vertical, translate to the line's start. */
    void place() override;
    /** Mirrors the base line's y about axisSum / 2, exchanges the index lists, reverses the face
     *  mesh's triangles and places the node again; the strip's own vertices stay. */
    void mirror(double axisSum) override;

    /** The base line's start and end, plan coordinates. */
    const RPoint& start() const { return start_; }
    const RPoint& end() const { return end_; }

private:
    RPoint start_;
    RPoint end_;
};
