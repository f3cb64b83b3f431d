#include "dialogs/MaterialCommand.h"

#include "scene/CSceneView.h"

MaterialCommand::MaterialCommand(CSceneView& wnd, CSolidFacility& facility,
                                 vs::CustomMaterialList before, vs::CustomMaterialList after)
    : QUndoCommand(QStringLiteral("材质")), wnd_(wnd), facility_(facility),
      before_(std::move(before)), after_(std::move(after))
{
}

void MaterialCommand::undo()
{
    apply(before_);
}

void MaterialCommand::redo()
{
    apply(after_);
}

void MaterialCommand::apply(const vs::CustomMaterialList& materials)
{
    vs::setCustomMaterials(facility_, materials);
    wnd_.DrawScene();
}
