#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/HostCallbacks.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray pngBytes(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes;
}

FacilityModelInfo modelInfo(int id, int typeId = 0, int categoryId = 0)
{
    FacilityModelInfo m;
    m.id = id;
    m.name = "model " + std::to_string(id);
    m.typeId = typeId;
    m.categoryId = categoryId;
    return m;
}

struct HostLog
{
    std::vector<std::pair<int, int>> categoryMoves;
    std::vector<std::pair<int, int>> requests;
    CFacilityCatalogue* catalogue = nullptr;
    FacilityModelInfo answer; ///< added when asked, unless its id is 0
};
HostLog host;

void setCategory(int32 model, int32 category)
{
    host.categoryMoves.emplace_back(model, category);
}

void requestModel(int32 id, int32 typeId)
{
    host.requests.emplace_back(id, typeId);
    if (host.answer.id != 0)
        host.catalogue->addModel(host.answer);
}

class FacilityCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = HostLog();
        host.catalogue = &catalogue;
        catalogue.addBuiltIns();
    }
    HostCallbacks callbacks;
    CFacilityCatalogue catalogue{&callbacks};
};

} // namespace

TEST_F(FacilityCatalogueTest, BuiltInsComeInTheirFixedOrderWithPictures)
{
    ASSERT_EQ(catalogue.models().size(), 7u);
    ASSERT_EQ(catalogue.categories().size(), 1u);
    EXPECT_EQ(catalogue.categories()[0]->id, -1);
    EXPECT_EQ(catalogue.categories()[0]->name, "光源");
    const int typeIds[] = {-1, -2, -3, -4, -5, -4, -5};
    const int kinds[] = {0, 4, 5, 4, 3, 4, 3};
    for (int i = 0; i < 7; ++i) {
        CFacilityModel* m = catalogue.modelAt(static_cast<size_t>(i + 1));
        EXPECT_EQ(m->id, -(i + 1));
        EXPECT_EQ(m->typeId, typeIds[i]);
        EXPECT_EQ(m->facilityKind(), kinds[i]);
        EXPECT_DOUBLE_EQ(m->modelLength, 10.0);
        EXPECT_FALSE(m->planPicture().isNull()) << "built-in picture of model " << m->id;
    }
    EXPECT_EQ(catalogue.modelAt(7)->width, 4400);
    EXPECT_EQ(catalogue.modelAt(7)->height, 2960);
    EXPECT_EQ(catalogue.modelAt(1)->categoryId, -1);
    EXPECT_EQ(catalogue.modelAt(8), nullptr);
    EXPECT_EQ(catalogue.modelAt(0), nullptr);
}

TEST_F(FacilityCatalogueTest, LookupByIdOrTypeIdFirstMatchWins)
{
    EXPECT_EQ(catalogue.findModel(-6)->id, -6);
    EXPECT_EQ(catalogue.findModel(0, -4)->id, -4);
    catalogue.addModel(modelInfo(50, 7));
    EXPECT_EQ(catalogue.findModel(999, 7)->id, 50);
    EXPECT_EQ(catalogue.findModel(999, 0), nullptr);
    EXPECT_TRUE(host.requests.empty()); // no RequestFacilityModel given
}

TEST_F(FacilityCatalogueTest, HostIsAskedAndOnlyAMatchingAnswerIsTaken)
{
    callbacks.requestFacilityModel = requestModel;
    host.answer = modelInfo(61);
    EXPECT_EQ(catalogue.findModel(60, 0), nullptr);
    ASSERT_EQ(host.requests.size(), 1u);
    EXPECT_EQ(host.requests[0], std::make_pair(60, 0));
    host.answer = modelInfo(62, 8);
    EXPECT_EQ(catalogue.findModel(70, 8)->id, 62); // matched by type id
    host.answer = modelInfo(60);
    EXPECT_EQ(catalogue.findModel(60)->id, 60);
    EXPECT_EQ(catalogue.findModel(60)->id, 60);
    EXPECT_EQ(host.requests.size(), 3u);
}

TEST_F(FacilityCatalogueTest, CategoriesLinkIntoATreeAndModelsIntoCategories)
{
    catalogue.addCategory(2, 0, "kitchen");
    catalogue.addCategory(5, 2, "brand");
    catalogue.addCategory(6, 99, "lost parent");
    catalogue.addCategory(7, 7, "own parent");
    catalogue.addModel(modelInfo(1, 0, 5));
    catalogue.addModel(modelInfo(2, 0, 42));
    catalogue.link();
    CFacilityCategory* brand = catalogue.findCategory(5);
    EXPECT_EQ(brand->parent, catalogue.findCategory(2));
    ASSERT_EQ(catalogue.findCategory(2)->children.size(), 1u);
    ASSERT_EQ(brand->models.size(), 1u);
    EXPECT_EQ(brand->models[0]->id, 1);
    EXPECT_EQ(catalogue.findModel(2)->category, nullptr);
    // -1 (light sources), 2, 6 and 7 are at the top; 7 is not its own child.
    EXPECT_EQ(catalogue.topCategories().size(), 4u);
    EXPECT_TRUE(catalogue.findCategory(7)->children.empty());
    EXPECT_EQ(catalogue.findCategory(-1)->models.size(), 1u); // the bulb
    catalogue.link();
    EXPECT_EQ(brand->models.size(), 1u);
    EXPECT_EQ(catalogue.topCategories().size(), 4u);
}

TEST_F(FacilityCatalogueTest, MovingToAnotherCategoryTellsTheHostFirstAndOnlyOnChange)
{
    callbacks.setModelCategory = setCategory;
    catalogue.addCategory(223, 0, "feature wall");
    catalogue.addCategory(3, 0, "chairs");
    CFacilityModel* m = catalogue.addModel(modelInfo(10, 0, 3));
    catalogue.link();
    catalogue.moveModelToCategory(m, 223);
    ASSERT_EQ(host.categoryMoves.size(), 1u);
    EXPECT_EQ(host.categoryMoves[0], std::make_pair(10, 223));
    EXPECT_EQ(m->category, catalogue.findCategory(223));
    EXPECT_TRUE(catalogue.findCategory(3)->models.empty());
    catalogue.moveModelToCategory(m, 223); // already there
    EXPECT_EQ(host.categoryMoves.size(), 1u);
    catalogue.moveModelToCategory(m, 0); // out of every category
    EXPECT_EQ(host.categoryMoves.size(), 2u);
    EXPECT_EQ(m->category, nullptr);
    EXPECT_TRUE(catalogue.findCategory(223)->models.empty());
}

TEST_F(FacilityCatalogueTest, DefaultSizesCompleteFromThePicture)
{
    const QByteArray picture = pngBytes(200, 100);
    const QByteArray texture = pngBytes(100, 400);
    FacilityModelInfo info = modelInfo(1);
    info.width = 9000;
    info.height = 0;
    info.scaleX = 0.5;
    info.pictureData = picture.constData();
    info.pictureSize = static_cast<int>(picture.size());
    CFacilityModel* m = catalogue.addModel(info);
    EXPECT_EQ(m->defaultFlatSize(), (IntSize{4500, 2250}));
    EXPECT_EQ(m->defaultTileSize(), (IntSize{9000, 4500}));

    info.id = 2;
    info.width = 0;
    info.height = 2000;
    info.texturePictureData = texture.constData();
    info.texturePictureSize = static_cast<int>(texture.size());
    EXPECT_EQ(catalogue.addModel(info)->defaultTileSize(), (IntSize{500, 2000}));

    info.id = 3; // no picture at all: the given values stay
    info.pictureData = nullptr;
    info.pictureSize = 0;
    info.texturePictureData = nullptr;
    info.texturePictureSize = 0;
    EXPECT_EQ(catalogue.addModel(info)->defaultTileSize(), (IntSize{0, 2000}));
}

TEST_F(FacilityCatalogueTest, ListPictureSizeDerivesMissingSidesAndFitsTheMaximum)
{
    const QByteArray picture = pngBytes(200, 100);
    FacilityModelInfo info = modelInfo(1);
    info.pictureData = picture.constData();
    info.pictureSize = static_cast<int>(picture.size());
    CFacilityModel* both = catalogue.addModel(info);
    EXPECT_EQ(both->listPictureSize(), (IntSize{200, 100}));
    EXPECT_EQ(both->listPictureSize(100), (IntSize{100, 50}));
    info.listHeight = 30;
    EXPECT_EQ(catalogue.addModel(info)->listPictureSize(), (IntSize{60, 30}));
    info.listHeight = 0;
    info.listWidth = 40;
    EXPECT_EQ(catalogue.addModel(info)->listPictureSize(), (IntSize{40, 20}));
    EXPECT_EQ(catalogue.modelAt(2)->listPictureSize(), (IntSize{50, 50}));
}

TEST_F(FacilityCatalogueTest, KindAndFlagsSplitIntoHalves)
{
    FacilityModelInfo info = modelInfo(1);
    info.kindAndFlags = (2 << 16) | 4;
    CFacilityModel* m = catalogue.addModel(info);
    EXPECT_EQ(m->facilityKind(), 4);
    EXPECT_EQ(m->kindFlags(), 2);
    EXPECT_TRUE(m->cutsWall());
    info.kindAndFlags = (4 << 16) | 4;
    EXPECT_FALSE(catalogue.addModel(info)->cutsWall());
}
