// The object properties dialog on a facility of the kitchen: magnification and proportions,
// the size up-downs, the rotation (wrapping, or the four right angles on a wall), the
// brightness slider, the "厚" label, Cancel and the undo step of OK.
#include "DialogInput.h"
#include "RoomDialogTest.h"

#include "catalogue/CFacilityModel.h"
#include "dialogs/CSolidFacilitySetupDialog.h"
#include "dialogs/CUpDown.h"
#include "scene/CCustomSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/FacilityScene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QUndoStack>

#include <cstring>

using dialoginput::leave;
using dialoginput::typeInto;

namespace {

class FacilitySetupTest : public dialogtest::RoomDialogTest
{
protected:
    void SetUp() override
    {
        RoomDialogTest::SetUp();
        openRoom("kitchen.xml");
        auto facility = std::make_unique<CSolidFacility>();
        facility->correctExtent = {10000, 20000, 5000};
        facility->size = {10000, 20000, 5000};
        facility->position = {15000, 0, 12000};
        facility->customZoom = 1;
        facility_ = facility.get();
        doc_->solidFacilities.push_back(std::move(facility));
        vs::buildFacilityNode(*facility_, doc_->roomNode, *doc_);
        ASSERT_NE(vs::facilityNode(*facility_), nullptr);
    }

    void TearDown() override
    {
        setup_.reset();
        RoomDialogTest::TearDown();
    }

    CSolidFacilitySetupDialog& openSetup()
    {
        setup_ = std::make_unique<CSolidFacilitySetupDialog>(*wnd_, *facility_, view_.get());
        setup_->show();
        dialoginput::activate(setup_.get());
        return *setup_;
    }

    template <typename T> T* field(const char* name)
    {
        T* found = setup_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    std::array<float, 16> nodeMatrix() const
    {
        std::array<float, 16> m{};
        std::memcpy(m.data(), vs::facilityNode(*facility_)->getRelativeTransformation().pointer(),
                    sizeof(m));
        return m;
    }

    CSolidFacility* facility_ = nullptr;
    std::unique_ptr<CSolidFacilitySetupDialog> setup_;
};

} // namespace

TEST_F(FacilitySetupTest, KeepingProportionsAHeightRescalesTheOthersAndShowsTheMagnification)
{
    openSetup();
    EXPECT_TRUE(field<QCheckBox>("keepRatioCheck")->isChecked());
    EXPECT_TRUE(field<QCheckBox>("fineCheck")->isChecked());
    EXPECT_EQ(field<QLineEdit>("zoomEdit")->text(), "1.00");
    EXPECT_EQ(field<QLineEdit>("heightEdit")->text(), "2.000");

    typeInto(field<QLineEdit>("heightEdit"), "4");
    EXPECT_EQ(field<QLineEdit>("widthEdit")->text(), "2.000");
    EXPECT_EQ(field<QLineEdit>("lengthEdit")->text(), "1.000");
    EXPECT_EQ(field<QLineEdit>("zoomEdit")->text(), "2.00");
    EXPECT_EQ(facility_->size.y, 20000) << "the record waits for OK";

    typeInto(field<QLineEdit>("heightEdit"), "4.5"); // the field typed into is not refilled
    EXPECT_EQ(field<QLineEdit>("heightEdit")->text(), "4.5");
    EXPECT_EQ(field<QLineEdit>("widthEdit")->text(), "2.250");

    typeInto(field<QLineEdit>("zoomEdit"), "0.5");
    EXPECT_EQ(field<QLineEdit>("widthEdit")->text(), "0.500");
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(facility_->size.x, 5000);
    EXPECT_EQ(facility_->size.y, 10000);
    EXPECT_EQ(facility_->customZoom, 0.5);
}

TEST_F(FacilitySetupTest, BrokenRatioEmptiesTheMagnificationAndOkStoresMinusOne)
{
    openSetup();
    field<QCheckBox>("keepRatioCheck")->click();
    typeInto(field<QLineEdit>("widthEdit"), "1.5");
    EXPECT_TRUE(field<QLineEdit>("zoomEdit")->text().isEmpty());
    EXPECT_EQ(field<QLineEdit>("heightEdit")->text(), "2.000") << "the others stay";
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(facility_->customZoom, -1);
    EXPECT_EQ(facility_->size.x, 15000);

    // Emptying the magnification and leaving it also breaks the ratio.
    facility_->customZoom = 1;
    openSetup();
    typeInto(field<QLineEdit>("zoomEdit"), "  ");
    leave(field<QLineEdit>("zoomEdit"), field<QLineEdit>("widthEdit"));
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(facility_->customZoom, -1);
}

TEST_F(FacilitySetupTest, UpDownsStepSizesByACentimetreAndWrapTheRotation)
{
    openSetup();
    field<CUpDown>("lengthUpDown")->step(1);
    EXPECT_EQ(field<QLineEdit>("lengthEdit")->text(), "0.490");
    field<CUpDown>("zoomUpDown")->step(-1);
    EXPECT_EQ(field<QLineEdit>("zoomEdit")->text(), "0.99") << "from the zoom 0.98 left by 0.49 m";

    field<CUpDown>("rotationUpDown")->step(1);
    EXPECT_EQ(field<QLineEdit>("rotationEdit")->text(), "359.0");
    field<CUpDown>("rotationUpDown")->step(-1);
    EXPECT_EQ(field<QLineEdit>("rotationEdit")->text(), "0.0");

    field<CUpDown>("elevationUpDown")->step(-1);
    EXPECT_EQ(field<QLineEdit>("elevationEdit")->text(), "0.010");
    EXPECT_FALSE(field<QLineEdit>("wallDistanceEdit")->isEnabled()) << "free standing";
}

TEST_F(FacilitySetupTest, SizesThatCannotBeShownAreRefusedOnLeaving)
{
    dialoginput::Messages messages;
    openSetup();
    auto* width = field<QLineEdit>("widthEdit");
    typeInto(width, "0");
    EXPECT_EQ(field<QLineEdit>("lengthEdit")->text(), "0.500") << "0 changes nothing";
    leave(width, field<QLineEdit>("heightEdit"));
    EXPECT_EQ(messages.texts, QStringList{"输入错误！"});
    typeInto(width, "2000"); // 2 km
    leave(width, field<QLineEdit>("heightEdit"));
    EXPECT_EQ(messages.texts.size(), 2);
    typeInto(width, "1");
    leave(width, field<QLineEdit>("heightEdit"));
    EXPECT_EQ(messages.texts.size(), 2);
}

TEST_F(FacilitySetupTest, FacilityOnAWallTurnsOnlyByRightAngles)
{
    facility_->stickWall = doc_->walls.front().get();
    facility_->rotateDegree = 90;
    facility_->position.z = 250;
    openSetup();
    auto* combo = field<QComboBox>("rotationCombo");
    EXPECT_TRUE(combo->isVisible());
    EXPECT_FALSE(field<QLineEdit>("rotationEdit")->isVisible());
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentText(), "90");
    EXPECT_EQ(field<QLineEdit>("wallDistanceEdit")->text(), "2.5");
    combo->setCurrentIndex(2);
    EXPECT_EQ(setup_->working().rotateDegree, 180);
    field<CUpDown>("wallDistanceUpDown")->step(-1);
    EXPECT_EQ(field<QLineEdit>("wallDistanceEdit")->text(), "3.5");
    facility_->stickWall = nullptr;
}

TEST_F(FacilitySetupTest, BrightnessSliderPreviewsAndOkKeepsIt)
{
    openSetup();
    field<QSlider>("brightnessSlider")->setValue(40);
    EXPECT_EQ(field<QLabel>("brightnessValue")->text(), "40");
    EXPECT_EQ(facility_->emissive, 0) << "the record waits for OK";
    field<QPushButton>("okButton")->click();
    EXPECT_EQ(facility_->emissive, 40);
}

TEST_F(FacilitySetupTest, FlatModelsHaveAThickness)
{
    FacilityModelInfo info;
    info.id = 7001;
    info.name = "门";
    info.kindAndFlags = (1 << 16) | 5;
    CFacilityModel door(info, nullptr);
    facility_->facilityModel = &door;
    openSetup();
    EXPECT_EQ(field<QLabel>("lengthLabel")->text(), "厚:");
    setup_.reset();
    facility_->facilityModel = nullptr;
}

TEST_F(FacilitySetupTest, CancelAfterPreviewsLeavesFacilityAndNodeAsBefore)
{
    const std::string before = written();
    const auto matrix = nodeMatrix();
    openSetup();
    typeInto(field<QLineEdit>("heightEdit"), "3");
    typeInto(field<QLineEdit>("rotationEdit"), "45");
    typeInto(field<QLineEdit>("elevationEdit"), "0.8");
    field<QSlider>("brightnessSlider")->setValue(70);
    EXPECT_NE(nodeMatrix(), matrix) << "previewed on the node";
    field<QPushButton>("cancelButton")->click();
    EXPECT_EQ(written(), before);
    EXPECT_EQ(nodeMatrix(), matrix);
    EXPECT_EQ(facility_->emissive, 0);
}

TEST_F(FacilitySetupTest, OkIsOneUndoStep)
{
    const std::string before = written();
    const auto matrix = nodeMatrix();
    QUndoStack stack;
    dialoginput::whenModal([](QWidget* dialog) {
        typeInto(dialog->findChild<QLineEdit*>("rotationEdit"), "30");
        dialog->findChild<QSlider*>("brightnessSlider")->setValue(20);
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    ASSERT_TRUE(vs::runFacilitySetup(*wnd_, *facility_, &stack, view_.get()));
    ASSERT_EQ(stack.count(), 1);
    EXPECT_EQ(facility_->rotateDegree, 30);
    const std::string accepted = written();
    stack.undo();
    EXPECT_EQ(written(), before);
    EXPECT_EQ(nodeMatrix(), matrix);
    stack.redo();
    EXPECT_EQ(written(), accepted);
}
