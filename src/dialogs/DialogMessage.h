// The messages the setup dialogs show when a field holds something they cannot take: a modal
// message box, or, for tests and hidden runs, a handler that receives the text instead.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace vs {

/** How a dialog message looks: the default caption with an OK button, or (the size dialog's
 *  refusals) an empty caption with the exclamation icon. */
enum class DialogMessageStyle { Plain, Exclamation };

/** Shows `text` modally over `parent`, or hands it to the handler when one is set. */
void showDialogMessage(QWidget* parent, const QString& text,
                       DialogMessageStyle style = DialogMessageStyle::Plain);

/** Replaces the message box; an empty function restores it. */
void setDialogMessageHandler(std::function<void(const QString& text)> handler);

} // namespace vs
