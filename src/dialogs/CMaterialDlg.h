// The material dialog ("材质"): for each mesh buffer of a facility, the picture of another
// catalogue model instead of the buffer's own texture, moved, scaled and turned. Every edit is
// shown on the facility's private copy of its mesh at once; OK keeps the list, Cancel gives
// the facility back its stored materials.
#pragma once

#include "dialogs/CustomMaterialList.h"
#include "dialogs/DialogInitialising.h"

#include <QDialog>

#include <memory>

class CFacilityCatalogue;
class CSolidFacility;
class CSceneView;
class QLineEdit;
class QUndoStack;

namespace Ui {
class MaterialDlg;
}

class CMaterialDlg : public QDialog
{
    Q_OBJECT

public:
    /** The dialog for `facility` shown in `wnd`; pictures are chosen from `catalogue`. */
    CMaterialDlg(CSceneView& wnd, CSolidFacility& facility, CFacilityCatalogue& catalogue,
                 QWidget* parent = nullptr);
    ~CMaterialDlg() override;

    /** The working list: one record per mesh buffer, in buffer order. */
    const vs::CustomMaterialList& materials() const { return working_; }
    /** The record shown. */
    int currentIndex() const { return current_; }

    void accept() override;
    void reject() override;

private:
    void connectControls();
    void showRecord();
    void drawPreview();
    void onTextChanged(QLineEdit* edit);
    void setField(QLineEdit* edit, double value, int decimals);
    void onChoosePicture();
    void onDefaultPicture();
    void apply();
    CustomMaterial& record() { return working_[static_cast<std::size_t>(current_)]; }

    std::unique_ptr<Ui::MaterialDlg> ui_;
    CSceneView& wnd_;
    CSolidFacility& facility_;
    CFacilityCatalogue& catalogue_;
    const vs::CustomMaterialList stored_;
    vs::CustomMaterialList working_;
    int current_ = 0;
    DialogInitialising initialising_;
};

namespace vs {

/** Runs the material dialog of `facility` modally (the "材质" entry of a facility's context
 *  menu), choosing pictures from the module's catalogue; on OK the edit is one step on `undo`
 *  (when given). Returns true on OK. */
bool runMaterialDialog(CSceneView& wnd, CSolidFacility& facility, QUndoStack* undo,
                       QWidget* parent = nullptr);

} // namespace vs
