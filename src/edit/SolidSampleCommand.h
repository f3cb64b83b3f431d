// Applying a solid sample as one undoable step: the room's facilities and wall decorations are
// exchanged with the sample's, and exchanged back on undo.
#pragma once

#include "ceiling/SolidSampleMapping.h"

#include <QUndoCommand>

class DesignView;

class SolidSampleCommand : public QUndoCommand
{
public:
    /** The step that gives the view's document `contents` (from vs::mapSolidSample on that
     *  document). Pushing it (vs::runEdit) applies it. */
    SolidSampleCommand(DesignView& view, vs::SolidContents contents);

    /** Puts the sample's facilities and decorations in; the room's leave the selection and
     *  stay alive in the step. */
    void redo() override;
    /** Puts the room's own facilities and decorations back; the sample's stay in the step. */
    void undo() override;

private:
    /** Exchanges what the document holds with what the step holds, then redraws. */
    void exchange();

    DesignView& view_;
    /** What is not in the document: the sample's before redo, the room's own after it. */
    vs::SolidContents held_;
};
