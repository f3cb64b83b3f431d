#include "dialogs/WallSetupCommand.h"

#include "dialogs/WallBand.h"
#include "scene/CSceneView.h"

WallSetupCommand::WallSetupCommand(CSolidDocument& doc, CSceneView* wnd, Bands before, Bands after)
    : QUndoCommand(QStringLiteral("墙面设置")), doc_(doc), wnd_(wnd), before_(std::move(before)),
      after_(std::move(after))
{
}

void WallSetupCommand::undo()
{
    apply(before_);
}

void WallSetupCommand::redo()
{
    apply(after_);
}

void WallSetupCommand::apply(const Bands& bands)
{
    vs::setWaistBands(doc_, bands);
    if (wnd_ != nullptr)
        wnd_->DrawScene();
}
