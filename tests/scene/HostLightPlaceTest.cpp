// A lamp's light over its lamp in world space, in a room whose outline starts away from the
// origin, with the grid where the outline starts or moved from it, the top shown as it is or
// inverted, whether the light comes from the design or is switched on in the dialog.
#include "SceneFixtures.h"

#include "ceiling/HostMoves.h"
#include "document/CGridMapping.h"
#include "document/CHost.h"
#include "document/CSolidLight.h"
#include "document/SolidCeiling.h"
#include "document/SolidViewState.h"
#include "scene/CRoomSceneNode.h"
#include "scene/CeilingScene.h"
#include "scene/LightScene.h"
#include "scene/RoomScene.h"
#include "scene/TowerScene.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace irr;
using scenefix::SceneCatalogue;

namespace {

/** A 3 m x 2.4 m room at (12000, 7000), grid 600 mm from `gridOffset`, one raised lamp (host
 *  5, a 600 mm type) at cell (1, 2); with `storedLight` the design holds the lamp's light. */
std::string lampRoom(RPoint gridOffset, bool invertTop, bool storedLight)
{
    std::ostringstream s;
    s << "<design name='Room' gridWidth='6000' gridHeight='6000' "
         "outlinePoints='12000,7000 42000,7000 42000,31000 12000,31000' realGridOffset='"
      << gridOffset.x << "," << gridOffset.y
      << "'><hosts><host id='5' hostTypeId='11' rotateDegree='0' gx='1' gy='2' tower='100'/>"
         "</hosts>"
         "<solid decimillimeter='1' outlinePoints='12000,7000 42000,7000 42000,31000 "
         "12000,31000'><viewState><trackball currentQuaternion='0,0,0,1'/>"
         "<displayPrefs invertTop='"
      << (invertTop ? "true" : "") << "' simpleLighting=''/></viewState>"
      << "<walls><wall index='0'><wallParts><p height='24000' facilityModelId='-2'/>"
         "</wallParts></wall></walls><solidLights>"
      << (storedLight
              ? "<l hostId='5' isVisible='true' position='0,22000,0' diffuseColor='1,1,1,1'/>"
              : "")
      << "</solidLights></solid></design>";
    return s.str();
}

/** Centre of the lamp's lowered top face in world space. */
core::vector3df lampCentre(const CHost& host)
{
    scenefix::updateChain(vs::towerTop(host));
    core::aabbox3df box = vs::towerTop(host)->getBoundingBox();
    vs::towerTop(host)->getAbsoluteTransformation().transformBoxEx(box);
    return box.getCenter();
}

core::vector3df lightAt(const CSolidLight& light)
{
    scenefix::updateChain(vs::lightNode(light));
    return vs::lightNode(light)->getAbsolutePosition();
}

void expectOverTheLamp(const CSolidLight& light, const CHost& host)
{
    ASSERT_NE(vs::lightNode(light), nullptr);
    ASSERT_NE(vs::towerTop(host), nullptr);
    const core::vector3df lamp = lampCentre(host);
    const core::vector3df at = lightAt(light);
    EXPECT_NEAR(at.X, lamp.X, 1);
    EXPECT_NEAR(at.Z, lamp.Z, 1);
}

struct Case
{
    RPoint gridOffset;
    bool invertTop;
    std::string name() const
    {
        std::ostringstream s;
        s << "grid from (" << gridOffset.x << ", " << gridOffset.y << "), "
          << (invertTop ? "inverted top" : "normal top");
        return s.str();
    }
};

const Case kCases[] = {
    {{12000, 7000}, false}, {{12000, 7000}, true}, {{13500, 8200}, false}, {{13500, 8200}, true}};

} // namespace

TEST(HostLightPlaceTest, StoredLampLightStandsOverItsLamp)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name());
        SceneTestDevice engine;
        SceneCatalogue catalogue;
        std::unique_ptr<CSolidDocument> document =
            scenefix::readRoom(lampRoom(c.gridOffset, c.invertTop, true), catalogue);
        CGridMapping& root = *document->ceiling->root;
        ASSERT_EQ(root.hosts.size(), 1u);
        CHost& lamp = *root.hosts[0];
        ASSERT_NE(lamp.light, nullptr);
        // As the 3D window builds it: the scene, then the inverted top when stored so.
        vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document);
        if (c.invertTop)
            vs::invertCeiling(*document);
        expectOverTheLamp(*lamp.light, lamp);
        // Inverting back brings the light back over the lamp as well.
        vs::invertCeiling(*document);
        expectOverTheLamp(*lamp.light, lamp);
        vs::ReleaseRoomScene(*document);
    }
}

TEST(HostLightPlaceTest, LampLightSwitchedOnAndMovedStaysOverItsLamp)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name());
        SceneTestDevice engine;
        SceneCatalogue catalogue;
        std::unique_ptr<CSolidDocument> document =
            scenefix::readRoom(lampRoom(c.gridOffset, c.invertTop, false), catalogue);
        CHost& lamp = *document->ceiling->root->hosts.at(0);
        ASSERT_EQ(lamp.light, nullptr);
        vs::BuildRoomScene(engine.smgr()->getRootSceneNode(), *document);
        if (c.invertTop)
            vs::invertCeiling(*document);

        ASSERT_TRUE(vs::switchHostLight(lamp, true));
        ASSERT_NE(lamp.light, nullptr);
        vs::buildLightNode(*lamp.light, document->roomNode);
        expectOverTheLamp(*lamp.light, lamp);

        vs::moveHostByCells(lamp, 2, 1);
        vs::updateLightNode(*lamp.light);
        vs::buildTower(lamp, engine.smgr());
        expectOverTheLamp(*lamp.light, lamp);
        vs::ReleaseRoomScene(*document);
    }
}

TEST(HostLightPlaceTest, MainAndDefaultLightsHangOverTheRoomsCentre)
{
    // Lights stand relative to the room's corner (12000, 7000): the centre of the 3 m x 2.4 m
    // room is (15000, 12000) there, not the plan centre (27000, 19000).
    SceneCatalogue catalogue;
    const Vec3f centre{15000, 14000, 12000};
    std::unique_ptr<CSolidDocument> fresh =
        scenefix::readRoom("<design name='Room' gridWidth='6000' gridHeight='6000' "
                           "outlinePoints='12000,7000 42000,7000 42000,31000 12000,31000'/>",
                           catalogue);
    ASSERT_EQ(fresh->solidLights.size(), 1u);
    EXPECT_EQ(fresh->solidLights[0]->position, centre);
    ASSERT_EQ(fresh->defaultSolidLights.size(), 1u);
    EXPECT_EQ(fresh->defaultSolidLights[0]->position, centre);

    std::unique_ptr<CSolidDocument> stored =
        scenefix::readRoom(lampRoom({12000, 7000}, false, false), catalogue);
    ASSERT_EQ(stored->defaultSolidLights.size(), 1u);
    EXPECT_EQ(stored->defaultSolidLights[0]->position, centre);
}
