#include "SolidSampleChooser.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vhost {

SolidSampleChooser::SolidSampleChooser(const std::vector<PackSolidSample>& samples, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("solidSampleChooser");
    setWindowTitle(tr("Furnish the room from a sample"));
    list_ = new QListWidget(this);
    list_->setObjectName("solidSampleList");
    for (const PackSolidSample& sample : samples) {
        auto* item = new QListWidgetItem(QString::fromStdString(sample.name), list_);
        item->setData(Qt::UserRole, sample.id);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
    angles_ = new QComboBox(this);
    angles_->setObjectName("angleCombo");
    for (int angle : {0, 90, 180, 270})
        angles_->addItem(QString::fromUtf8("%1°").arg(angle), angle);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* form = new QFormLayout();
    form->addRow(tr("Turned by"), angles_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(360, 300);
}

SolidSampleChoice SolidSampleChooser::choice() const
{
    QListWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->isSelected())
        return {};
    return {item->data(Qt::UserRole).toInt(), angles_->currentData().toInt()};
}

} // namespace vhost
