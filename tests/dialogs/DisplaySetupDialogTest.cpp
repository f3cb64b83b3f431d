// The display setup dialog over the design dialog's 3D window (null driver on the offscreen
// platform): previews while typing, messages on leaving, up-downs, the ambient swatch, Cancel
// and the undo step of OK.
#include "DialogInput.h"

#include "view/DialogTestFixture.h"

#include "ceiling/SolidWriter.h"
#include "dialogs/CDisplaySetupDialog.h"
#include "dialogs/CUpDown.h"
#include "scene/LightScene.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>

#include <cmath>

using dialoginput::leave;
using dialoginput::typeInto;

namespace {

class DisplaySetupTest : public dialogtest::DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        openDialog();
        wnd_ = view_->solidWnd();
        doc_ = &wnd_->document();
        if (!doc_->viewState)
            doc_->viewState = std::make_unique<SolidViewState>();
    }

    void TearDown() override
    {
        setup_.reset(); // before the design dialog, its parent
        DialogTest::TearDown();
    }

    CDisplaySetupDialog& openSetup()
    {
        setup_ = std::make_unique<CDisplaySetupDialog>(view_.get());
        setup_->setSolidWnd(wnd_);
        setup_->setSavedPreferences(DisplayPreferenceBlock::of(*doc_->viewState));
        setup_->show();
        setup_->activateWindow();
        QApplication::processEvents();
        return *setup_;
    }

    template <typename T> T* field(const char* name)
    {
        T* found = setup_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    SolidViewState& prefs() { return *doc_->viewState; }

    CSolidWnd* wnd_ = nullptr;
    CSolidDocument* doc_ = nullptr;
    std::unique_ptr<CDisplaySetupDialog> setup_;
};

double fovDegrees(CSolidWnd* wnd)
{
    return wnd->firstPersonCamera()->getFOV() * 180.0 / 3.14159265358979;
}

} // namespace

TEST_F(DisplaySetupTest, FieldOfViewIsClampedWhileTypingAndRefusedOnLeaving)
{
    dialoginput::Messages messages;
    openSetup();
    auto* fov = field<QLineEdit>("fovEdit");
    EXPECT_EQ(fov->text(), "72.0");

    typeInto(fov, "150");
    EXPECT_EQ(prefs().fov, 120) << "150 applies 120 at once";
    ASSERT_NE(wnd_->firstPersonCamera(), nullptr);
    EXPECT_NEAR(fovDegrees(wnd_), 120, 1e-3);
    EXPECT_TRUE(messages.texts.isEmpty());

    leave(fov, field<QLineEdit>("eyeHeightEdit"));
    EXPECT_EQ(messages.texts, QStringList{"\"视角\"必须大于30度和小于120度！"});
    EXPECT_TRUE(fov->hasFocus());

    typeInto(fov, "x1");
    EXPECT_EQ(prefs().fov, 120) << "an invalid text changes nothing";
    leave(fov, field<QLineEdit>("eyeHeightEdit"));
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_EQ(messages.texts.value(messages.texts.size() - 1), "输入错误！");

    typeInto(fov, "30");
    leave(fov, field<QLineEdit>("eyeHeightEdit"));
    EXPECT_EQ(messages.texts.size(), 2) << "the limit itself is accepted";
    EXPECT_EQ(prefs().fov, 30);
}

TEST_F(DisplaySetupTest, EyeHeightAndTransparencyHaveTheirOwnLimitsAndMessages)
{
    dialoginput::Messages messages;
    openSetup();
    auto* eye = field<QLineEdit>("eyeHeightEdit");
    auto* alpha = field<QLineEdit>("alphaEdit");
    typeInto(eye, "0.5");
    EXPECT_EQ(prefs().eyeAboveFloor, 1);
    leave(eye, alpha);
    EXPECT_EQ(messages.texts.value(messages.texts.size() - 1),
              "\"眼睛距地面高度\"必须大于1米和小于2.6米！");

    typeInto(eye, "2.6");
    typeInto(alpha, "-5");
    EXPECT_EQ(prefs().roofBackAlphaPercent, 0);
    leave(alpha, eye);
    EXPECT_EQ(messages.texts.value(messages.texts.size() - 1), "\"透明度\"必须在0和100之间！");
    EXPECT_EQ(prefs().eyeAboveFloor, 2.6);
}

TEST_F(DisplaySetupTest, UpDownsStepFromTheStoredValues)
{
    prefs().roofBackAlphaPercent = 100;
    openSetup();
    auto* fov = field<QLineEdit>("fovEdit");
    auto* eye = field<QLineEdit>("eyeHeightEdit");
    auto* alpha = field<QLineEdit>("alphaEdit");
    field<CUpDown>("fovUpDown")->step(-1);
    EXPECT_EQ(fov->text(), "73.0");
    EXPECT_EQ(prefs().fov, 73);
    field<CUpDown>("eyeHeightUpDown")->step(1);
    EXPECT_EQ(eye->text(), "1.34");
    EXPECT_NEAR(prefs().eyeAboveFloor, 1.34, 1e-9);
    field<CUpDown>("alphaUpDown")->step(-1);
    EXPECT_EQ(alpha->text(), "100") << "101 is out of range: nothing happens";
    field<CUpDown>("alphaUpDown")->step(1);
    EXPECT_EQ(alpha->text(), "99");
    EXPECT_EQ(prefs().roofBackAlphaPercent, 99);
}

TEST_F(DisplaySetupTest, ClearingTheSeeThroughBoxDisablesTheTransparencyAndKeepsIt)
{
    prefs().roofBackAlphaPercent = 35;
    openSetup();
    auto* box = field<QCheckBox>("roofBackCheck");
    ASSERT_TRUE(box->isChecked());
    box->click();
    EXPECT_FALSE(prefs().roofBackSemitransparent);
    EXPECT_FALSE(field<QLineEdit>("alphaEdit")->isEnabled());
    EXPECT_FALSE(field<CUpDown>("alphaUpDown")->isEnabled());
    EXPECT_EQ(prefs().roofBackAlphaPercent, 35);
}

TEST_F(DisplaySetupTest, SwatchAndColourDialogReadTheAmbientColourAsColorRef)
{
    prefs().ambientColor = 0x0000FF; // red in the low byte
    openSetup();
    auto* swatch = field<QLabel>("ambientSwatch");
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(255, 0, 0));

    dialoginput::ColourAnswer answer(QColor(0, 0, 255));
    field<QPushButton>("ambientButton")->click();
    EXPECT_EQ(answer.offered, QColor(255, 0, 0));
    EXPECT_EQ(prefs().ambientColor, 0xFF0000) << "blue goes into the third byte";
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST_F(DisplaySetupTest, CancelAfterSeveralPreviewsRestoresEveryPreference)
{
    const DisplayPreferenceBlock before = DisplayPreferenceBlock::of(prefs());
    const std::string written = vs::writeSolid(*doc_);
    openSetup();
    typeInto(field<QLineEdit>("fovEdit"), "95");
    typeInto(field<QLineEdit>("eyeHeightEdit"), "1.8");
    typeInto(field<QLineEdit>("alphaEdit"), "10");
    field<QCheckBox>("roofLightingCheck")->click();
    field<QRadioButton>("professionalRadio")->click();
    {
        dialoginput::ColourAnswer answer(QColor(10, 200, 30));
        field<QPushButton>("ambientButton")->click();
    }
    EXPECT_NE(DisplayPreferenceBlock::of(prefs()), before);
    EXPECT_FALSE(vs::usesSimpleLighting(*doc_));

    field<QPushButton>("cancelButton")->click();
    EXPECT_EQ(DisplayPreferenceBlock::of(prefs()), before);
    EXPECT_EQ(vs::writeSolid(*doc_), written);
    EXPECT_NEAR(fovDegrees(wnd_), before.fov, 1e-3);
    EXPECT_TRUE(vs::usesSimpleLighting(*doc_));
}

TEST_F(DisplaySetupTest, OkIsOneUndoStepThatRestoresWhatCancelWouldHaveKept)
{
    const DisplayPreferenceBlock before = DisplayPreferenceBlock::of(prefs());
    QUndoStack stack;
    dialoginput::whenModal([](QWidget* dialog) {
        auto* fov = dialog->findChild<QLineEdit*>("fovEdit");
        typeInto(fov, "100");
        dialog->findChild<QRadioButton*>("professionalRadio")->click();
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    EXPECT_TRUE(vs::runDisplaySetup(*wnd_, &stack, view_.get()));
    EXPECT_EQ(stack.count(), 1);
    EXPECT_EQ(prefs().fov, 100);
    EXPECT_FALSE(prefs().simpleLighting);

    stack.undo();
    EXPECT_EQ(DisplayPreferenceBlock::of(prefs()), before);
    EXPECT_NEAR(fovDegrees(wnd_), before.fov, 1e-3);
    stack.redo();
    EXPECT_EQ(prefs().fov, 100);
    EXPECT_NEAR(fovDegrees(wnd_), 100, 1e-3);

    dialoginput::whenModal([](QWidget* dialog) {
        typeInto(dialog->findChild<QLineEdit*>("fovEdit"), "40");
        dialog->findChild<QPushButton*>("cancelButton")->click();
    });
    EXPECT_FALSE(vs::runDisplaySetup(*wnd_, &stack, view_.get()));
    EXPECT_EQ(stack.count(), 1) << "Cancel adds no step";
    EXPECT_EQ(prefs().fov, 100);
}
