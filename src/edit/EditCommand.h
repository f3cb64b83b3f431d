// The command layer every design edit goes through: an edit is a QUndoCommand whose redo() makes
// the change (the first redo() is the edit itself) and whose undo() takes it back, leaving
// document, scene and host in step. runEdit pushes it as one step of the view's undo stack.
//
// Conventions the commands keep:
// - A command that takes an object (facility, light, host item, door or window) out of the
//   document keeps that very object alive and puts it back on undo, so that earlier steps that
//   point at it stay valid; the object is deleted only with the command, when no remaining step
//   can refer to it.
// - An object leaving the document leaves the selection too (Selection::forget) and its scene
//   nodes are released; coming back it gets its nodes again.
// - A step that changed the host's ceiling layout is undone by telling the host the reverse
//   through the same callbacks.
// - Every redo() and undo() ends with DrawScene.
#pragma once

#include <memory>

class DesignView;
class QUndoCommand;

namespace vs {

/** Runs `command` as one edit: pushed onto the view's undo stack (which runs its redo), or,
 *  without a stack, run once and dropped. Null does nothing. */
void runEdit(DesignView& view, std::unique_ptr<QUndoCommand> command);

} // namespace vs
