// The size dialog in its three uses: the shown sizes, the refusals in order, the truncation
// and the all-walls box.
#include "DialogInput.h"

#include "dialogs/CSizeDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using dialoginput::typeInto;

namespace {

template <typename T> T* field(QWidget& dialog, const char* name)
{
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

} // namespace

TEST(SizeDialogTest, ShowsDecimalsOnlyWhenTheDivisionLeavesARemainder)
{
    EXPECT_EQ(CSizeDialog::sizeText(1234, 100, 1), "12.3");
    EXPECT_EQ(CSizeDialog::sizeText(1200, 100, 1), "12");
    EXPECT_EQ(CSizeDialog::sizeText(1250, 100, 0), "12");
    EXPECT_EQ(CSizeDialog::sizeText(605, 10, 1), "60.5");

    CSizeDialog tiles(CSizeDialog::Use::WallTiles, 1234, 1200);
    EXPECT_EQ(field<QGroupBox>(tiles, "sizeGroup")->title(), "瓷砖尺寸");
    EXPECT_EQ(field<QLineEdit>(tiles, "widthEdit")->text(), "12.3");
    EXPECT_EQ(field<QLineEdit>(tiles, "heightEdit")->text(), "12");
    EXPECT_EQ(field<QLabel>(tiles, "widthUnit")->text(), "厘米");
}

TEST(SizeDialogTest, AllWallsBoxOnlyForWallTiles)
{
    CSizeDialog tiles(CSizeDialog::Use::WallTiles, 3000, 3000);
    CSizeDialog doors(CSizeDialog::Use::DoorsAndWindows, 9000, 21000);
    CSizeDialog floor(CSizeDialog::Use::FloorTiles, 6000, 6000);
    tiles.show();
    doors.show();
    floor.show();
    EXPECT_TRUE(field<QCheckBox>(tiles, "allWallsCheck")->isVisible());
    EXPECT_FALSE(field<QCheckBox>(doors, "allWallsCheck")->isVisible());
    EXPECT_FALSE(field<QCheckBox>(floor, "allWallsCheck")->isVisible());
    EXPECT_EQ(field<QGroupBox>(doors, "sizeGroup")->title(), "门窗尺寸");
    EXPECT_EQ(field<QGroupBox>(floor, "sizeGroup")->title(), "地砖尺寸");
    EXPECT_EQ(field<QLineEdit>(floor, "widthEdit")->text(), "600");

    field<QCheckBox>(tiles, "allWallsCheck")->click();
    typeInto(field<QLineEdit>(tiles, "widthEdit"), "45.67");
    field<QPushButton>(tiles, "okButton")->click();
    EXPECT_EQ(tiles.result(), QDialog::Accepted);
    EXPECT_EQ(tiles.width(), 4567) << "45.67 x 100, truncated";
    EXPECT_EQ(tiles.height(), 3000);
    EXPECT_TRUE(tiles.allWalls());
}

TEST(SizeDialogTest, TruncatesWithoutLosingWhatWasTyped)
{
    CSizeDialog floor(CSizeDialog::Use::FloorTiles, 6000, 6000);
    floor.show();
    typeInto(field<QLineEdit>(floor, "widthEdit"), "0.29"); // 0.29 x 10 is 2.8999... in binary
    typeInto(field<QLineEdit>(floor, "heightEdit"), "12.34");
    field<QPushButton>(floor, "okButton")->click();
    EXPECT_EQ(floor.width(), 2);
    EXPECT_EQ(floor.height(), 123);
}

TEST(SizeDialogTest, ZeroNegativeOrHugeSizesAreRefusedWidthFirst)
{
    dialoginput::Messages messages;
    CSizeDialog doors(CSizeDialog::Use::DoorsAndWindows, 9000, 21000);
    doors.show();
    dialoginput::activate(&doors);
    typeInto(field<QLineEdit>(doors, "widthEdit"), "0");
    typeInto(field<QLineEdit>(doors, "heightEdit"), "-3");
    field<QPushButton>(doors, "okButton")->click();
    EXPECT_EQ(messages.texts, QStringList{"宽输入错误！"});
    EXPECT_TRUE(field<QLineEdit>(doors, "widthEdit")->hasFocus());
    EXPECT_TRUE(doors.isVisible());

    typeInto(field<QLineEdit>(doors, "widthEdit"), "90");
    field<QPushButton>(doors, "okButton")->click();
    EXPECT_EQ(messages.texts.value(1), "高输入错误！");
    EXPECT_TRUE(field<QLineEdit>(doors, "heightEdit")->hasFocus());

    typeInto(field<QLineEdit>(doors, "heightEdit"), "200000"); // 2 km
    field<QPushButton>(doors, "okButton")->click();
    EXPECT_EQ(messages.texts.size(), 3);
    EXPECT_EQ(doors.width(), 9000) << "nothing taken while refused";

    typeInto(field<QLineEdit>(doors, "heightEdit"), "210");
    field<QPushButton>(doors, "okButton")->click();
    EXPECT_EQ(doors.result(), QDialog::Accepted);
    EXPECT_EQ(doors.width(), 9000);
    EXPECT_EQ(doors.height(), 21000);
}

TEST(SizeDialogTest, CancelAnswersNothing)
{
    dialoginput::whenModal([](QWidget* dialog) {
        typeInto(dialog->findChild<QLineEdit*>("widthEdit"), "10");
        dialog->findChild<QPushButton*>("cancelButton")->click();
    });
    EXPECT_FALSE(vs::askSize(CSizeDialog::Use::FloorTiles, 6000, 6000).has_value());
    dialoginput::whenModal(
        [](QWidget* dialog) { dialog->findChild<QPushButton*>("okButton")->click(); });
    const auto answer = vs::askSize(CSizeDialog::Use::FloorTiles, 6000, 5000);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->width, 6000);
    EXPECT_EQ(answer->height, 5000);
}
