#include "dialogs/CSelectPictureDlg.h"

#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/CFacilityCategory.h"
#include "catalogue/CFacilityModel.h"

#include "ui/ui_SelectPictureDlg.h"

#include <QPainter>

namespace {

/** Item data of a tree item (its category) and of a list item (its model). */
constexpr int kEntryRole = Qt::UserRole;
/** The fill behind a selected picture. */
const QColor kSelectionFill(0xDE, 0xDE, 0xDE);

bool isPicture(const CFacilityModel* model)
{
    return model != nullptr && model->facilityKind() != 0 && model->facilityKind() != 1;
}

/** The model's picture fitted into the icon square keeping its proportions, centred. */
QIcon iconOf(CFacilityModel& model)
{
    const int side = CSelectPictureDlg::kIconSide;
    QPixmap canvas(side, side);
    canvas.fill(Qt::transparent);
    const QImage& picture = model.planPicture().image();
    if (!picture.isNull()) {
        const QImage fitted =
            picture.width() > side || picture.height() > side
                ? picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                : picture;
        QPainter painter(&canvas);
        painter.drawImage((side - fitted.width()) / 2, (side - fitted.height()) / 2, fitted);
    }
    QIcon icon(canvas);
    icon.addPixmap(canvas, QIcon::Selected);
    return icon;
}

} // namespace

CSelectPictureDlg::CSelectPictureDlg(const CFacilityCatalogue& catalogue,
                                     CFacilityCategory* category, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SelectPictureDlg>()), category_(category)
{
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ui_->categoryTree->setMinimumWidth(fontMetrics().height() * 12);
    QListWidget* list = ui_->pictureList;
    list->setViewMode(QListView::IconMode);
    list->setIconSize(QSize(kIconSide, kIconSide));
    list->setResizeMode(QListView::Adjust);
    list->setMovement(QListView::Static);
    list->setWordWrap(true);
    // Room for a few rows of several pictures with their names.
    list->setMinimumSize(6 * (kIconSide + 24), 3 * (kIconSide + 2 * fontMetrics().height()));
    list->setStyleSheet(
        QStringLiteral("QListWidget::item:selected { background: %1; color: black; }")
            .arg(kSelectionFill.name()));
    connect(ui_->categoryTree, &QTreeWidget::currentItemChanged, this,
            &CSelectPictureDlg::fillList);
    for (CFacilityCategory* top : catalogue.topCategories())
        addCategory(top, nullptr);
    ui_->categoryTree->expandAll();
    if (startItem_ != nullptr)
        ui_->categoryTree->setCurrentItem(startItem_);
}

CSelectPictureDlg::~CSelectPictureDlg() = default;

bool CSelectPictureDlg::shown(const CFacilityCategory* category)
{
    if (category == nullptr)
        return false;
    for (const CFacilityModel* model : category->models)
        if (isPicture(model))
            return true;
    for (const CFacilityCategory* child : category->children)
        if (shown(child))
            return true;
    return false;
}

void CSelectPictureDlg::addCategory(CFacilityCategory* category, QTreeWidgetItem* parent)
{
    if (!shown(category))
        return;
    auto* item =
        parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(ui_->categoryTree);
    item->setText(0, QString::fromStdString(category->name));
    item->setData(0, kEntryRole, QVariant::fromValue<void*>(category));
    if (category == category_)
        startItem_ = item;
    for (CFacilityCategory* child : category->children)
        addCategory(child, item);
}

void CSelectPictureDlg::fillList()
{
    ui_->categoryTree->setMinimumWidth(fontMetrics().height() * 12);
    QListWidget* list = ui_->pictureList;
    list->clear();
    QTreeWidgetItem* current = ui_->categoryTree->currentItem();
    if (current == nullptr)
        return;
    auto* category = static_cast<CFacilityCategory*>(current->data(0, kEntryRole).value<void*>());
    for (CFacilityModel* model : category->models) {
        if (!isPicture(model))
            continue;
        auto* item =
            new QListWidgetItem(iconOf(*model), QString::fromStdString(model->name()), list);
        item->setData(kEntryRole, QVariant::fromValue<void*>(model));
    }
}

void CSelectPictureDlg::accept()
{
    QTreeWidgetItem* current = ui_->categoryTree->currentItem();
    if (current != nullptr) {
        category_ = static_cast<CFacilityCategory*>(current->data(0, kEntryRole).value<void*>());
        model_ = nullptr;
        // The first selected picture in list order.
        for (int i = 0; i < ui_->pictureList->count(); ++i) {
            QListWidgetItem* item = ui_->pictureList->item(i);
            if (item->isSelected()) {
                model_ = static_cast<CFacilityModel*>(item->data(kEntryRole).value<void*>());
                break;
            }
        }
    } else {
        category_ = nullptr;
    }
    QDialog::accept();
}
