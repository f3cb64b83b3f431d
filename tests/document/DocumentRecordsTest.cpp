#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "document/SolidCeiling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Catalogue models are only pointed to by the records; distinct addresses stand in for them.
CFacilityModel* fakeModel(int n)
{
    static char storage[8];
    return reinterpret_cast<CFacilityModel*>(&storage[n]);
}

// The document only stores and releases its scene root, so any address stands in for one.
SolidSceneRoot* fakeSceneRoot()
{
    static char storage;
    return reinterpret_cast<SolidSceneRoot*>(&storage);
}

// What the document still held when its scene root was released.
struct ReleaseRecord
{
    int releases = 0;
    bool recordsGone = false;
    bool viewStateAlive = false;
    CSolidDocument* currentWhileReleased = nullptr;
};

ReleaseRecord record;
const CSolidDocument* watched = nullptr;

void releaseSceneRoot(SolidSceneRoot*)
{
    ++record.releases;
    record.currentWhileReleased = vs::currentDocument();
    if (watched) {
        record.recordsGone = watched->solidFacilities.empty() && watched->solidLights.empty() &&
                             watched->defaultSolidLights.empty() && watched->walls.empty() &&
                             !watched->ceiling && !watched->floor;
        record.viewStateAlive = watched->viewState != nullptr;
    }
}

std::unique_ptr<CSolidDocument> documentWithScene()
{
    auto document = std::make_unique<CSolidDocument>();
    document->sceneRoot = CSolidDocument::SceneRootPtr(fakeSceneRoot(), &releaseSceneRoot);
    return document;
}

class DocumentRecordsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        record = ReleaseRecord();
        watched = nullptr;
    }
    void TearDown() override
    {
        vs::deleteCurrentDocument();
        watched = nullptr;
    }
};

using CurrentDocumentTest = DocumentRecordsTest;

} // namespace

TEST_F(DocumentRecordsTest, NewDocumentIsEmpty)
{
    CSolidDocument document;
    EXPECT_FALSE(document.ceiling);
    EXPECT_FALSE(document.floor);
    EXPECT_FALSE(document.sceneRoot);
    EXPECT_FALSE(document.viewState);
    EXPECT_EQ(document.view, nullptr);
    EXPECT_TRUE(document.walls.empty());
    EXPECT_TRUE(document.solidFacilities.empty());
    EXPECT_TRUE(document.solidLights.empty());
    EXPECT_TRUE(document.defaultSolidLights.empty());
    EXPECT_TRUE(document.staticSolidProjectedPoints.empty());
    EXPECT_TRUE(document.staticPolygons.empty());
    EXPECT_EQ(document.staticSolidSampleId, 0);
    EXPECT_EQ(document.staticSolidSampleImgSize, (IntSize{0, 0}));
    EXPECT_TRUE(document.samplePhoto.isNull());
    EXPECT_TRUE(document.sampleMask.isNull());
    EXPECT_FALSE(document.inverted);
}

TEST_F(DocumentRecordsTest, NewViewStateHasDisplayDefaults)
{
    SolidViewState state;
    EXPECT_EQ(state.trackballQuaternion, (Quat4f{0, 0, 0, 1}));
    EXPECT_EQ(state.staticSolidQuaternion, (Quat4f{0, 0, 0, 1}));
    EXPECT_EQ(state.firstPersonPosition, (Vec3f{0, 0, 0}));
    EXPECT_EQ(state.trackballPosition, (Vec3f{0, 0, 0}));
    EXPECT_EQ(state.staticSolidPosition, (Vec3f{0, 0, 0}));
    EXPECT_EQ(state.ballTranslation, (Vec3f{0, 0, 0}));
    EXPECT_EQ(state.fov, 72);
    EXPECT_EQ(state.ambientColor, 0x404040);
    EXPECT_EQ(state.eyeAboveFloor, 1.35);
    EXPECT_TRUE(state.roofUseLighting);
    EXPECT_TRUE(state.roofBackSemitransparent);
    EXPECT_EQ(state.roofBackAlphaPercent, 50);
    EXPECT_TRUE(state.simpleLighting);
    EXPECT_FALSE(state.invertTop);
    EXPECT_FALSE(state.gammaCorrection);
    EXPECT_EQ(state.lowestLayerHeight, 24000);
    // Valid modes, never a value the view does not know.
    EXPECT_EQ(state.workMode, SolidViewState::Viewing);
    EXPECT_EQ(state.viewMode, SolidViewState::FirstPerson);
}

TEST_F(DocumentRecordsTest, NewLightHasEngineDefaults)
{
    CSolidDocument document;
    CSolidLight light(&document);
    EXPECT_EQ(light.document, &document);
    EXPECT_EQ(light.ambientColor, (Colorf{0, 0, 0, 1}));
    EXPECT_EQ(light.diffuseColor, (Colorf{1, 1, 1, 1}));
    EXPECT_EQ(light.specularColor, (Colorf{1, 1, 1, 1}));
    EXPECT_EQ(light.attenuation, (Vec3f{1, 0, 0}));
    EXPECT_EQ(light.outerCone, 45);
    EXPECT_EQ(light.innerCone, 0);
    EXPECT_EQ(light.falloff, 2);
    EXPECT_EQ(light.position, (Vec3f{0, 0, 0}));
    EXPECT_EQ(light.direction, (Vec3f{0, 0, 1}));
    EXPECT_EQ(light.radius, 100);
    EXPECT_EQ(light.type, CSolidLight::Point);
    EXPECT_TRUE(light.castShadows);
    EXPECT_FALSE(light.isMain);
    EXPECT_TRUE(light.isVisible);
    EXPECT_EQ(light.host, nullptr);
}

TEST_F(DocumentRecordsTest, MainLightHangsOverCentreOfBounds)
{
    CSolidDocument document;
    auto light = CSolidLight::makeMainLight(&document, RRect{-100, 200, 500, 1000});
    EXPECT_EQ(light->position, (Vec3f{200, 14000, 600}));
    EXPECT_TRUE(light->isMain);
    EXPECT_TRUE(light->isVisible);
    EXPECT_EQ(light->document, &document);
    EXPECT_EQ(light->diffuseColor, (Colorf{1, 1, 1, 1}));
}

TEST_F(DocumentRecordsTest, WallPartIsWrittenVisibleOnlyWithPositiveHeight)
{
    CWallPart part;
    part.definition.visible = true;
    part.definition.height = 0;
    EXPECT_FALSE(part.writtenVisible());
    part.definition.height = -5;
    EXPECT_FALSE(part.writtenVisible());
    part.definition.height = 0.5;
    EXPECT_TRUE(part.writtenVisible());
    part.definition.visible = false;
    EXPECT_FALSE(part.writtenVisible());

    part.definition.relativeBottom = 6000;
    part.definition.height = 2000;
    EXPECT_EQ(part.definition.negatedTop(), -8000);
}

TEST_F(DocumentRecordsTest, DefaultWallHasThreeBandsFromTheBuiltInModels)
{
    auto wall = CWall::makeDefault(3, fakeModel(6), fakeModel(3), fakeModel(4));
    EXPECT_EQ(wall->index, 3);
    EXPECT_TRUE(wall->flatFacilities.empty());
    ASSERT_EQ(wall->wallParts.size(), 3u);
    struct Expected
    {
        CFacilityModel* model;
        double relativeBottom;
        double height;
        bool visible;
    };
    const Expected expected[] = {
        {fakeModel(6), 0, 500000, true},
        {fakeModel(3), 6000, 2000, false},
        {fakeModel(4), 0, 6000, false},
    };
    for (size_t i = 0; i < 3; ++i) {
        const CWallPart& part = *wall->wallParts[i];
        EXPECT_EQ(part.facilityModel, expected[i].model) << "part " << i;
        EXPECT_EQ(part.definition.relativeBottom, expected[i].relativeBottom) << "part " << i;
        EXPECT_EQ(part.definition.height, expected[i].height) << "part " << i;
        EXPECT_EQ(part.definition.visible, expected[i].visible) << "part " << i;
        EXPECT_EQ(part.ceramicTileSize, (IntSize{0, 0})) << "part " << i;
    }
}

TEST_F(DocumentRecordsTest, WallCopyingPartsIsIndependentAndHasNoFlatFacilities)
{
    auto first = CWall::makeDefault(0, fakeModel(6), fakeModel(3), fakeModel(4));
    first->wallParts[1]->ceramicTileSize = {300, 600};
    first->flatFacilities.push_back(std::make_unique<CFlatFacility>());

    auto copy = CWall::withPartsOf(5, *first);
    EXPECT_EQ(copy->index, 5);
    EXPECT_TRUE(copy->flatFacilities.empty());
    ASSERT_EQ(copy->wallParts.size(), 3u);
    EXPECT_EQ(copy->wallParts[1]->ceramicTileSize, (IntSize{300, 600}));
    EXPECT_EQ(copy->wallParts[2]->facilityModel, fakeModel(4));

    copy->wallParts[0]->definition.height = 1;
    EXPECT_EQ(first->wallParts[0]->definition.height, 500000);
}

TEST_F(DocumentRecordsTest, NewRecordsHaveUnsetMarkers)
{
    CustomMaterial material;
    EXPECT_EQ(material.index, -1);
    EXPECT_EQ(material.scaleX, 1);
    EXPECT_EQ(material.scaleY, 1);
    EXPECT_EQ(material.offsetX, 0);
    EXPECT_EQ(material.offsetY, 0);
    EXPECT_EQ(material.rotate, 0);
    EXPECT_EQ(material.facilityModel, nullptr);

    CSolidFacility facility;
    EXPECT_EQ(facility.customZoom, -1);
    EXPECT_EQ(facility.stickWall, nullptr);
    EXPECT_FALSE(facility.hasContent());
    facility.children.push_back(std::make_unique<CSolidFacility>());
    EXPECT_TRUE(facility.isGroup());
    EXPECT_TRUE(facility.hasContent());
}

TEST_F(DocumentRecordsTest, WallByIndexFindsTheFirstWallOnThatEdge)
{
    CSolidDocument document;
    document.walls.push_back(std::make_unique<CWall>(2));
    document.walls.push_back(std::make_unique<CWall>(0));
    document.walls.push_back(std::make_unique<CWall>(2));
    EXPECT_EQ(document.wallByIndex(2), document.walls[0].get());
    EXPECT_EQ(document.wallByIndex(0), document.walls[1].get());
    EXPECT_EQ(document.wallByIndex(1), nullptr);
    EXPECT_EQ(document.wallByIndex(-1), nullptr);
}

TEST_F(DocumentRecordsTest, SceneRootIsReleasedAfterTheRecordsAndBeforeTheViewState)
{
    auto document = documentWithScene();
    document->ceiling = std::make_unique<SolidCeiling>();
    document->floor = std::make_unique<SolidFloor>();
    document->walls.push_back(CWall::makeDefault(0, nullptr, nullptr, nullptr));
    document->solidFacilities.push_back(std::make_unique<CSolidFacility>());
    document->solidLights.push_back(CSolidLight::makeMainLight(document.get(), {}));
    document->defaultSolidLights.push_back(CSolidLight::makeMainLight(document.get(), {}));
    document->viewState = std::make_unique<SolidViewState>();
    watched = document.get();
    document.reset();
    EXPECT_EQ(record.releases, 1);
    EXPECT_TRUE(record.recordsGone);
    EXPECT_TRUE(record.viewStateAlive);
}

TEST_F(CurrentDocumentTest, ReplacingDeletesTheOldDocument)
{
    EXPECT_EQ(vs::currentDocument(), nullptr);
    vs::setCurrentDocument(documentWithScene());
    CSolidDocument* first = vs::currentDocument();
    ASSERT_NE(first, nullptr);

    auto second = std::make_unique<CSolidDocument>();
    CSolidDocument* secondAddress = second.get();
    vs::setCurrentDocument(std::move(second));
    EXPECT_EQ(record.releases, 1);
    EXPECT_EQ(record.currentWhileReleased, secondAddress);
    EXPECT_EQ(vs::currentDocument(), secondAddress);

    vs::setCurrentDocument(nullptr);
    EXPECT_EQ(vs::currentDocument(), nullptr);
}

TEST_F(CurrentDocumentTest, TakeHandsOverAndDeleteLeavesNone)
{
    vs::setCurrentDocument(documentWithScene());
    CSolidDocument* address = vs::currentDocument();
    auto taken = vs::takeCurrentDocument();
    EXPECT_EQ(taken.get(), address);
    EXPECT_EQ(vs::currentDocument(), nullptr);
    EXPECT_EQ(record.releases, 0);

    vs::setCurrentDocument(std::move(taken));
    record.currentWhileReleased = address;
    vs::deleteCurrentDocument();
    EXPECT_EQ(record.releases, 1);
    EXPECT_EQ(record.currentWhileReleased, nullptr);
    EXPECT_EQ(vs::currentDocument(), nullptr);
    vs::deleteCurrentDocument(); // none current: nothing happens
}

TEST_F(DocumentRecordsTest, DeeplyNestedGroupsAreDeletedWithoutExhaustingTheStack)
{
    auto root = std::make_unique<CSolidFacility>();
    CSolidFacility* innermost = root.get();
    for (int depth = 0; depth < 300000; ++depth) {
        innermost->children.push_back(std::make_unique<CSolidFacility>());
        innermost->children.push_back(std::make_unique<CSolidFacility>());
        innermost = innermost->children.back().get();
    }
    root.reset();
}
