#include "edit/CeilingEdits.h"

#include "document/CGridMapping.h"
#include "edit/DesignView.h"
#include "edit/EditCommand.h"
#include "edit/HostCommands.h"

namespace vs {

CHost* addCeilingHost(DesignView& view, CGridMapping& plane, CCandyType& type, bool isFree,
                      double x, double y)
{
    auto command = std::make_unique<AddHostCommand>(view, plane, type, isFree, x, y);
    AddHostCommand* added = command.get();
    runEdit(view, std::move(command));
    // Without an undo stack the step ran and went; its item stays in the plane.
    return view.undoStack() != nullptr ? added->host()
                                       : (plane.hosts.empty() ? nullptr : plane.hosts.back().get());
}

void deleteCeilingHost(DesignView& view, CHost& host)
{
    if (host.plane == nullptr)
        return;
    runEdit(view, std::make_unique<DeleteHostCommand>(view, host));
}

void rotateCeilingHost(DesignView& view, CHost& host, int degrees)
{
    if (degrees != 90 && degrees != 270)
        return;
    runEdit(view, std::make_unique<RotateHostCommand>(view, host, degrees));
}

} // namespace vs
