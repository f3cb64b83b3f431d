// The design dialog's catalogue tab bar: every tab gets one fixed height and at least one width,
// as a tab control with a set item size does; a wider text widens its tab instead of being cut.
#pragma once

#include <QSize>
#include <QTabBar>

class CMyTabCtrl : public QTabBar
{
    Q_OBJECT

public:
    /** A tab bar without tabs; its tabs take the style's size until setTabItemSize. */
    explicit CMyTabCtrl(QWidget* parent = nullptr);

    /** Sets the tabs' height and least width (an empty size: the style's own). */
    void setTabItemSize(const QSize& size);
    /** The tabs' height and least width (empty: the style's own). */
    QSize tabItemSize() const { return itemSize_; }

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    QSize fitted(QSize natural) const;

    QSize itemSize_;
};
