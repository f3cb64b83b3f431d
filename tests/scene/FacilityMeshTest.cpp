// A model's mesh as the catalogue fetches it: one GetModelData on first use, FreeModelData for
// every block whatever it holds, the mesh dropped with the engine.
#include "MeshFixtures.h"
#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/HostCallbacks.h"
#include "document/DesignCatalogue.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstring>
#include <vector>

namespace {

struct MeshHost
{
    std::vector<std::pair<int, std::string>> savedMaterials;
    std::vector<uint8_t> block;
    int gets = 0;
    std::vector<void*> freed;
    bool giveNull = false;
};
MeshHost meshHost;

void getModelData(int32, void** block, int32* size)
{
    ++meshHost.gets;
    if (meshHost.giveNull) {
        *block = nullptr;
        *size = 0;
        return;
    }
    // The host hands out its own copy, as a real host would.
    void* copy = std::malloc(meshHost.block.size() + 1);
    std::memcpy(copy, meshHost.block.data(), meshHost.block.size());
    *block = copy;
    *size = static_cast<int32>(meshHost.block.size());
}

void freeModelData(void* block)
{
    meshHost.freed.push_back(block);
    std::free(block);
}

/** Material pictures come from the catalogue under test. */
class CatalogueMaterials : public DesignCatalogue
{
public:
    explicit CatalogueMaterials(CFacilityCatalogue& c) : catalogue_(c) {}
    CCandyType* candyType(int) override { return nullptr; }
    CFacilityModel* facilityModel(int id, int typeId) override
    {
        return catalogue_.findModel(id, typeId);
    }
    CFacilityModel* builtInModel(size_t position) override { return catalogue_.modelAt(position); }
    void loadStaticSample(int) override {}

private:
    CFacilityCatalogue& catalogue_;
};

void saveModelMaterials(int32 id, const char* text)
{
    meshHost.savedMaterials.emplace_back(id, text);
}

class FacilityModelMeshTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        meshHost = MeshHost();
        device = irr::createDevice(irr::video::EDT_NULL);
        ASSERT_NE(device, nullptr);
        device->getLogger()->setLogLevel(irr::ELL_NONE);
        callbacks.getModelData = getModelData;
        callbacks.freeModelData = freeModelData;
        callbacks.saveModelMaterials = saveModelMaterials;
        catalogue.addBuiltIns();
        FacilityModelInfo info;
        info.id = 10;
        info.name = "quad.x";
        model = catalogue.addModel(info);
    }
    void TearDown() override
    {
        catalogue.releaseEngineObjects();
        if (device)
            device->drop();
    }
    irr::IrrlichtDevice* device = nullptr;
    HostCallbacks callbacks;
    CFacilityCatalogue catalogue{&callbacks};
    CFacilityModel* model = nullptr;
};

} // namespace

TEST_F(FacilityModelMeshTest, MeshIsFetchedOnceFreedAndDroppedWithTheEngine)
{
    meshHost.block = vs::fixtures::modelBlock(2, vs::fixtures::quadX());
    irr::scene::ISceneManager* smgr = device->getSceneManager();
    irr::scene::IMesh* mesh = model->mesh(smgr);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(model->mesh(smgr), mesh);
    EXPECT_EQ(meshHost.gets, 1);
    ASSERT_EQ(meshHost.freed.size(), 1u);
    EXPECT_EQ(mesh->getReferenceCount(), 1); // the model's own reference only

    mesh->grab();
    catalogue.releaseEngineObjects();
    EXPECT_EQ(mesh->getReferenceCount(), 1); // the model let go
    mesh->drop();
    EXPECT_NE(model->mesh(smgr), nullptr); // fetched again for the next engine
    EXPECT_EQ(meshHost.gets, 2);
}

TEST_F(FacilityModelMeshTest, UnreadableBlocksAreFreedAndAskedForOncePerEngine)
{
    irr::scene::ISceneManager* smgr = device->getSceneManager();
    meshHost.block = vs::fixtures::modelBlock(7, vs::fixtures::quadX()); // unknown format
    EXPECT_EQ(model->mesh(smgr), nullptr);
    EXPECT_EQ(model->mesh(smgr), nullptr);
    EXPECT_EQ(meshHost.gets, 1);
    EXPECT_EQ(meshHost.freed.size(), 1u);

    catalogue.releaseEngineObjects();
    std::vector<uint8_t> cut = vs::fixtures::modelBlock(1, vs::fixtures::quad3ds());
    cut.resize(cut.size() / 2);
    meshHost.block = cut;
    EXPECT_EQ(model->mesh(smgr), nullptr);
    EXPECT_EQ(meshHost.freed.size(), 2u);

    catalogue.releaseEngineObjects();
    meshHost.giveNull = true;
    EXPECT_EQ(model->mesh(smgr), nullptr);
    EXPECT_EQ(meshHost.freed.size(), 2u); // nothing handed out, nothing to free
}

TEST_F(FacilityModelMeshTest, EngineTextureIsNamedAfterIdAndName)
{
    CFacilityModel* tile = catalogue.modelAt(2);
    ASSERT_NE(tile, nullptr);
    irr::video::ITexture* texture = tile->engineTexture(device->getVideoDriver());
    ASSERT_NE(texture, nullptr);
    EXPECT_STREQ(texture->getName().getPath().c_str(), "-2_欧式瓷砖.bmp");
    EXPECT_EQ(tile->engineTexture(device->getVideoDriver()), texture);
    EXPECT_EQ(model->engineTexture(device->getVideoDriver()), nullptr); // no picture
}

TEST_F(FacilityModelMeshTest, DefaultMaterialsTextureTheirBufferWithTheirTransform)
{
    meshHost.block = vs::fixtures::modelBlock(2, vs::fixtures::quadX());
    model->defaultMaterials = "<_g7><_fy _cq='0' _fv='-2' _fz='1' _g0='0' _g1='2' _g2='2' _g3='0'/>"
                              "<_fy _cq='9' _fv='-3' _g1='1' _g2='1'/></_g7>";
    CatalogueMaterials materials(catalogue);
    irr::scene::IMesh* mesh = model->mesh(device->getSceneManager(), &materials);
    ASSERT_NE(mesh, nullptr);
    const irr::video::SMaterial& m = mesh->getMeshBuffer(0)->getMaterial();
    ASSERT_NE(m.getTexture(0), nullptr);
    EXPECT_STREQ(m.getTexture(0)->getName().getPath().c_str(), "-2_欧式瓷砖.bmp");
    const irr::core::matrix4& t = m.getTextureMatrix(0);
    EXPECT_FLOAT_EQ(t[0], 2.0f);  // scale
    EXPECT_FLOAT_EQ(t[8], 10.0f); // offset 1 mm in decimillimetres
    // The material for buffer 9 names a buffer the mesh does not have: ignored.
}

TEST_F(FacilityModelMeshTest, StoringMaterialsKeepsTheMeshAndTellsTheHost)
{
    meshHost.block = vs::fixtures::modelBlock(2, vs::fixtures::quadX());
    irr::scene::IMesh* own = model->mesh(device->getSceneManager());
    irr::scene::SMesh* facilityMesh = new irr::scene::SMesh();
    model->storeDefaultMaterials(facilityMesh, "<_g7/>");
    facilityMesh->drop();
    EXPECT_EQ(model->mesh(device->getSceneManager()), facilityMesh);
    EXPECT_NE(own, facilityMesh);
    EXPECT_EQ(model->defaultMaterials, "<_g7/>");
    ASSERT_EQ(meshHost.savedMaterials.size(), 1u);
    EXPECT_EQ(meshHost.savedMaterials[0], std::make_pair(10, std::string("<_g7/>")));
}
