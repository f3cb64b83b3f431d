// The design dialog's "显示设置" and "墙面设置" buttons open their dialogs on its room, and each
// OK is one step of its undo stack, undone by Ctrl+Z and redone by Ctrl+Y or Ctrl+Shift+Z.
#include "DialogInput.h"
#include "RoomDialogTest.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QUndoStack>

using dialoginput::typeInto;

namespace {

class DesignDialogSetupTest : public dialogtest::RoomDialogTest
{
};

} // namespace

TEST_F(DesignDialogSetupTest, SetupButtonsOpenTheirDialogsAndEachOkIsOneUndoStep)
{
    openRoom("kitchen.xml");
    auto* display = child<QPushButton>("displaySetupButton");
    auto* wall = child<QPushButton>("wallSetupButton");
    ASSERT_TRUE(display->isEnabled());
    ASSERT_TRUE(wall->isEnabled());
    const std::string before = written();

    dialoginput::whenModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "DisplaySetupDialog");
        dialog->findChild<QCheckBox*>("vividCheck")->click();
        typeInto(dialog->findChild<QLineEdit*>("fovEdit"), "90");
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    display->click();
    EXPECT_EQ(doc_->viewState->fov, 90);
    EXPECT_TRUE(child<QCheckBox>("vividColoursCheck")->isChecked())
        << "the design dialog's box follows the vivid colours";

    dialoginput::whenModal([](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "WallSetupDialog");
        auto* check = dialog->findChild<QCheckBox*>("bandCheck");
        if (!check->isChecked())
            check->click();
        typeInto(dialog->findChild<QLineEdit*>("bandWidthEdit"), "30");
        dialog->findChild<QPushButton*>("okButton")->click();
    });
    wall->click();
    QUndoStack* stack = view_->undoStack();
    ASSERT_EQ(stack->count(), 2);
    const std::string accepted = written();

    auto* undo = child<QAction>("undoAction");
    auto* redo = child<QAction>("redoAction");
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    undo->trigger();
    undo->trigger();
    EXPECT_EQ(doc_->viewState->fov, 72);
    EXPECT_FALSE(child<QCheckBox>("vividColoursCheck")->isChecked());
    redo->trigger();
    redo->trigger();
    EXPECT_EQ(written(), accepted);
    EXPECT_NE(accepted, before);
}
