#include "view/CMyTabCtrl.h"

#include <algorithm>

CMyTabCtrl::CMyTabCtrl(QWidget* parent) : QTabBar(parent)
{
}

void CMyTabCtrl::setTabItemSize(const QSize& size)
{
    itemSize_ = size;
    // Makes the bar lay its tabs out anew with the new hints.
    setIconSize(iconSize());
    updateGeometry();
}

QSize CMyTabCtrl::fitted(QSize natural) const
{
    if (itemSize_.isEmpty())
        return natural;
    return {std::max(natural.width(), itemSize_.width()), itemSize_.height()};
}

QSize CMyTabCtrl::tabSizeHint(int index) const
{
    return fitted(QTabBar::tabSizeHint(index));
}

QSize CMyTabCtrl::minimumTabSizeHint(int index) const
{
    return fitted(QTabBar::minimumTabSizeHint(index));
}
