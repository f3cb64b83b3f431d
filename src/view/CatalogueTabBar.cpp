#include "view/CatalogueTabBar.h"

#include <algorithm>

namespace vs {

CatalogueTabBar::CatalogueTabBar(QWidget* parent) : QTabBar(parent)
{
}

void CatalogueTabBar::setTabItemSize(const QSize& size)
{
    itemSize_ = size;
    // Makes the bar lay its tabs out anew with the new hints.
    setIconSize(iconSize());
    updateGeometry();
}

QSize CatalogueTabBar::fitted(QSize natural) const
{
    if (itemSize_.isEmpty())
        return natural;
    return {std::max(natural.width(), itemSize_.width()), itemSize_.height()};
}

QSize CatalogueTabBar::tabSizeHint(int index) const
{
    return fitted(QTabBar::tabSizeHint(index));
}

QSize CatalogueTabBar::minimumTabSizeHint(int index) const
{
    return fitted(QTabBar::minimumTabSizeHint(index));
}

} // namespace vs
