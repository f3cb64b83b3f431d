// The wall setup dialog ("墙面设置"): the waist band of all walls, on or off, with its width
// and its height above the floor, both shown in centimetres. The band values are read from
// the first wall; OK sets them on every wall. A room whose first wall has no band part opens
// with the band off.
#pragma once

#include "document/CWallPart.h"

#include <QDialog>

#include <memory>
#include <optional>

class CSolidDocument;
class CSceneView;
class QUndoStack;

namespace Ui {
class WallSetupDialog;
}

class CWallSetupDialog : public QDialog
{
    Q_OBJECT

public:
    /** The dialog for `doc` (its walls are changed on OK) and the window that shows it (may
     *  be null). */
    CWallSetupDialog(CSolidDocument& doc, CSceneView* wnd, QWidget* parent = nullptr);
    ~CWallSetupDialog() override;

    void accept() override;

private:
    void initialise();
    void enableFields();
    /** The field's value in document units, or nothing (after showing `message`). */
    std::optional<double> readField(class QLineEdit* edit, const char* message);

    std::unique_ptr<Ui::WallSetupDialog> ui_;
    CSolidDocument& doc_;
    CSceneView* wnd_;
};

namespace vs {

/** Runs the wall setup dialog modally; on OK the change is one step on `undo` (when given).
 *  Returns true on OK. */
bool runWallSetup(CSolidDocument& doc, CSceneView* wnd, QUndoStack* undo,
                  QWidget* parent = nullptr);

} // namespace vs
