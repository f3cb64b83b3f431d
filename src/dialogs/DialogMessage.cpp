#include "dialogs/DialogMessage.h"

#include <QApplication>
#include <QMessageBox>

namespace vs {
namespace {

std::function<void(const QString&)>& handler()
{
    static std::function<void(const QString&)> h;
    return h;
}

} // namespace

void showDialogMessage(QWidget* parent, const QString& text, DialogMessageStyle style)
{
    if (handler()) {
        handler()(text);
        return;
    }
    const bool plain = style == DialogMessageStyle::Plain;
    QMessageBox box(plain ? QMessageBox::NoIcon : QMessageBox::Warning,
                    plain ? QApplication::applicationDisplayName() : QString(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

void setDialogMessageHandler(std::function<void(const QString&)> h)
{
    handler() = std::move(h);
}

} // namespace vs
