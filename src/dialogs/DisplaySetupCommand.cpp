#include "dialogs/DisplaySetupCommand.h"

#include "document/CSolidDocument.h"
#include "scene/CSceneView.h"

DisplaySetupCommand::DisplaySetupCommand(CSceneView& wnd, const DisplayPreferenceBlock& before,
                                         const DisplayPreferenceBlock& after)
    : QUndoCommand(QStringLiteral("显示设置")), wnd_(wnd), before_(before), after_(after)
{
}

void DisplaySetupCommand::undo()
{
    apply(before_);
}

void DisplaySetupCommand::redo()
{
    apply(after_);
}

void DisplaySetupCommand::apply(const DisplayPreferenceBlock& block)
{
    CSolidDocument& doc = wnd_.document();
    if (!doc.viewState)
        doc.viewState = std::make_unique<SolidViewState>();
    block.storeEditedInto(*doc.viewState);
    wnd_.ApplyDisplayPreferences(true);
}
