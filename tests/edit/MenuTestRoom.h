// A design-mode 3D window over the default room on the engine's null driver (offscreen), with
// an undo stack, a recorder for messages and catalogue models with box meshes, for the tests of
// drops, context menus and their commands.
#pragma once

#include "catalogue/CFacilityModel.h"
#include "document/CSolidDocument.h"
#include "edit/PickResult.h"
#include "view/CSolidWnd.h"

#include <QStringList>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace menutest {

class MenuTestRoom : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /** A 3D model of `kindAndFlags` whose mesh is the box min..max (its natural size unset). */
    CFacilityModel& boxModel(int id, int kindAndFlags, const irr::core::vector3df& min,
                             const irr::core::vector3df& max);
    /** A picture model (door, window, tile, band) of `kind` and size (decimillimetres). */
    CFacilityModel& pictureModel(int id, int kind, int width, int height, int flags = 0);
    /** Adds a facility of `model` with its mesh's size at `position`, turned by `degrees`,
     *  and builds its node. */
    CSolidFacility& addFacility(CFacilityModel& model, const Vec3f& position, float degrees = 0);

    /** The design's written solid element. */
    std::string written() const;
    /** The world (engine) point of a room point. */
    irr::core::vector3df world(const irr::core::vector3df& roomPoint) const;
    /** Hits of each kind at room point `p` (walls: `along` the wall, `height` above the floor). */
    PickResult floorHit(const irr::core::vector3df& p) const;
    PickResult ceilingHit(const irr::core::vector3df& p) const;
    PickResult wallHit(CWall& wall, float along, float height) const;
    PickResult facilityHit(CSolidFacility& facility) const;
    PickResult markerHit(CSolidLight& light) const;

    /** Switches the document's lighting model (simple or professional). */
    void setSimpleLighting(bool simple);

    CSolidDocument* doc_ = nullptr;
    std::unique_ptr<QUndoStack> stack_;
    std::unique_ptr<CSolidWnd> wnd_;
    QStringList messages_;
    std::vector<std::unique_ptr<CFacilityModel>> models_;
};

/** The node's absolute matrix after its whole parent chain was brought up to date. */
irr::core::matrix4 absolute(irr::scene::ISceneNode* node);

/** True when every element of the two matrices differs by at most `tolerance`. */
bool near(const irr::core::matrix4& a, const irr::core::matrix4& b, float tolerance = 0.05f);

} // namespace menutest
