#include "dialogs/CFieldCheck.h"

#include "dialogs/DialogMessage.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace {

const char* const kSkipProperty = "skipsFieldCheck";

} // namespace

CFieldCheck::CFieldCheck(QObject* parent) : QObject(parent)
{
}

void CFieldCheck::watch(QLineEdit* edit, Check check, Apply apply)
{
    entries_[edit] = Entry{std::move(check), std::move(apply)};
    edit->installEventFilter(this);
}

void CFieldCheck::setSkipsFieldCheck(QWidget* widget)
{
    widget->setProperty(kSkipProperty, true);
}

bool CFieldCheck::checkNow(QLineEdit* edit)
{
    const auto found = entries_.find(edit);
    if (found == entries_.end() || checking_)
        return true;
    checking_ = true;
    const QString text = edit->text();
    const QString message = found->second.check(text);
    if (!message.isEmpty()) {
        vs::showDialogMessage(edit->window(), message);
        edit->setFocus(Qt::OtherFocusReason);
    } else if (found->second.apply) {
        found->second.apply(text);
    }
    checking_ = false;
    return message.isEmpty();
}

bool CFieldCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        auto* edit = static_cast<QLineEdit*>(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        const QWidget* next = QApplication::focusWidget();
        const bool leaving = reason != Qt::ActiveWindowFocusReason &&
                             reason != Qt::PopupFocusReason &&
                             !(next != nullptr && next->property(kSkipProperty).toBool());
        if (leaving && entries_.count(edit) != 0 && edit->isEnabled() && edit->isVisible())
            checkNow(edit);
    }
    return QObject::eventFilter(watched, event);
}
