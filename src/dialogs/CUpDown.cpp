#include "dialogs/CUpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

CUpDown::CUpDown(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        button->setFixedWidth(fontMetrics().height());
        layout->addWidget(button);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName("up");
    down_->setObjectName("down");
    connect(up_, &QToolButton::clicked, this, [this] { step(-1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(1); });
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void CUpDown::setBuddy(QLineEdit* edit)
{
    if (buddy_ != nullptr)
        buddy_->removeEventFilter(this);
    buddy_ = edit;
    if (buddy_ != nullptr)
        buddy_->installEventFilter(this);
}

void CUpDown::step(int d)
{
    if (isEnabled())
        emit deltaPos(d);
}

bool CUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CUpDown::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        for (QToolButton* button : {up_, down_})
            button->setFixedWidth(fontMetrics().height());
    QWidget::changeEvent(event);
}
