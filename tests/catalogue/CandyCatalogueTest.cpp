#include "catalogue/CCandyCatalogue.h"
#include "catalogue/CSectionBarType.h"
#include "catalogue/HostCallbacks.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

CandyTypeInfo typeInfo(int id, int kind, int categoryId = 0, bool listed = true, int w = 3000,
                       int h = 3000)
{
    CandyTypeInfo t;
    t.id = id;
    t.name = "type " + std::to_string(id);
    t.kind = kind;
    t.categoryId = categoryId;
    t.nominalWidth = w;
    t.nominalHeight = h;
    t.listed = listed;
    return t;
}

QByteArray pngBytes(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "PNG");
    return bytes;
}

/** What the host was asked, for the callbacks below. */
struct HostLog
{
    int imageCalls = 0;
    int textureCalls = 0;
    int requests = 0;
    CCandyCatalogue* catalogue = nullptr;
    int addOnRequest = 0; ///< id the host adds when asked (0: none)
    QByteArray picture1, picture2;
};
HostLog host;

void getImages(int32, const void** d1, int32* s1, const void** d2, int32* s2)
{
    ++host.imageCalls;
    *d1 = host.picture1.constData();
    *s1 = static_cast<int32>(host.picture1.size());
    *d2 = host.picture2.isEmpty() ? nullptr : host.picture2.constData();
    *s2 = static_cast<int32>(host.picture2.size());
}

void getTextures(int32, int32 index, const void** d, int32* s)
{
    ++host.textureCalls;
    *d = index == 2 ? host.picture1.constData() : nullptr;
    *s = index == 2 ? static_cast<int32>(host.picture1.size()) : 0;
}

void requestType(int32)
{
    ++host.requests;
    if (host.addOnRequest != 0)
        host.catalogue->addType(typeInfo(host.addOnRequest, 1));
}

class CandyCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = HostLog();
        host.catalogue = &catalogue;
        catalogue.addBuiltInKinds();
    }
    HostCallbacks callbacks;
    CCandyCatalogue catalogue{&callbacks};
};

} // namespace

TEST_F(CandyCatalogueTest, DerivedSizesFollowKindAndDefaultBarIds)
{
    CandyTypeInfo bar = typeInfo(-1, 1, 0, true, 1000, 1000);
    EXPECT_EQ(catalogue.addType(bar)->width, 30000);
    EXPECT_EQ(catalogue.types().back()->height, 250);
    EXPECT_EQ(catalogue.addType(typeInfo(164864, 3, 0, true, 10, 20))->width, 30000);
    EXPECT_EQ(catalogue.addType(typeInfo(9, 7, 0, true, 10, 20))->height, 250);

    CandyTypeInfo plain = typeInfo(10, 1, 0, true, 6000, 3000);
    CCandyType* t = catalogue.addType(plain);
    EXPECT_EQ(t->width, 6000);
    EXPECT_EQ(t->height, 3000);
    EXPECT_EQ(t->layoutSize, (IntSize{6000, 3000}));

    CandyTypeInfo strip = typeInfo(11, 2, 0, true, 0, 0);
    strip.width = 6000;
    strip.height = 300;
    EXPECT_EQ(catalogue.addType(strip)->layoutSize, (IntSize{0, 300}));
    strip.id = 12;
    strip.stripAcross = true;
    EXPECT_EQ(catalogue.addType(strip)->layoutSize, (IntSize{0, 6000}));
}

TEST_F(CandyCatalogueTest, KindsOutsideOneToEightAreIgnored)
{
    EXPECT_EQ(catalogue.addType(typeInfo(1, 0)), nullptr);
    EXPECT_EQ(catalogue.addType(typeInfo(2, 9)), nullptr);
    EXPECT_EQ(catalogue.addType(typeInfo(3, -5)), nullptr);
    EXPECT_TRUE(catalogue.types().empty());
    EXPECT_NE(catalogue.addType(typeInfo(4, 8)), nullptr);
}

TEST_F(CandyCatalogueTest, ProfileTextMakesASectionBarTypeReadAtOnce)
{
    const std::string square = "<profile><contours><contour id='1'><points>"
                               "<point value='0,0' isPivotPoint='true'/><point value='40,0'/>"
                               "<point value='40,10'/><point value='0,10'/>"
                               "</points></contour></contours></profile>";
    CandyTypeInfo info = typeInfo(5, 8);
    info.profile = square;
    CCandyType* t = catalogue.addType(info);
    ASSERT_TRUE(t->isSectionBar());
    auto* bar = static_cast<CSectionBarType*>(t);
    EXPECT_EQ(bar->profileText, square);
    ASSERT_NE(bar->profile, nullptr);
    EXPECT_EQ(bar->profile->contours.size(), 1u);
    EXPECT_FALSE(catalogue.addType(typeInfo(6, 8))->isSectionBar());

    // A profile that cannot be read is not kept half-read, but the type stays, with an empty
    // profile and one warning line, so designs keep their bars of it and never ask again.
    info.id = 7;
    info.profile = "<profile><contours><contour><points><point value='1'/></points></contour>"
                   "</contours></profile>";
    testing::internal::CaptureStderr();
    CCandyType* kept = catalogue.addType(info);
    const std::string warning = testing::internal::GetCapturedStderr();
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->isSectionBar());
    auto* empty = static_cast<CSectionBarType*>(kept);
    ASSERT_NE(empty->profile, nullptr);
    EXPECT_TRUE(empty->profile->contours.empty());
    EXPECT_TRUE(empty->profile->evaluate().empty());
    EXPECT_EQ(empty->profileText, info.profile);
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_NE(warning.find("7"), std::string::npos) << warning;
    EXPECT_EQ(catalogue.types().size(), 3u);
    callbacks.requestCandyType = requestType;
    EXPECT_EQ(catalogue.findType(7), kept);
    EXPECT_EQ(host.requests, 0);
    info.id = 10; // not XML at all
    info.profile = "<profile";
    testing::internal::CaptureStderr();
    EXPECT_NE(catalogue.addType(info), nullptr);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST_F(CandyCatalogueTest, ListPictureSizeFitsLargeTypesInto150Pixels)
{
    EXPECT_EQ(catalogue.addType(typeInfo(1, 1, 0, true, 12000, 3000))->listPictureSize(),
              (IntSize{150, 38}));
    EXPECT_EQ(catalogue.addType(typeInfo(2, 1, 0, true, 3000, 12000))->listPictureSize(),
              (IntSize{38, 150}));
    EXPECT_EQ(catalogue.addType(typeInfo(3, 1, 0, true, 6000, 3000))->listPictureSize(),
              (IntSize{100, 50}));
    EXPECT_EQ(catalogue.addType(typeInfo(4, 1, 0, true, 9000, 9000))->listPictureSize(),
              (IntSize{150, 150}));
}

TEST_F(CandyCatalogueTest, RotationStaysWithinAFullTurn)
{
    CCandyType* t = catalogue.addType(typeInfo(1, 3));
    t->rotate(270);
    t->rotate(180);
    EXPECT_EQ(t->rotation(), 90);
    t->rotate(-180);
    EXPECT_EQ(t->rotation(), 270);
    t->rotate(-720);
    EXPECT_EQ(t->rotation(), 270);
    EXPECT_EQ(t->contextMenuIndex(), 3);
}

TEST_F(CandyCatalogueTest, ApplianceTypesJoinBothApplianceKindsOnce)
{
    catalogue.addType(typeInfo(1, 5));
    catalogue.addType(typeInfo(2, 5));
    catalogue.addType(typeInfo(3, 5, 0, false));
    catalogue.link();
    for (int kindId : {3, 4}) {
        CCandyKind* k = catalogue.findKind(kindId);
        EXPECT_EQ(k->types.size(), 3u) << kindId;
        EXPECT_EQ(k->listedCount, 2) << kindId;
        EXPECT_EQ(k->sizes.size(), 1u) << kindId;
        EXPECT_EQ(k->rootCategory()->listedCount, 2) << kindId;
    }
    // Kinds 7 and 8 have no kind of their own.
    catalogue.addType(typeInfo(4, 7));
    catalogue.link();
    size_t filed = 0;
    for (const auto& k : catalogue.kinds())
        filed += k->types.size();
    EXPECT_EQ(filed, 6u);
}

TEST_F(CandyCatalogueTest, StripKindCollectsRepeatSizes)
{
    CandyTypeInfo a = typeInfo(1, 2);
    a.width = 6000;
    a.height = 300;
    CandyTypeInfo b = a;
    b.id = 2;
    b.stripAcross = true;
    CandyTypeInfo c = a;
    c.id = 3;
    catalogue.addType(a);
    catalogue.addType(b);
    catalogue.addType(c);
    catalogue.link();
    EXPECT_EQ(catalogue.findKind(2)->sizes, (std::vector<IntSize>{{0, 300}, {0, 6000}}));
}

TEST_F(CandyCatalogueTest, CategoryChildrenSortByOrderThenId)
{
    catalogue.addCategory(1, "top", 0, 0);
    catalogue.addCategory(30, "c", 1, 2);
    catalogue.addCategory(10, "a", 1, 2);
    catalogue.addCategory(20, "b", 1, 1);
    catalogue.addCategory(40, "orphan", 99, 0);
    catalogue.link();
    const auto& children = catalogue.findCategory(1)->children;
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0]->id, 20);
    EXPECT_EQ(children[1]->id, 10);
    EXPECT_EQ(children[2]->id, 30);
    EXPECT_EQ(catalogue.findCategory(40)->parent, nullptr);
}

TEST_F(CandyCatalogueTest, KindTreesCopyOneLevelOfParents)
{
    catalogue.addCategory(1, "grand", 0, 0);
    catalogue.addCategory(2, "parent", 1, 5);
    catalogue.addCategory(3, "child", 2, 1);
    catalogue.addCategory(4, "top b", 0, 1);
    catalogue.addType(typeInfo(100, 1, 3));
    catalogue.addType(typeInfo(101, 1, 4));
    catalogue.addType(typeInfo(102, 1, 77)); // unknown category: the root
    catalogue.link();

    CCandyKind* k = catalogue.findKind(1);
    // The copy of 3 hangs under a copy of 2, which sits at the top: 1 is not copied.
    ASSERT_EQ(k->topCategories.size(), 2u);
    EXPECT_EQ(k->topCategories[0]->id, 4); // order 1 before order 5
    EXPECT_EQ(k->topCategories[1]->id, 2);
    EXPECT_EQ(k->findCategory(1), nullptr);
    CCandyCategory* child = k->findCategory(3);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->parent, k->findCategory(2));
    EXPECT_EQ(child->types.size(), 1u);
    EXPECT_TRUE(k->findCategory(2)->hasListedTypes());
    EXPECT_EQ(k->rootCategory()->types.size(), 1u);
    EXPECT_EQ(k->rootCategory()->types[0]->id, 102);
    // Copies are the kind's own.
    EXPECT_NE(child, catalogue.findCategory(3));
}

TEST_F(CandyCatalogueTest, LinkingTwiceDoesNotFileEverythingTwice)
{
    catalogue.addCategory(1, "top", 0, 0);
    catalogue.addCategory(2, "sub", 1, 0);
    catalogue.addType(typeInfo(100, 1, 2));
    catalogue.link();
    catalogue.link();
    EXPECT_EQ(catalogue.findCategory(1)->children.size(), 1u);
    EXPECT_EQ(catalogue.findKind(1)->types.size(), 1u);
    EXPECT_EQ(catalogue.findKind(1)->listedCount, 1);
}

TEST_F(CandyCatalogueTest, CategoryCyclesStayAtTheTop)
{
    catalogue.addCategory(1, "self", 1, 0);
    catalogue.addCategory(2, "a", 3, 0);
    catalogue.addCategory(3, "b", 2, 0);
    catalogue.addType(typeInfo(100, 1, 3));
    catalogue.link();
    EXPECT_EQ(catalogue.findCategory(1)->parent, nullptr);
    EXPECT_TRUE(catalogue.findCategory(1)->children.empty());
    // One of the pair keeps the other as parent; the walk up ends.
    int depth = 0;
    for (CCandyCategory* c = catalogue.findCategory(3); c != nullptr; c = c->parent)
        ASSERT_LT(++depth, 5);
    EXPECT_TRUE(catalogue.findKind(1)->findCategory(3)->hasListedTypes());
}

TEST_F(CandyCatalogueTest, BuiltInKindsTwiceWhenPouredTwice)
{
    ASSERT_EQ(catalogue.kinds().size(), 5u);
    EXPECT_EQ(catalogue.kinds()[1]->name, "条扣板");
    EXPECT_EQ(catalogue.tabList(4)->id, 6);
    EXPECT_EQ(catalogue.tabList(5), nullptr);
    catalogue.addBuiltInKinds();
    EXPECT_EQ(catalogue.kinds().size(), 10u);
    catalogue.addType(typeInfo(1, 1));
    catalogue.link();
    EXPECT_EQ(catalogue.kinds()[0]->types.size(), 1u); // first match wins
    EXPECT_EQ(catalogue.kinds()[5]->types.size(), 0u);
}

TEST_F(CandyCatalogueTest, LookupAsksTheHostOnceAndTakesOnlyAMatchingLastType)
{
    EXPECT_EQ(catalogue.findType(0), nullptr);
    catalogue.addType(typeInfo(7, 1));
    EXPECT_EQ(catalogue.findType(7)->id, 7);
    EXPECT_EQ(catalogue.findType(8), nullptr); // no RequestCandyType: nobody asked
    callbacks.requestCandyType = requestType;
    EXPECT_EQ(catalogue.findType(8), nullptr);
    EXPECT_EQ(host.requests, 1);
    host.addOnRequest = 9; // the host answers with another type
    EXPECT_EQ(catalogue.findType(8), nullptr);
    host.addOnRequest = 8;
    EXPECT_EQ(catalogue.findType(8)->id, 8);
    EXPECT_EQ(host.requests, 3);
    EXPECT_EQ(catalogue.findType(8)->id, 8);
    EXPECT_EQ(host.requests, 3);
    EXPECT_EQ(catalogue.findType(0), nullptr);
    EXPECT_EQ(host.requests, 3);
}

TEST_F(CandyCatalogueTest, PicturesAreFetchedOnceAndDecoded)
{
    host.picture1 = pngBytes(8, 4, qRgb(255, 0, 0));
    host.picture2 = pngBytes(2, 2, qRgb(0, 0, 255));
    callbacks.getCandyTypeImages = getImages;
    callbacks.getCandyTypeTextures = getTextures;
    CCandyType* t = catalogue.addType(typeInfo(1, 1));
    EXPECT_EQ(t->planPicture().width(), 8);
    EXPECT_EQ(t->secondPicture().width(), 2);
    EXPECT_EQ(t->planPicture().image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(host.imageCalls, 1);
    EXPECT_TRUE(t->sidePicture(0).isNull());
    EXPECT_EQ(t->sidePicture(2).height(), 4);
    t->sidePicture(2);
    t->sidePicture(0);
    EXPECT_EQ(host.textureCalls, 2);
    EXPECT_THROW(t->sidePicture(4), std::out_of_range);
}

TEST_F(CandyCatalogueTest, PouredPictureServesWhenTheHostLeavesItAndCorruptBytesGiveNone)
{
    const QByteArray poured = pngBytes(3, 3, qRgb(0, 255, 0));
    CandyTypeInfo info = typeInfo(1, 1);
    info.pictureData = poured.constData();
    info.pictureSize = static_cast<int>(poured.size());
    EXPECT_EQ(catalogue.addType(info)->planPicture().width(), 3); // no callback given

    const char junk[] = "GIF89a-not-really";
    info.id = 2;
    info.pictureData = junk;
    info.pictureSize = sizeof junk;
    EXPECT_TRUE(catalogue.addType(info)->planPicture().isNull());
}
