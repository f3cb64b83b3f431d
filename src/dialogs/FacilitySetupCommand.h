// One accepted object properties edit: the facility's size, position, rotation, zoom and
// brightness before and after.
#pragma once

#include "dialogs/FacilitySettings.h"

#include <QUndoCommand>

class CSolidFacility;
class CSceneView;

class FacilitySetupCommand : public QUndoCommand
{
public:
    /** `after` is in effect when the command is pushed. */
    FacilitySetupCommand(CSceneView& wnd, CSolidFacility& facility, const FacilitySettings& before,
                         const FacilitySettings& after);

    void undo() override;
    void redo() override;

private:
    void apply(const FacilitySettings& settings);

    CSceneView& wnd_;
    CSolidFacility& facility_;
    FacilitySettings before_;
    FacilitySettings after_;
};

namespace vs {

/** Shows `facility` with `settings` (brightness and placement) and stores them into it. */
void applyFacilitySettings(CSceneView& wnd, CSolidFacility& facility,
                           const FacilitySettings& settings);

} // namespace vs
