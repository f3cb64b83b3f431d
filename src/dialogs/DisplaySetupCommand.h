// One accepted display setup: undo puts back the preferences the dialog found, redo those it
// was closed with.
#pragma once

#include "dialogs/DisplayPreferenceBlock.h"

#include <QUndoCommand>

#include <functional>

class CSolidWnd;

class DisplaySetupCommand : public QUndoCommand
{
public:
    /** `after` is already in effect when the command is pushed. `onApplied` runs after each
     *  undo and redo (the design dialog mirrors the vivid-colours box). */
    DisplaySetupCommand(CSolidWnd& wnd, const DisplayPreferenceBlock& before,
                        const DisplayPreferenceBlock& after, std::function<void()> onApplied = {});

    void undo() override;
    void redo() override;

private:
    void apply(const DisplayPreferenceBlock& block);

    CSolidWnd& wnd_;
    DisplayPreferenceBlock before_;
    DisplayPreferenceBlock after_;
    std::function<void()> onApplied_;
};
