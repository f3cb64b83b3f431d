#include "dialogs/CRenderParamsDialog.h"

#include "ui/ui_RenderParamsDialog.h"

#include <QPushButton>

CRenderParamsDialog::CRenderParamsDialog(int brightness, bool renderShadows, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::RenderParamsDialog>())
{
    ui_->setupUi(this);
    ui_->brightnessSlider->setRange(0, 100);
    ui_->brightnessSlider->setValue(brightness);
    showValue(ui_->brightnessSlider->value());
    ui_->shadowsCheck->setChecked(renderShadows);
    ui_->buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    ui_->buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    // The value follows the thumb while it is dragged, and every other move.
    connect(ui_->brightnessSlider, &QSlider::valueChanged, this, &CRenderParamsDialog::showValue);
    connect(ui_->brightnessSlider, &QSlider::sliderMoved, this, &CRenderParamsDialog::showValue);
    connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CRenderParamsDialog::~CRenderParamsDialog() = default;

int CRenderParamsDialog::brightness() const
{
    return ui_->brightnessSlider->value();
}

bool CRenderParamsDialog::renderShadows() const
{
    return ui_->shadowsCheck->isChecked();
}

void CRenderParamsDialog::showValue(int value)
{
    ui_->brightnessValue->setText(QString::number(value));
}
