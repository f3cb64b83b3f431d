// One accepted light setup: the light's data and switch before and after, and the shadow flags
// of the other lights that OK cleared.
#pragma once

#include "dialogs/LightData.h"

#include <QUndoCommand>

#include <utility>
#include <vector>

class CSolidLight;
class CSceneView;

class LightSetupCommand : public QUndoCommand
{
public:
    struct State
    {
        LightData data;
        bool isVisible = true;
        /** Every light of the room with its shadow flag. */
        std::vector<std::pair<CSolidLight*, bool>> shadows;
    };

    /** The state of `light` and the shadow flags of every light of its document. */
    static State capture(const CSolidLight& light);

    /** `after` is in effect when the command is pushed. */
    LightSetupCommand(CSceneView& wnd, CSolidLight& light, State before, State after);

    void undo() override;
    void redo() override;

private:
    void apply(const State& state);

    CSceneView& wnd_;
    CSolidLight& light_;
    State before_;
    State after_;
};
