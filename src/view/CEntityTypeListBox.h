// The design dialog's catalogue list: panel types or facility models, each drawn as its picture
// (turned by the item's rotation) over its word-wrapped name, with variable item heights. A
// press selects, a move beyond the threshold drags the item's picture, the release drops it;
// a right-click offers the item's popup (turn commands for panels, category moves for models).
#pragma once

#include <QListWidget>
#include <QPixmap>
#include <QPoint>
#include <QSize>

#include <memory>
#include <vector>

class CCommonType;
class CFacilityCatalogue;
class QLabel;
class QMenu;

class CEntityTypeListBox : public QListWidget
{
    Q_OBJECT

public:
    /** A drag starts once the mouse has moved more than this many pixels from the press. */
    static constexpr int kDragThreshold = 5;

    /** An empty list drawn by the item delegate: single selection, word-wrapped names, drags
     *  started by hand rather than by the view. */
    explicit CEntityTypeListBox(QWidget* parent = nullptr);
    ~CEntityTypeListBox() override;

    /** Clears the selection and the list, then adds every non-null item in order. */
    void fill(const std::vector<CCommonType*>& items);
    /** The items shown, in list order (not owned). */
    const std::vector<CCommonType*>& items() const { return items_; }
    /** The item of `row`, or null. */
    CCommonType* entityAt(int row) const;
    /** The selected item, or null. */
    CCommonType* selectedEntity() const;
    /** The catalogue whose categories the models' popup moves between (null: no moves). */
    void setFacilityCatalogue(CFacilityCatalogue* catalogue) { facilities_ = catalogue; }

    /** The size in pixels of `item`'s picture as shown: the list size of the type for the
     *  list's width with its short side at least 8 pixels, width and height swapped when it is
     *  turned by 90 or 270 degrees. */
    QSize shownPictureSize(CCommonType* item) const;
    /** `item`'s picture scaled to its list size and turned by its rotation (null without one). */
    QPixmap shownPicture(CCommonType* item) const;

    /** Turns the selected item by `degrees` and re-inserts and re-selects it (its height may
     *  change). Nothing without a selection. */
    void rotateSelected(int degrees);
    /** Moves the selected facility model into category `categoryId` (through the catalogue,
     *  which tells the host first) and takes it out of the list. Nothing when no model is
     *  selected, there is no catalogue or the model already is in that category. */
    void moveSelectedToCategory(int categoryId);

    /** True while an item's picture is being dragged. */
    bool isDragging() const { return dragging_; }
    /** The floating drag picture while dragging, else null. */
    QWidget* dragImage() const;
    /** The popup of the last right-click (kept until the next one), or null. */
    QMenu* lastPopup() const { return popup_; }

signals:
    /** A mouse button went down on the list (the dialog switches to design). */
    void pressed();
    /** The user selected `item` by pressing on it. */
    void entitySelected(CCommonType* item);
    /** `item` was dragged and dropped at `screenPoint`; `imageSize` is its picture's size. */
    void entityDropped(const QPoint& screenPoint, CCommonType* item, const QSize& imageSize);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void addEntityItem(int row, CCommonType* item);
    void beginDrag(const QPoint& globalPos);
    void endPress(const QPoint& globalPos, bool drop);
    void showPopup(const QPoint& globalPos);

    std::vector<CCommonType*> items_;
    CFacilityCatalogue* facilities_ = nullptr;
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint pressPos_;
    QPixmap dragPixmap_;
    std::unique_ptr<QLabel> dragLabel_;
    QMenu* popup_ = nullptr;
};
