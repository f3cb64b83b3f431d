// One accepted material edit: the facility's custom materials before and after.
#pragma once

#include "dialogs/CustomMaterialList.h"

#include <QUndoCommand>

class CSolidFacility;
class CSceneView;

class MaterialCommand : public QUndoCommand
{
public:
    /** `after` is in effect when the command is pushed. */
    MaterialCommand(CSceneView& wnd, CSolidFacility& facility, vs::CustomMaterialList before,
                    vs::CustomMaterialList after);

    void undo() override;
    void redo() override;

private:
    void apply(const vs::CustomMaterialList& materials);

    CSceneView& wnd_;
    CSolidFacility& facility_;
    vs::CustomMaterialList before_;
    vs::CustomMaterialList after_;
};
