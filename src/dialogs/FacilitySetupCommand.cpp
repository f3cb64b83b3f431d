#include "dialogs/FacilitySetupCommand.h"

#include "scene/CSceneView.h"
#include "scene/FacilityScene.h"

namespace vs {

void applyFacilitySettings(CSceneView& wnd, CSolidFacility& facility,
                           const FacilitySettings& settings)
{
    settings.storeInto(facility);
    setFacilityBrightness(facility, settings.emissive);
    updateFacilityTransformation(facility, wnd.document());
    wnd.DrawScene();
}

} // namespace vs

FacilitySetupCommand::FacilitySetupCommand(CSceneView& wnd, CSolidFacility& facility,
                                           const FacilitySettings& before,
                                           const FacilitySettings& after)
    : QUndoCommand(QStringLiteral("物体属性")), wnd_(wnd), facility_(facility), before_(before),
      after_(after)
{
}

void FacilitySetupCommand::undo()
{
    apply(before_);
}

void FacilitySetupCommand::redo()
{
    apply(after_);
}

void FacilitySetupCommand::apply(const FacilitySettings& settings)
{
    vs::applyFacilitySettings(wnd_, facility_, settings);
}
