#include "StaticSampleChooser.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vhost {
namespace {

QIcon thumbnail(const PackStaticSample& sample)
{
    QImage photo;
    if (sample.photo)
        photo.loadFromData(sample.photo->data(), int(sample.photo->size()));
    QPixmap pixmap(StaticSampleChooser::kThumbWidth, StaticSampleChooser::kThumbHeight);
    pixmap.fill(Qt::lightGray);
    if (!photo.isNull())
        pixmap = QPixmap::fromImage(photo.scaled(StaticSampleChooser::kThumbWidth,
                                                 StaticSampleChooser::kThumbHeight,
                                                 Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return QIcon(pixmap);
}

} // namespace

StaticSampleChooser::StaticSampleChooser(const std::vector<PackStaticSample>& samples,
                                         QWidget* parent)
    : QDialog(parent)
{
    setObjectName("staticSampleChooser");
    setWindowTitle(tr("Choose a room photo"));
    list_ = new QListWidget(this);
    list_->setObjectName("sampleList");
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(kThumbWidth, kThumbHeight));
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    for (const PackStaticSample& sample : samples) {
        auto* item =
            new QListWidgetItem(thumbnail(sample), QString::fromStdString(sample.name), list_);
        item->setData(Qt::UserRole, sample.id);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(560, 360);
}

int32_t StaticSampleChooser::chosenId() const
{
    QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

} // namespace vhost
