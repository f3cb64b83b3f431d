// The display setup dialog ("显示设置"): field of view, ambient colour, first-person eye height,
// the ceiling's lighting and see-through back, the lighting model and vivid colours. Every edit
// is written into the room's view state and shown at once; Cancel puts back the block the
// dialog was given.
#pragma once

#include "dialogs/DialogInitialising.h"
#include "dialogs/DisplayPreferenceBlock.h"

#include <QDialog>

#include <memory>

class CFieldCheck;
class CSceneView;
class QLineEdit;
class QUndoStack;
class SolidViewState;

namespace Ui {
class DisplaySetupDialog;
}

class CDisplaySetupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CDisplaySetupDialog(QWidget* parent = nullptr);
    ~CDisplaySetupDialog() override;

    /** The 3D window whose document's view state is edited; set before the dialog is shown. */
    void setSolidWnd(CSceneView* wnd) { wnd_ = wnd; }
    /** The block Cancel restores (the constructor sets the defaults). */
    void setSavedPreferences(const DisplayPreferenceBlock& block) { saved_ = block; }
    const DisplayPreferenceBlock& savedPreferences() const { return saved_; }

    /** Fills the fields from the view state; done when the dialog is first shown. */
    void initialise();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    SolidViewState& prefs();
    void connectControls();
    void onTextChanged(QLineEdit* edit);
    QString fieldMessage(QLineEdit* edit, const QString& text) const;
    void setFieldText(QLineEdit* edit, double value, int decimals);
    void onAlphaStep(int d);
    void onChooseAmbient();
    void paintSwatch();
    void apply();

    std::unique_ptr<Ui::DisplaySetupDialog> ui_;
    CFieldCheck* fieldCheck_;
    CSceneView* wnd_ = nullptr;
    DisplayPreferenceBlock saved_;
    DisplayPreferenceBlock initial_;
    DialogInitialising initialising_;
    bool initialised_ = false;
};

namespace vs {

/**
 * Runs the display setup dialog modally for the design dialog's 3D window. On OK the edit
 * becomes one step on `undo` (when given); returns true on OK.
 */
bool runDisplaySetup(CSceneView& wnd, QUndoStack* undo, QWidget* parent = nullptr);

} // namespace vs
