// The wall setup dialog: the waist band read from the first wall, set on all walls, its two
// checks in order, Cancel and the undo step of OK.
#include "DialogInput.h"

#include "RoomDialogTest.h"

#include "ceiling/SolidWriter.h"
#include "dialogs/CWallSetupDialog.h"
#include "dialogs/WallBand.h"
#include "scene/WallScene.h"

#include <QCheckBox>
#include <QPushButton>
#include <QUndoStack>

#include <irrlicht.h>

using dialoginput::typeInto;

namespace {

class WallSetupTest : public dialogtest::RoomDialogTest
{
protected:
    void SetUp() override
    {
        RoomDialogTest::SetUp();
        openRoom("bathroom.xml"); // every wall has a band part
        ASSERT_GE(doc_->walls.size(), 2u);
        for (auto& wall : doc_->walls)
            ASSERT_GT(wall->wallParts.size(), vs::kWaistBandPart);
    }

    void TearDown() override
    {
        setup_.reset(); // before the design dialog, its parent
        RoomDialogTest::TearDown();
    }

    CWallSetupDialog& openSetup()
    {
        setup_ = std::make_unique<CWallSetupDialog>(*doc_, wnd_, view_.get());
        setup_->show();
        QApplication::processEvents();
        return *setup_;
    }

    template <typename T> T* field(const char* name)
    {
        T* found = setup_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    CWallPart& band(std::size_t wall) { return *doc_->walls[wall]->wallParts[vs::kWaistBandPart]; }

    std::unique_ptr<CWallSetupDialog> setup_;
};

} // namespace

TEST_F(WallSetupTest, BandOfTheFirstWallFillsTheDialogAndOkSetsItOnEveryWall)
{
    band(0).definition = {true, true, 1500, 9000};
    band(1).definition = {true, false, 300, 100};
    openSetup();
    EXPECT_TRUE(field<QCheckBox>("bandCheck")->isChecked());
    EXPECT_EQ(field<QLineEdit>("bandWidthEdit")->text(), "15.0");
    EXPECT_EQ(field<QLineEdit>("bandHeightEdit")->text(), "90.0");

    typeInto(field<QLineEdit>("bandWidthEdit"), "12.5");
    typeInto(field<QLineEdit>("bandHeightEdit"), "80");
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(setup_->result(), QDialog::Accepted);
    for (std::size_t i = 0; i < doc_->walls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(band(i).definition.hasBand);
        EXPECT_EQ(band(i).definition.height, 1250);
        EXPECT_EQ(band(i).definition.relativeBottom, 8000);
        ASSERT_NE(vs::wallPartNode(band(i)), nullptr) << "the wall was rebuilt with its band";
        EXPECT_TRUE(vs::wallPartNode(band(i))->isVisible());
    }
}

TEST_F(WallSetupTest, UntickedBandIsSwitchedOffWithTheFirstWallsValues)
{
    band(0).definition = {true, true, 1500, 9000};
    openSetup();
    field<QCheckBox>("bandCheck")->click();
    EXPECT_FALSE(field<QLineEdit>("bandWidthEdit")->isEnabled());
    EXPECT_FALSE(field<QLineEdit>("bandHeightEdit")->isEnabled());
    typeInto(field<QLineEdit>("bandWidthEdit"), "not read");
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(setup_->result(), QDialog::Accepted);
    for (std::size_t i = 0; i < doc_->walls.size(); ++i) {
        EXPECT_FALSE(band(i).definition.hasBand);
        EXPECT_EQ(band(i).definition.height, 1500);
        EXPECT_EQ(band(i).definition.relativeBottom, 9000);
        if (vs::wallPartNode(band(i)) != nullptr) {
            EXPECT_FALSE(vs::wallPartNode(band(i))->isVisible());
        }
    }
}

TEST_F(WallSetupTest, WidthIsCheckedFirstAndTheHeightOnlyOnceTheWidthIsGood)
{
    dialoginput::Messages messages;
    band(0).definition = {true, true, 1500, 9000};
    const std::string written = vs::writeSolid(*doc_);
    openSetup();
    typeInto(field<QLineEdit>("bandWidthEdit"), "-1");
    typeInto(field<QLineEdit>("bandHeightEdit"), "x");
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(messages.texts, QStringList{"\"腰花宽度\"输入错误！"});
    EXPECT_TRUE(setup_->isVisible());
    EXPECT_TRUE(field<QLineEdit>("bandWidthEdit")->hasFocus());

    typeInto(field<QLineEdit>("bandWidthEdit"), "10");
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(messages.texts.value(messages.texts.size() - 1), "\"腰花距地面高度\"输入错误！");
    EXPECT_TRUE(field<QLineEdit>("bandHeightEdit")->hasFocus());

    typeInto(field<QLineEdit>("bandHeightEdit"), "200000"); // 2 km
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(messages.texts.size(), 3) << "more than 1000 m is refused";
    EXPECT_EQ(vs::writeSolid(*doc_), written) << "nothing changed while refused";
}

TEST_F(WallSetupTest, ZeroWidthIsAcceptedAndOpensUntickedNextTime)
{
    openSetup();
    if (!field<QCheckBox>("bandCheck")->isChecked())
        field<QCheckBox>("bandCheck")->click();
    typeInto(field<QLineEdit>("bandWidthEdit"), "0");
    typeInto(field<QLineEdit>("bandHeightEdit"), "50");
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(setup_->result(), QDialog::Accepted);
    EXPECT_TRUE(band(0).definition.hasBand);
    EXPECT_EQ(band(0).definition.height, 0);

    openSetup();
    EXPECT_FALSE(field<QCheckBox>("bandCheck")->isChecked());
}

TEST_F(WallSetupTest, FirstWallWithoutABandPartOpensWithTheBandOff)
{
    doc_->walls[0]->wallParts.resize(1);
    openSetup();
    EXPECT_FALSE(field<QCheckBox>("bandCheck")->isChecked());
    EXPECT_FALSE(field<QLineEdit>("bandWidthEdit")->isEnabled());
    field<QCheckBox>("bandCheck")->click();
    typeInto(field<QLineEdit>("bandWidthEdit"), "10");
    typeInto(field<QLineEdit>("bandHeightEdit"), "100");
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(doc_->walls[0]->wallParts.size(), 1u) << "no band part is made up";
    EXPECT_EQ(band(1).definition.height, 1000);
}

TEST_F(WallSetupTest, CancelChangesNothingAndOkIsOneUndoStep)
{
    const std::string written = vs::writeSolid(*doc_);
    const bool shownBefore =
        vs::wallPartNode(band(0)) != nullptr && vs::wallPartNode(band(0))->isVisible();
    QUndoStack stack;
    dialoginput::whenModal([](QWidget* dialog) {
        typeInto(dialog->findChild<QLineEdit*>("bandWidthEdit"), "5");
        dialog->findChild<QPushButton*>("cancelButton")->click();
    });
    EXPECT_FALSE(vs::runWallSetup(*doc_, wnd_, &stack, view_.get()));
    EXPECT_EQ(vs::writeSolid(*doc_), written);
    EXPECT_EQ(stack.count(), 0);

    dialoginput::whenModal([](QWidget* dialog) {
        auto* check = dialog->findChild<QCheckBox*>("bandCheck");
        if (!check->isChecked())
            check->click();
        typeInto(dialog->findChild<QLineEdit*>("bandWidthEdit"), "20");
        typeInto(dialog->findChild<QLineEdit*>("bandHeightEdit"), "100");
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    EXPECT_TRUE(vs::runWallSetup(*doc_, wnd_, &stack, view_.get()));
    ASSERT_EQ(stack.count(), 1);
    const std::string accepted = vs::writeSolid(*doc_);
    EXPECT_NE(accepted, written);
    stack.undo();
    EXPECT_EQ(vs::writeSolid(*doc_), written);
    EXPECT_EQ(vs::wallPartNode(band(0)) != nullptr && vs::wallPartNode(band(0))->isVisible(),
              shownBefore);
    stack.redo();
    EXPECT_EQ(vs::writeSolid(*doc_), accepted);
    ASSERT_NE(vs::wallPartNode(band(0)), nullptr);
    EXPECT_TRUE(vs::wallPartNode(band(0))->isVisible());
}
