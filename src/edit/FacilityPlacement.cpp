#include "edit/FacilityPlacement.h"

#include "document/CSolidDocument.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/WallScene.h"

#include <cmath>

using namespace irr;

namespace {

core::matrix4 freePlacement(const Vec3f& position, float rotateDegree)
{
    core::matrix4 turn;
    turn.setRotationDegrees(core::vector3df(0, rotateDegree, 0));
    core::matrix4 move;
    move.setTranslation(core::vector3df(position.x, position.y, position.z));
    return move * turn;
}

/** The facility's matrix as if it stood free: its placement there is known exactly. */
core::matrix4 freeMatrix(const CSolidFacility& facility, const CSolidDocument& document)
{
    CSolidFacility& f = const_cast<CSolidFacility&>(facility);
    CWall* wall = f.stickWall;
    f.stickWall = nullptr;
    const core::matrix4 m = vs::facilityMatrix(f, document);
    f.stickWall = wall;
    return m;
}

} // namespace

namespace vs {

core::matrix4 facilityPlacement(const CSolidFacility& facility, const CSolidDocument& document)
{
    const core::matrix4 free = freePlacement(facility.position, facility.rotateDegree);
    if (!facility.stickWall)
        return free;
    // matrix = placement x object; the object part is the same whichever way it is placed.
    core::matrix4 inverse;
    if (!freeMatrix(facility, document).getInverse(inverse))
        return free;
    return facilityMatrix(facility, document) * inverse * free;
}

FacilityState withPlacement(FacilityState state, const core::matrix4& placement)
{
    const core::vector3df t = placement.getTranslation();
    state.position = Vec3f{t.X, t.Y, t.Z};
    double degrees = std::atan2(placement[8], placement[0]) * 180.0 / M_PI;
    degrees = std::fmod(degrees + 360.0, 360.0);
    // Whole degrees stay whole: float noise of the matrices is not kept in the design.
    const double whole = std::round(degrees * 1000.0) / 1000.0;
    state.rotateDegree = static_cast<float>(whole >= 360.0 ? 0.0 : whole);
    state.stickWall = nullptr;
    return state;
}

FacilityState freeStandingInPlace(const CSolidFacility& facility, const CSolidDocument& document)
{
    FacilityState state = FacilityState::of(facility);
    if (!facility.stickWall) {
        state.stickWall = nullptr;
        return state;
    }
    return withPlacement(state, facilityPlacement(facility, document));
}

core::matrix4 wallFrameMatrix(const CSolidDocument& document, const CWall& wall)
{
    const WallFrame frame = wallFrame(document, wall);
    core::matrix4 move;
    move.setTranslation(
        core::vector3df(static_cast<f32>(frame.start.x), 0, static_cast<f32>(frame.start.y)));
    core::matrix4 turn;
    turn.setRotationDegrees(core::vector3df(0, static_cast<f32>(360 - frame.angle), 0));
    return move * turn;
}

core::matrix4 roomToWorld(const CSolidDocument& document)
{
    if (!document.roomNode)
        return core::matrix4();
    return document.roomNode->getRelativeTransformation();
}

core::vector3df worldToRoom(const CSolidDocument& document, core::vector3df point)
{
    core::matrix4 inverse;
    if (roomToWorld(document).getInverse(inverse))
        inverse.transformVect(point);
    return point;
}

core::aabbox3df facilityRoomBox(const CSolidFacility& facility, const CSolidDocument& document,
                                const core::matrix4& frame)
{
    core::aabbox3df box;
    if (facilityMesh(facility)) {
        box = facilityMesh(facility)->getBoundingBox();
    } else {
        const Vec3f& e = facility.correctExtent;
        box = core::aabbox3df(-e.x / 2, 0, -e.z / 2, e.x / 2, e.y, e.z / 2);
        box.repair();
    }
    core::matrix4 toFrame;
    frame.getInverse(toFrame);
    (toFrame * facilityMatrix(facility, document)).transformBoxEx(box);
    return box;
}

double lowestLayerHeight(const CSolidDocument& document)
{
    return document.viewState ? document.viewState->lowestLayerHeight : 24000.0;
}

} // namespace vs
