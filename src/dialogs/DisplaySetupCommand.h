// One accepted display setup: undo puts back the preferences the dialog found, redo those it
// was closed with.
#pragma once

#include "dialogs/DisplayPreferenceBlock.h"

#include <QUndoCommand>

class CSceneView;

class DisplaySetupCommand : public QUndoCommand
{
public:
    /** `after` is already in effect when the command is pushed. */
    DisplaySetupCommand(CSceneView& wnd, const DisplayPreferenceBlock& before,
                        const DisplayPreferenceBlock& after);

    void undo() override;
    void redo() override;

private:
    void apply(const DisplayPreferenceBlock& block);

    CSceneView& wnd_;
    DisplayPreferenceBlock before_;
    DisplayPreferenceBlock after_;
};
