// The plain box shown for a facility whose model's mesh could not be read, so that the user
// still sees that something stands there and can pick it.
#pragma once

#include <irrlicht.h>

namespace vs {

/** The stand-in box of a facility whose model gives no mesh: (-x/2, 0, -z/2)..(x/2, y, z/2)
 *  of `extent`, an axis of `extent` at zero (within 0.000001) or not finite taking `size`'s
 *  instead (the facility's scale is 1 on such an axis). Decimillimetres. */
irr::core::aabbox3df standInBoxBounds(const irr::core::vector3df& extent,
                                      const irr::core::vector3df& size);

/** A closed box mesh of `box`: six lit grey faces with outward normals, one buffer. Reference
 *  count 1: the caller drops it. */
irr::scene::SMesh* makeStandInBox(const irr::core::aabbox3df& box);

} // namespace vs
