// The light setup dialog ("光源设置"): one room light's switch, type, colour, range, height,
// attenuation and spot cone, and whether it casts the render's shadows. Every edit is shown on
// the light's nodes at once; OK stores it into the light, Cancel puts the nodes back.
//
// Opened with a light and no owner ("属性" on a light marker), or with the lamp that owns the
// light ("灯光设置" on a ceiling host item), whose light may not exist yet: ticking "启用光源"
// then creates it.
#pragma once

#include "dialogs/DialogInitialising.h"
#include "dialogs/LightData.h"
#include "dialogs/LightSetupCommand.h"

#include <QDialog>

#include <memory>
#include <optional>

class CFieldCheck;
class CHost;
class CSolidLight;
class CSceneView;
class QLineEdit;
class QUndoStack;

namespace Ui {
class LightSetupDialog;
}

class CLightSetupDialog : public QDialog
{
    Q_OBJECT

public:
    /** The dialog for `light` (may be null when `owner` is given) in the window `wnd` (not
     *  null: its document owns the light). */
    CLightSetupDialog(CSceneView& wnd, CSolidLight* light, CHost* owner, QWidget* parent = nullptr);
    ~CLightSetupDialog() override;

    /** The light edited: the one given, or the one "启用光源" created; may be null. */
    CSolidLight* light() const { return light_; }
    /** The working copy of the light's data. */
    const LightData& data() const { return data_; }
    /** The light "启用光源" created, as it was made and switched off (what Cancel keeps); nothing
     *  when the light existed before. */
    const std::optional<LightSetupCommand::State>& stateAtCreation() const { return created_; }
    /** Whether the light was switched on when the dialog opened. */
    bool wasEnabled() const { return enabled_; }

    void accept() override;
    void reject() override;

private:
    void initialise();
    void connectControls();
    void enableControls(bool on);
    void onTypeChanged();
    void onSpeedChanged();
    void onTextChanged(QLineEdit* edit);
    bool acceptable(QLineEdit* edit, double value) const;
    void onEnableClicked(bool on);
    void onChooseColour();
    void paintSwatch();
    void setField(QLineEdit* edit, double value, int decimals);
    void updateAttenuation();
    void applyToScene();

    std::unique_ptr<Ui::LightSetupDialog> ui_;
    CFieldCheck* fieldCheck_;
    CSceneView& wnd_;
    CSolidLight* light_;
    CHost* owner_;
    LightData data_;
    /** The coefficient shown in the attenuation field. */
    double coefficient_ = 0;
    bool enabled_ = false;
    std::optional<LightSetupCommand::State> created_;
    DialogInitialising initialising_;
};

namespace vs {

/**
 * Runs the light setup dialog modally: for `light` (the "属性" entry of a light marker, owner
 * null) or for the lamp `owner` and its light, which may be null (the "灯光设置" entry of a
 * ceiling host item). On OK the edit is one step on `undo` (when given). Returns true on OK.
 */
bool runLightSetup(CSceneView& wnd, CSolidLight* light, CHost* owner, QUndoStack* undo,
                   QWidget* parent = nullptr);

/** The light's node and marker show `data` (position included) instead of the stored record;
 *  the node's visibility stays. Nothing for a light without nodes. */
void previewLight(CSolidLight& light, const LightData& data);

} // namespace vs
