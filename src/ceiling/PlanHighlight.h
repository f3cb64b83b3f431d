// The overlay a panel drag asks the plan picture to draw: the cells a panel type would cover
// if the drag ended here. It lives with the drag, not with the plane it is drawn on.
#pragma once

#include "document/FitResult.h"

class CCandyType;

namespace vs {

/** The type's picture over each column run x row run of the two fits, with the grid lines of
 *  the cells they span in the highlight colour. */
struct PlanHighlight
{
    /** False while nothing is to be drawn. */
    bool active = false;
    /** The dragged panel type; not owned, may be null (then only the lines are drawn). */
    CCandyType* type = nullptr;
    FitResult cols;
    FitResult rows;
};

} // namespace vs
