#include "view/CEntityTypeListBox.h"

#include "catalogue/CCommonType.h"
#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/CFacilityModel.h"
#include "platform/Picture.h"
#include "view/CatalogueLabel.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kEntityRole = Qt::UserRole + 1;
// Selected with focus: dark blue; selected without focus: grey; names of selected items in
// light yellow over either.
const QColor kSelectedFocus(0x00, 0x00, 0xA0);
const QColor kSelectedNoFocus(0x80, 0x80, 0x80);
const QColor kSelectedText(0xFF, 0xFF, 0x19);
constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
// Long strip panels would shrink to a line of one or two pixels: their short side is drawn at
// least this high (or wide), the picture stretched to it.
constexpr int kMinPictureSide = 8;

CCommonType* entityOf(const QModelIndex& index)
{
    return reinterpret_cast<CCommonType*>(index.data(kEntityRole).value<quintptr>());
}

bool turnedSideways(int degrees)
{
    const int d = ((degrees % 360) + 360) % 360;
    return d == 90 || d == 270;
}

/** Draws an item as its picture over its name and measures it the same way. */
class EntityItemDelegate : public QStyledItemDelegate
{
public:
    explicit EntityItemDelegate(CEntityTypeListBox* list) : QStyledItemDelegate(list), list_(list)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int width = textWidth();
        const QRect text = option.fontMetrics.boundingRect(QRect(0, 0, width, 1 << 20), kTextFlags,
                                                           index.data(Qt::DisplayRole).toString());
        return QSize(width, text.height() + list_->shownPictureSize(entityOf(index)).height() + 2);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const bool focused = list_->hasFocus();
        painter->save();
        painter->fillRect(option.rect, selected ? (focused ? kSelectedFocus : kSelectedNoFocus)
                                                : QColor(Qt::white));
        CCommonType* item = entityOf(index);
        const QPixmap picture = list_->shownPicture(item);
        const QSize size = list_->shownPictureSize(item);
        if (!picture.isNull())
            painter->drawPixmap(option.rect.x() + (option.rect.width() - size.width()) / 2,
                                option.rect.y(), size.width(), size.height(), picture);
        QRect text = option.rect.adjusted(0, size.height(), 0, 0);
        text.setWidth(textWidth());
        painter->setPen(selected ? kSelectedText : QColor(Qt::black));
        painter->setFont(option.font);
        painter->drawText(text, kTextFlags, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

private:
    int textWidth() const { return std::max(1, list_->viewport()->width()); }

    CEntityTypeListBox* list_;
};

} // namespace

CEntityTypeListBox::CEntityTypeListBox(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new EntityItemDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(false);
    setResizeMode(QListView::Adjust);
    setWordWrap(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

CEntityTypeListBox::~CEntityTypeListBox() = default;

void CEntityTypeListBox::fill(const std::vector<CCommonType*>& items)
{
    clearSelection();
    clear();
    items_.clear();
    for (CCommonType* item : items)
        if (item != nullptr) {
            items_.push_back(item);
            addEntityItem(count(), item);
        }
}

void CEntityTypeListBox::addEntityItem(int row, CCommonType* item)
{
    auto* entry = new QListWidgetItem(QString::fromStdString(catalogueLabel(item->name())));
    entry->setData(kEntityRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
    insertItem(row, entry);
}

CCommonType* CEntityTypeListBox::entityAt(int row) const
{
    const QListWidgetItem* entry = item(row);
    return entry ? reinterpret_cast<CCommonType*>(entry->data(kEntityRole).value<quintptr>())
                 : nullptr;
}

CCommonType* CEntityTypeListBox::selectedEntity() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : entityAt(row(selected.front()));
}

QSize CEntityTypeListBox::shownPictureSize(CCommonType* item) const
{
    if (item == nullptr)
        return QSize(0, 0);
    const int maxWidth = std::max(1, viewport()->width() - 4);
    const IntSize size = item->listPictureSize(maxWidth);
    QSize shown(std::max(0, size.width), std::max(0, size.height));
    if (!shown.isEmpty()) {
        if (shown.width() >= shown.height())
            shown.setHeight(std::max(shown.height(), kMinPictureSide));
        else
            shown.setWidth(std::max(shown.width(), kMinPictureSide));
    }
    return turnedSideways(item->rotation()) ? shown.transposed() : shown;
}

QPixmap CEntityTypeListBox::shownPicture(CCommonType* item) const
{
    if (item == nullptr)
        return QPixmap();
    const QImage& image = item->planPicture().image();
    const QSize size = shownPictureSize(item);
    if (image.isNull() || size.isEmpty())
        return QPixmap();
    const QSize unturned = turnedSideways(item->rotation()) ? size.transposed() : size;
    QImage scaled = image.scaled(unturned, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (item->rotation() % 360 != 0)
        scaled = scaled.transformed(QTransform().rotate(item->rotation()), Qt::SmoothTransformation)
                     .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(scaled);
}

void CEntityTypeListBox::rotateSelected(int degrees)
{
    CCommonType* item = selectedEntity();
    if (item == nullptr)
        return;
    item->rotate(degrees);
    // Re-inserting the entry makes the list measure its new height.
    const int at = currentRow();
    delete takeItem(at);
    addEntityItem(at, item);
    setCurrentRow(at);
}

void CEntityTypeListBox::moveSelectedToCategory(int categoryId)
{
    auto* model = dynamic_cast<CFacilityModel*>(selectedEntity());
    if (model == nullptr || facilities_ == nullptr)
        return;
    const CFacilityCategory* before = model->category;
    const int beforeId = model->categoryId;
    facilities_->moveModelToCategory(model, categoryId);
    if (model->category == before && model->categoryId == beforeId)
        return; // already there: the list still shows it where it is
    delete takeItem(currentRow());
    const auto kept = std::find(items_.begin(), items_.end(), model);
    if (kept != items_.end())
        items_.erase(kept);
}

QWidget* CEntityTypeListBox::dragImage() const
{
    return dragging_ ? dragLabel_.get() : nullptr;
}

void CEntityTypeListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton)
        return;
    if (pressed_)
        endPress(event->globalPosition().toPoint(), true);
    emit pressed();
    setFocus(Qt::MouseFocusReason);
    QListWidgetItem* entry = itemAt(event->position().toPoint());
    if (entry == nullptr)
        return;
    const bool changed = currentItem() != entry || !entry->isSelected();
    setCurrentItem(entry);
    if (changed)
        emit entitySelected(entityAt(row(entry)));
    if (event->button() != Qt::LeftButton)
        return;
    dragPixmap_ = shownPicture(entityAt(row(entry)));
    pressPos_ = event->position().toPoint();
    pressed_ = true;
}

void CEntityTypeListBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_)
        return;
    const QPoint moved = event->position().toPoint() - pressPos_;
    if (!dragging_ &&
        (std::abs(moved.x()) > kDragThreshold || std::abs(moved.y()) > kDragThreshold))
        beginDrag(event->globalPosition().toPoint());
    if (dragging_)
        dragLabel_->move(event->globalPosition().toPoint() - dragLabel_->rect().center());
}

void CEntityTypeListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && pressed_)
        endPress(event->globalPosition().toPoint(), true);
    else if (event->button() == Qt::RightButton && itemAt(event->position().toPoint()) != nullptr)
        showPopup(event->globalPosition().toPoint());
}

void CEntityTypeListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void CEntityTypeListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    scheduleDelayedItemsLayout(); // heights follow the word-wrapped names
}

void CEntityTypeListBox::changeEvent(QEvent* event)
{
    // The press ends when another window takes the mouse away, as a release would.
    if (event->type() == QEvent::ActivationChange && pressed_ && !isActiveWindow() &&
        QApplication::activeWindow() != dragLabel_.get())
        endPress(QCursor::pos(), true);
    QListWidget::changeEvent(event);
}

void CEntityTypeListBox::beginDrag(const QPoint& globalPos)
{
    if (dragPixmap_.isNull()) {
        dragPixmap_ = QPixmap(16, 16);
        dragPixmap_.fill(Qt::gray);
    }
    if (!dragLabel_) {
        dragLabel_ = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                                           Qt::WindowTransparentForInput |
                                                           Qt::WindowDoesNotAcceptFocus);
        dragLabel_->setObjectName("entityDragImage");
        dragLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
        dragLabel_->setAttribute(Qt::WA_ShowWithoutActivating);
        dragLabel_->setWindowOpacity(0.7);
    }
    dragLabel_->setPixmap(dragPixmap_);
    dragLabel_->resize(dragPixmap_.size());
    dragLabel_->move(globalPos - dragLabel_->rect().center()); // hot spot: the picture's centre
    dragLabel_->show();
    dragging_ = true;
}

void CEntityTypeListBox::endPress(const QPoint& globalPos, bool drop)
{
    const bool wasDragging = dragging_;
    pressed_ = false;
    dragging_ = false;
    if (dragLabel_)
        dragLabel_->hide();
    CCommonType* item = selectedEntity();
    if (wasDragging && drop && item != nullptr)
        emit entityDropped(globalPos, item, shownPictureSize(item));
}

void CEntityTypeListBox::showPopup(const QPoint& globalPos)
{
    CCommonType* item = selectedEntity();
    if (item == nullptr)
        return;
    delete popup_;
    popup_ = nullptr;
    if (dynamic_cast<CFacilityModel*>(item) != nullptr) {
        popup_ = new QMenu(this);
        QAction* featureWall = popup_->addAction(QStringLiteral("电视背景墙"));
        featureWall->setObjectName("featureWallAction");
        connect(featureWall, &QAction::triggered, this,
                [this] { moveSelectedToCategory(CFacilityCatalogue::kFeatureWallCategoryId); });
        QAction* remove = popup_->addAction(QStringLiteral("删除"));
        remove->setObjectName("removeFromCategoryAction");
        connect(remove, &QAction::triggered, this, [this] { moveSelectedToCategory(0); });
    } else if (item->contextMenuIndex() == 3) {
        popup_ = new QMenu(this);
        QAction* left = popup_->addAction(QStringLiteral("左转90度"));
        left->setObjectName("rotateLeftAction");
        connect(left, &QAction::triggered, this, [this] { rotateSelected(90); });
        QAction* right = popup_->addAction(QStringLiteral("右转90度"));
        right->setObjectName("rotateRightAction");
        connect(right, &QAction::triggered, this, [this] { rotateSelected(270); });
    }
    if (popup_ == nullptr)
        return;
    popup_->setObjectName("entityPopup");
    popup_->popup(globalPos);
}
