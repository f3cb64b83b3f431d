// The small up-down beside a number field. Like the platform's default up-down, whose range
// runs from high to low, the up arrow reports a position change of -1 and the down arrow +1;
// every handler computes "value - d", so the up arrow makes the value grow.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

class CUpDown : public QWidget
{
    Q_OBJECT

public:
    explicit CUpDown(QWidget* parent = nullptr);

    /** The field beside it: its Up and Down keys act as the arrows. */
    void setBuddy(QLineEdit* edit);
    /** Reports d as the arrows do (-1 up, +1 down). */
    void step(int d);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    /** An arrow was used: d = -1 for up, +1 for down. */
    void deltaPos(int d);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* buddy_ = nullptr;
};
