// Where facilities stand as rigid placements (a turn about the vertical and a move), so that an
// edit that changes how a facility is placed (unstuck, grouped, ungrouped, dropped against a
// wall) can keep it exactly where it is seen.
//
// Matrices are relative to the room node; lengths decimillimetres, angles degrees.
#pragma once

#include "edit/FacilityLayout.h"

#include <irrlicht.h>

class CSolidDocument;
class CSolidFacility;
class CWall;

namespace vs {

/** The rigid placement of `facility` (its matrix without the object part that scales and
 *  centres the mesh): free standing, the turn by rotateDegree and the move to position; stuck
 *  to a wall, the wall's frame composed with its place on the wall; a member, relative to its
 *  group. */
irr::core::matrix4 facilityPlacement(const CSolidFacility& facility,
                                     const CSolidDocument& document);

/** `state` with position and rotateDegree taken from a rigid `placement` (free standing). */
FacilityState withPlacement(FacilityState state, const irr::core::matrix4& placement);

/** The state that keeps `facility` where it is seen now, standing free (no wall). */
FacilityState freeStandingInPlace(const CSolidFacility& facility, const CSolidDocument& document);

/** The frame of a wall's placements: translation to its start, turn by 360 - its angle. */
irr::core::matrix4 wallFrameMatrix(const CSolidDocument& document, const CWall& wall);

/** The room node's matrix (identity without one): room coordinates to world coordinates. */
irr::core::matrix4 roomToWorld(const CSolidDocument& document);

/** A world point in room coordinates. */
irr::core::vector3df worldToRoom(const CSolidDocument& document, irr::core::vector3df point);

/** The box of the facility's mesh (its extent box without one) in room coordinates. */
irr::core::aabbox3df facilityRoomBox(const CSolidFacility& facility, const CSolidDocument& document,
                                     const irr::core::matrix4& frame = irr::core::matrix4());

/** The height of the lowest ceiling layer (the display preference; 24000 by default). */
double lowestLayerHeight(const CSolidDocument& document);

} // namespace vs
