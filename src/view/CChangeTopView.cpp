#include "view/CChangeTopView.h"

#include <cstdlib>

int CChangeTopView::hitCorner(int x, int y) const
{
    for (int i = 3; i >= 0; --i) {
        const QPoint& c = corners_[static_cast<size_t>(i)];
        if (std::abs(c.x() - x) <= 3 && std::abs(c.y() - y) < 4)
            return i;
    }
    return -1;
}

bool CChangeTopView::beginDrag(const QPoint& mouse)
{
    dragIndex_ = hitCorner(mouse.x(), mouse.y());
    if (dragIndex_ < 0)
        return false;
    dragMouse_ = mouse;
    dragCorner_ = corners_[static_cast<size_t>(dragIndex_)];
    return true;
}
