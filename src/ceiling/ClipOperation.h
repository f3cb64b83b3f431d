// The boolean operations the polygon clipper offers.
#pragma once

/** Which part of subject and clip polygon a clip keeps. */
enum class ClipOperation {
    Difference,  ///< the subject minus the clip polygon
    Intersection ///< the area inside both
};
