#include "edit/EditCommand.h"

#include "edit/DesignView.h"

#include <QUndoStack>

namespace vs {

void runEdit(DesignView& view, std::unique_ptr<QUndoCommand> command)
{
    if (!command)
        return;
    if (QUndoStack* stack = view.undoStack()) {
        stack->push(command.release());
        return;
    }
    command->redo();
}

} // namespace vs
