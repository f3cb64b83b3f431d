// How the catalogue list shows an entry: its picture at a size the eye can read and a label
// that is a name, not a file name.
#include "catalogue/CCandyCatalogue.h"
#include "catalogue/CCandyType.h"
#include "catalogue/HostCallbacks.h"
#include "view/CEntityTypeListBox.h"
#include "view/CatalogueLabel.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

QByteArray stripPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(240, 240, 236));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

CCandyType* addStrip(CCandyCatalogue& candies, int id, int width, int height, const QByteArray& png)
{
    CandyTypeInfo info;
    info.id = id;
    info.name = "Strip 100 white";
    info.kind = 2;
    info.nominalWidth = width;
    info.nominalHeight = height;
    info.listed = true;
    info.stripAcross = height > width;
    info.pictureData = png.constData();
    info.pictureSize = int(png.size());
    return candies.addType(info);
}

} // namespace

TEST(CatalogueListPictureTest, LongStripsKeepAReadableShortSide)
{
    HostCallbacks callbacks;
    CCandyCatalogue candies(&callbacks);
    const QByteArray along = stripPicture(256, 16), across = stripPicture(16, 256);
    CCandyType* lengthwise = addStrip(candies, 1, 60000, 1000, along);
    CCandyType* crosswise = addStrip(candies, 2, 1000, 60000, across);
    CCandyType* square = addStrip(candies, 3, 3000, 3000, along);
    CEntityTypeListBox list;
    list.resize(200, 400);
    list.fill({lengthwise, crosswise, square});
    // 6 m by 100 mm would be 150 x 3 pixels: a line that a white strip makes invisible.
    EXPECT_EQ(list.shownPictureSize(lengthwise), QSize(150, 8));
    EXPECT_EQ(list.shownPictureSize(crosswise), QSize(8, 150));
    EXPECT_EQ(list.shownPictureSize(square), QSize(50, 50)) << "other sizes are kept";
    const QPixmap shown = list.shownPicture(lengthwise);
    EXPECT_EQ(shown.size(), QSize(150, 8)) << "the picture is stretched to the size shown";
    // Turned by a quarter the short side stays readable.
    lengthwise->rotate(90);
    EXPECT_EQ(list.shownPictureSize(lengthwise), QSize(8, 150));
}

TEST(CatalogueLabelTest, PictureFileExtensionsAreDroppedFromLabels)
{
    EXPECT_EQ(catalogueLabel("灯泡.jpg"), "灯泡");
    EXPECT_EQ(catalogueLabel("欧式瓷砖.bmp"), "欧式瓷砖");
    EXPECT_EQ(catalogueLabel("19729.JPG"), "19729");
    EXPECT_EQ(catalogueLabel("scan.tiff"), "scan");
    EXPECT_EQ(catalogueLabel("Strip 100 white"), "Strip 100 white");
    EXPECT_EQ(catalogueLabel("Version 1.5"), "Version 1.5");
    EXPECT_EQ(catalogueLabel("notes.txt"), "notes.txt");
    EXPECT_EQ(catalogueLabel(".jpg"), ".jpg");
    EXPECT_EQ(catalogueLabel(""), "");
}
