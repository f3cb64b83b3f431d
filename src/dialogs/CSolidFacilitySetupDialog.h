// The object properties dialog ("物体属性") of one free-standing facility: its size, directly or
// as a magnification of its reference extent (keeping the proportions or not), its rotation
// (any angle, or the four right angles while it is stuck to a wall), its height above the
// floor, its distance from the wall and its added brightness. Every edit is shown on the
// facility's node at once; OK stores it, Cancel shows the stored values again.
//
// Sizes are shown in metres with three decimals, the distance from the wall in centimetres.
#pragma once

#include "dialogs/DialogInitialising.h"
#include "dialogs/FacilitySettings.h"

#include <QDialog>

#include <memory>

class CFieldCheck;
class CSolidFacility;
class CSceneView;
class QLineEdit;
class QUndoStack;

namespace Ui {
class SolidFacilitySetupDialog;
}

class CSolidFacilitySetupDialog : public QDialog
{
    Q_OBJECT

public:
    /** The dialog for `facility`, shown in `wnd`. */
    CSolidFacilitySetupDialog(CSceneView& wnd, CSolidFacility& facility, QWidget* parent = nullptr);
    ~CSolidFacilitySetupDialog() override;

    /** The working values (customZoom is the zoom, or -1 while the ratio is broken). */
    FacilitySettings working() const;

    void accept() override;
    void reject() override;

private:
    void initialise();
    void connectControls();
    void fillSizes();
    void onTextChanged(QLineEdit* edit);
    bool acceptable(QLineEdit* edit, double value) const;
    void resizeKeepingRatio(double e);
    void stepSize(QLineEdit* edit, float size, int d);
    void setField(QLineEdit* edit, double value, int decimals);
    void preview();

    std::unique_ptr<Ui::SolidFacilitySetupDialog> ui_;
    CFieldCheck* fieldCheck_;
    CSceneView& wnd_;
    CSolidFacility& facility_;
    const FacilitySettings stored_;
    Vec3f base_;
    double zoom_;
    bool ratioBroken_;
    Vec3f size_;
    Vec3f position_;
    float rotation_;
    int brightness_;
    DialogInitialising initialising_;
};

namespace vs {

/** Runs the object properties dialog of `facility` modally (the "属性" entry of a facility's
 *  context menu); on OK the edit is one step on `undo` (when given). Returns true on OK. */
bool runFacilitySetup(CSceneView& wnd, CSolidFacility& facility, QUndoStack* undo,
                      QWidget* parent = nullptr);

} // namespace vs
