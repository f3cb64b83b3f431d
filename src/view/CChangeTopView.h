// The change-top view's corner handles in client pixels: which of the four corners the mouse
// is over and the drag of one of them. The corners themselves are the static sample's
// (StaticSamplePictures); the window copies them in after every change.
#pragma once

#include <QPoint>

#include <array>

class CChangeTopView
{
public:
    /** Takes the four corners (client pixels, order 0..3). */
    void setCorners(const std::array<QPoint, 4>& corners) { corners_ = corners; }
    /** Corner i (0..3), client pixels. */
    QPoint corner(int i) const { return corners_[static_cast<size_t>(i & 3)]; }

    /** The last corner (testing from the fourth to the first) within 3 pixels across and less
     *  than 4 down of (x, y), or -1. */
    int hitCorner(int x, int y) const;
    /** Starts dragging the corner under `mouse`; false when none is there. */
    bool beginDrag(const QPoint& mouse);
    /** Where the dragged corner goes for `mouse`: its start plus the mouse's offset from the
     *  drag start. Only meaningful while dragIndex() >= 0. */
    QPoint dragTarget(const QPoint& mouse) const { return dragCorner_ + (mouse - dragMouse_); }
    /** Ends a corner drag. */
    void endDrag() { dragIndex_ = -1; }
    /** The corner being dragged, or -1. */
    int dragIndex() const { return dragIndex_; }

    /** The zoom after a wheel turn of `delta` (120 a notch): zoom + delta * 0.1 / 120. */
    static double wheelZoom(double zoom, int delta) { return zoom + delta * 0.1 / 120.0; }

private:
    std::array<QPoint, 4> corners_{};
    int dragIndex_ = -1;
    QPoint dragMouse_;
    QPoint dragCorner_;
};
