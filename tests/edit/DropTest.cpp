// Models dropped from the 3D tab, placed by their kind and by what was hit: lights (refused
// under simple lighting), 3D models on the floor, the ceiling, a wall (flag bits 0 and 1 keep
// them stuck, bit 2 puts them on the floor), a facility or a light marker; doors and windows,
// floor, wall-tile and band pictures. Every drop is one undo step.
#include "MenuTestRoom.h"

#include "edit/Drops.h"
#include "edit/FacilityPlacement.h"
#include "scene/CCubicCloakSceneNode.h"
#include "scene/FacilityScene.h"
#include "scene/LightScene.h"
#include "scene/WallScene.h"

#include <cmath>

using namespace irr;

namespace menutest {
namespace {

class DropTest : public MenuTestRoom
{
protected:
    void SetUp() override
    {
        MenuTestRoom::SetUp();
        start_ = written();
    }

    /** The facility the last drop added. */
    CSolidFacility& dropped()
    {
        EXPECT_FALSE(doc_->solidFacilities.empty());
        return *doc_->solidFacilities.back();
    }

    /** The drop was one step: undo gives back the starting design, redo the dropped one. */
    void expectOneStep()
    {
        ASSERT_EQ(stack_->count(), 1);
        const std::string edited = written();
        EXPECT_NE(edited, start_);
        stack_->undo();
        EXPECT_EQ(written(), start_);
        stack_->redo();
        EXPECT_EQ(written(), edited);
    }

    std::string start_;
};

TEST_F(DropTest, LightsAreRefusedUnderSimpleLightingAndPlacedUnderProfessional)
{
    CFacilityModel& bulb = pictureModel(9101, 0, 0, 0);
    setSimpleLighting(true);
    vs::placeFacilityModel(*wnd_, floorHit({10000, 0, 8000}), bulb, false);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_.front(), QStringLiteral("只有在专业光照模型下才能放置光源！"));
    EXPECT_EQ(stack_->count(), 0);

    setSimpleLighting(false);
    start_ = written();
    const std::size_t lights = doc_->solidLights.size();
    vs::placeFacilityModel(*wnd_, floorHit({10000, 0, 8000}), bulb, false);
    ASSERT_EQ(doc_->solidLights.size(), lights + 1);
    CSolidLight& light = *doc_->solidLights.back();
    EXPECT_NEAR(light.position.x, 10000, 0.5);
    EXPECT_NEAR(light.position.y, 100, 0.5);
    EXPECT_NEAR(light.position.z, 8000, 0.5);
    EXPECT_FLOAT_EQ(light.attenuation.y, 0.002f);
    EXPECT_FLOAT_EQ(light.radius, 100000);
    EXPECT_FLOAT_EQ(light.diffuseColor.r, 192 / 255.0f);
    EXPECT_FALSE(light.isMain);
    EXPECT_FALSE(light.markerShown);
    ASSERT_NE(vs::lightNode(light), nullptr);
    EXPECT_TRUE(vs::lightNode(light)->isVisible());
    expectOneStep();
    EXPECT_EQ(doc_->solidLights.back().get(), &light); // the same light came back
}

TEST_F(DropTest, ModelsStandOnTheFloorAndHangFromTheCeiling)
{
    CFacilityModel& box = boxModel(9102, 1, {0, 0, 0}, {4000, 6000, 2000});
    vs::placeFacilityModel(*wnd_, floorHit({10000, 0, 8000}), box, false);
    CSolidFacility& onFloor = dropped();
    EXPECT_NEAR(onFloor.position.x, 10000, 0.5);
    EXPECT_NEAR(onFloor.position.y, 0, 0.5);
    EXPECT_NEAR(onFloor.position.z, 8000, 0.5);
    EXPECT_FLOAT_EQ(onFloor.size.y, 6000);
    EXPECT_EQ(onFloor.stickWall, nullptr);
    ASSERT_NE(vs::facilityNode(onFloor), nullptr);
    EXPECT_FALSE(vs::cloakNode(onFloor)->isVisible());
    expectOneStep();

    vs::placeFacilityModel(*wnd_, ceilingHit({20000, 24000, 9000}), box, false);
    EXPECT_NEAR(dropped().position.y, vs::lowestLayerHeight(*doc_) - 6000, 0.5);

    // Flag bit 2: on the floor whatever was hit.
    CFacilityModel& floorModel = boxModel(9103, 1 | (4 << 16), {0, 0, 0}, {4000, 6000, 2000});
    vs::placeFacilityModel(*wnd_, ceilingHit({20000, 24000, 9000}), floorModel, false);
    EXPECT_NEAR(dropped().position.y, 0, 0.5);
}

TEST_F(DropTest, OnAWallOnlyModelsThatOpenItStayStuck)
{
    CWall& wall = *doc_->walls[1];
    CFacilityModel& door = boxModel(9104, 1 | (1 << 16), {0, 0, 0}, {9000, 20000, 1000});
    vs::placeFacilityModel(*wnd_, wallHit(wall, 12000, 15000), door, false);
    EXPECT_EQ(dropped().stickWall, &wall);
    EXPECT_NEAR(dropped().position.x, 12000, 0.5);
    EXPECT_NEAR(dropped().position.y, 0, 0.5); // bit 0: from the floor
    expectOneStep();

    CFacilityModel& window = boxModel(9105, 1 | (2 << 16), {0, 0, 0}, {9000, 8000, 1000});
    vs::placeFacilityModel(*wnd_, wallHit(wall, 25000, 15000), window, false);
    EXPECT_EQ(dropped().stickWall, &wall);
    EXPECT_NEAR(dropped().position.y, 15000 - 4000, 0.5); // centred on the hit height

    // Any other model stands free where it would have stood against the wall.
    CFacilityModel& cabinet = boxModel(9106, 1, {0, 0, 0}, {6000, 7000, 3000});
    vs::placeFacilityModel(*wnd_, wallHit(wall, 10000, 15000), cabinet, false);
    CSolidFacility& free = dropped();
    EXPECT_EQ(free.stickWall, nullptr);
    CSolidFacility reference;
    reference.facilityModel = &cabinet;
    reference.size = free.size;
    reference.correctExtent = free.correctExtent;
    reference.position = Vec3f{10000, 15000 - 3500, 0};
    reference.stickWall = &wall;
    doc_->solidFacilities.push_back(std::unique_ptr<CSolidFacility>(&reference));
    const core::matrix4 stuck = vs::facilityMatrix(reference, *doc_);
    doc_->solidFacilities.back().release();
    doc_->solidFacilities.pop_back();
    EXPECT_TRUE(near(vs::facilityMatrix(free, *doc_), stuck));
}

TEST_F(DropTest, OnAFacilityOrALightMarkerTheModelTakesItsHeightAndMovesTowardsTheCamera)
{
    CFacilityModel& table = boxModel(9107, 1, {-4000, 0, -4000}, {4000, 7500, 4000});
    CSolidFacility& hitTable = addFacility(table, Vec3f{8000, 3000, 6000});
    CFacilityModel& vase = boxModel(9108, 1, {-1000, 0, -1000}, {1000, 3000, 1000});
    const PickResult onTable = facilityHit(hitTable);
    vs::placeFacilityModel(*wnd_, onTable, vase, false);
    CSolidFacility& placed = dropped();
    EXPECT_NEAR(placed.position.y, 3000, 0.5);
    const core::vector3df p = vs::worldToRoom(*doc_, onTable.point);
    EXPECT_NEAR(std::hypot(placed.position.x - p.X, placed.position.z - p.Z), 1000, 1);
    // Moved towards the globe camera: nearer to it than the hit point.
    const core::vector3df eye = vs::worldToRoom(*doc_, wnd_->globeCamera()->getAbsolutePosition());
    EXPECT_LT(std::hypot(eye.X - placed.position.x, eye.Z - placed.position.z),
              std::hypot(eye.X - p.X, eye.Z - p.Z));

    ASSERT_FALSE(doc_->solidLights.empty());
    CSolidLight& light = *doc_->solidLights.front();
    vs::placeFacilityModel(*wnd_, markerHit(light), vase, false);
    EXPECT_NEAR(dropped().position.y, light.position.y, 0.5);
}

TEST_F(DropTest, PicturesGoOnWallsAndTheFloor)
{
    CWall& wall = *doc_->walls[0];
    CFacilityModel& door = pictureModel(9109, 2, 9000, 21000, 1);
    vs::placeFacilityModel(*wnd_, floorHit({10000, 0, 8000}), door, false);
    EXPECT_EQ(stack_->count(), 0); // doors only on walls

    const std::size_t flats = wall.flatFacilities.size();
    vs::placeFacilityModel(*wnd_, wallHit(wall, 15000, 11000), door, false);
    ASSERT_EQ(wall.flatFacilities.size(), flats + 1);
    CFlatFacility& flat = *wall.flatFacilities.back();
    EXPECT_EQ(flat.flatSize, (IntSize{9000, 21000}));
    EXPECT_DOUBLE_EQ(flat.position.x, 15000 - 4500);
    EXPECT_DOUBLE_EQ(flat.position.y, -11000 - 10500); // local y is minus the height
    EXPECT_NE(vs::flatFacilityNode(flat), nullptr);
    expectOneStep();

    CFacilityModel& floorTiles = pictureModel(9110, 3, 6000, 6000);
    vs::placeFacilityModel(*wnd_, floorHit({10000, 0, 8000}), floorTiles, false);
    EXPECT_EQ(doc_->floor->facilityModel, &floorTiles);
    EXPECT_EQ(doc_->floor->ceramicTileSize, IntSize());
    ASSERT_NE(doc_->floor->scene, nullptr);
    stack_->undo();
    EXPECT_NE(doc_->floor->facilityModel, &floorTiles);
    EXPECT_NE(doc_->floor->scene, nullptr);
    stack_->redo();

    CFacilityModel& tiles = pictureModel(9111, 4, 3000, 3000);
    vs::placeFacilityModel(*wnd_, wallHit(wall, 15000, 3000), tiles, false);
    EXPECT_EQ(wall.wallParts[0]->facilityModel, &tiles);
    EXPECT_NE(doc_->walls[1]->wallParts[0]->facilityModel, &tiles);
    vs::placeFacilityModel(*wnd_, wallHit(wall, 15000, 3000), tiles, true); // Shift: every wall
    for (const auto& w : doc_->walls)
        EXPECT_EQ(w->wallParts[0]->facilityModel, &tiles);

    CFacilityModel& band = pictureModel(9112, 5, 6000, 2000);
    vs::placeFacilityModel(*wnd_, floorHit({10000, 0, 8000}), band, false);
    for (const auto& w : doc_->walls)
        EXPECT_EQ(w->bandPart()->facilityModel, &band);
    while (stack_->canUndo())
        stack_->undo();
    EXPECT_EQ(written(), start_);
}

TEST_F(DropTest, NothingIsDroppedOutsideTheWindowOrInTheCeilingOnlyView)
{
    CFacilityModel& box = boxModel(9113, 1, {0, 0, 0}, {4000, 6000, 2000});
    vs::dropFacilityModel(*wnd_, wnd_->mapToGlobal(QPoint(-3, 100)), box, false);
    vs::dropFacilityModel(*wnd_, wnd_->mapToGlobal(QPoint(200, 400)), box, false);
    wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::Globe, false);
    vs::dropFacilityModel(*wnd_, wnd_->mapToGlobal(QPoint(200, 150)), box, false);
    EXPECT_EQ(stack_->count(), 0);
    EXPECT_TRUE(doc_->solidFacilities.empty());
}

} // namespace
} // namespace menutest
