// One undoable change of the room's user lights: a light placed or deleted. The document's
// light list switches between two orders; a light out of the list is kept alive by the
// command so that undo puts the very same light back.
#pragma once

#include <QUndoCommand>

#include <memory>
#include <vector>

class CSolidLight;
class DesignView;

class LightListCommand : public QUndoCommand
{
public:
    /** An edit named `text` from the user lights `before` (the list now) to `after`;
     *  `created` hands over lights that are new with this edit. */
    LightListCommand(DesignView& view, const QString& text, std::vector<CSolidLight*> before,
                     std::vector<CSolidLight*> after,
                     std::vector<std::unique_ptr<CSolidLight>> created = {});
    ~LightListCommand() override;

    void undo() override;
    void redo() override;

private:
    void apply(const std::vector<CSolidLight*>& lights);

    DesignView& view_;
    std::vector<CSolidLight*> before_;
    std::vector<CSolidLight*> after_;
    std::vector<std::unique_ptr<CSolidLight>> held_;
};

namespace vs {

/** "删除" on a light marker: the light leaves the document, or, when it belongs to a ceiling
 *  lamp, the lamp is deleted (with its light). The main light is never deleted. */
void deleteLight(DesignView& view, CSolidLight& light);

/** Adds `light` to the user lights as one undo step (its nodes built, markers hidden). */
void addLight(DesignView& view, std::unique_ptr<CSolidLight> light);

} // namespace vs
