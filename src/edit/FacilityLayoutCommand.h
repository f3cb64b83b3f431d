// One undoable facility edit: the document switches between two facility layouts. Facilities
// that are in neither the document nor a group in the layout in effect are kept alive by the
// command, so that undo and redo can put the very same objects back.
#pragma once

#include "edit/FacilityLayout.h"

#include <QUndoCommand>

#include <memory>
#include <vector>

class DesignView;

class FacilityLayoutCommand : public QUndoCommand
{
public:
    /**
     * An edit named `text` of the facilities `view` shows, from `before` (in effect now) to
     * `after`. `created` hands over facilities that are new with this edit (in no list yet).
     */
    FacilityLayoutCommand(DesignView& view, const QString& text, FacilityLayout before,
                          FacilityLayout after,
                          std::vector<std::unique_ptr<CSolidFacility>> created = {});
    ~FacilityLayoutCommand() override;

    void undo() override;
    void redo() override;

private:
    void apply(const FacilityLayout& layout);

    DesignView& view_;
    FacilityLayout before_;
    FacilityLayout after_;
    /** Facilities out of the document while this command holds them. */
    std::vector<std::unique_ptr<CSolidFacility>> held_;
};

namespace vs {

/** Runs the edit from the current layout (`before`) to `after` as one undo step of `view`. */
void runFacilityEdit(DesignView& view, const QString& text, FacilityLayout before,
                     FacilityLayout after,
                     std::vector<std::unique_ptr<CSolidFacility>> created = {});

} // namespace vs
