// Simulated input for the setup dialogs' tests: typing into a field, leaving it, the arrows of
// its up-down, and the messages and colour choices the dialogs ask for.
#pragma once

#include "dialogs/ColourChooser.h"
#include "dialogs/DialogMessage.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <ostream>

/** Readable QStrings in test failures. */
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace dialoginput {

/** Makes the window of `widget` the active one, so that focus changes inside it send focus
 *  events (the offscreen platform activates only on request). */
inline void activate(QWidget* widget)
{
    QWidget* window = widget->window();
    if (QApplication::activeWindow() == window)
        return;
    window->activateWindow();
    QApplication::processEvents();
    if (QApplication::activeWindow() != window)
        QApplication::setActiveWindow(window);
}

/** Replaces the field's text by typing `text` key by key, as a user would. */
inline void typeInto(QLineEdit* edit, const QString& text)
{
    activate(edit);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(edit, &del);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}

/** Moves the focus from `edit` to `next` by Tab, as when the user leaves the field. */
inline void leave(QLineEdit* edit, QWidget* next)
{
    activate(edit);
    if (QApplication::focusWidget() != edit)
        edit->setFocus(Qt::OtherFocusReason);
    next->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
}

/** Presses Up (d = -1) or Down (d = +1) in `edit`, which its up-down takes as its arrows. */
inline void arrow(QLineEdit* edit, bool up)
{
    QKeyEvent press(QEvent::KeyPress, up ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(edit, &press);
}

/** Collects the dialogs' messages instead of showing boxes, for the life of the object. */
class Messages
{
public:
    Messages()
    {
        vs::setDialogMessageHandler([this](const QString& text) { texts << text; });
    }
    ~Messages() { vs::setDialogMessageHandler({}); }
    QStringList texts;
};

/** Answers the colour dialog with `colour` (or Cancel with an invalid colour). */
class ColourAnswer
{
public:
    explicit ColourAnswer(QColor colour)
    {
        vs::setColourChooser([this, colour](const QColor& initial) -> std::optional<QColor> {
            offered = initial;
            if (!colour.isValid())
                return std::nullopt;
            return colour;
        });
    }
    ~ColourAnswer() { vs::setColourChooser({}); }
    QColor offered;
};

/** Runs `act` on the modal dialog once it is open (for dialogs run with exec). */
inline void whenModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr)
            act(modal);
    });
}

} // namespace dialoginput
