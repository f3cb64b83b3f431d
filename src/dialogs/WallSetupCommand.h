// One accepted wall setup: the waist band of every wall before and after.
#pragma once

#include "document/CWallPart.h"

#include <QUndoCommand>

#include <optional>
#include <vector>

class CSolidDocument;
class CSceneView;

class WallSetupCommand : public QUndoCommand
{
public:
    using Bands = std::vector<std::optional<CWallPartDefinition>>;

    /** `after` is already in effect when the command is pushed. */
    WallSetupCommand(CSolidDocument& doc, CSceneView* wnd, Bands before, Bands after);

    void undo() override;
    void redo() override;

private:
    void apply(const Bands& bands);

    CSolidDocument& doc_;
    CSceneView* wnd_;
    Bands before_;
    Bands after_;
};
