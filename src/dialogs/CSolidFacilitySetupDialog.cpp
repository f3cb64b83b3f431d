#include "dialogs/CSolidFacilitySetupDialog.h"

#include "catalogue/CFacilityModel.h"
#include "dialogs/CFieldCheck.h"
#include "dialogs/CUpDown.h"
#include "dialogs/DialogNumbers.h"
#include "dialogs/FacilitySetupCommand.h"
#include "document/CSolidDocument.h"
#include "scene/CSceneView.h"
#include "scene/FacilityScene.h"

#include "ui/ui_SolidFacilitySetupDialog.h"

#include <QUndoStack>

#include <cmath>

namespace {

const char* const kInputError = "输入错误！";
constexpr double kUnitsPerMetre = 10000;
constexpr double kUnitsPerCentimetre = 100;
/** Sizes, heights and distances are refused beyond 1000 m. */
constexpr double kLargest = 1000 * kUnitsPerMetre;
constexpr int kMetreDecimals = 3;

} // namespace

CSolidFacilitySetupDialog::CSolidFacilitySetupDialog(CSceneView& wnd, CSolidFacility& facility,
                                                     QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SolidFacilitySetupDialog>()),
      fieldCheck_(new CFieldCheck(this)), wnd_(wnd), facility_(facility),
      stored_(FacilitySettings::of(facility)), base_(facility.correctExtent),
      zoom_(facility.customZoom), ratioBroken_(facility.customZoom <= 0), size_(facility.size),
      position_(facility.position), rotation_(facility.rotateDegree), brightness_(facility.emissive)
{
    ui_->setupUi(this);
    ui_->zoomUpDown->setBuddy(ui_->zoomEdit);
    ui_->lengthUpDown->setBuddy(ui_->lengthEdit);
    ui_->widthUpDown->setBuddy(ui_->widthEdit);
    ui_->heightUpDown->setBuddy(ui_->heightEdit);
    ui_->rotationUpDown->setBuddy(ui_->rotationEdit);
    ui_->elevationUpDown->setBuddy(ui_->elevationEdit);
    ui_->wallDistanceUpDown->setBuddy(ui_->wallDistanceEdit);
    CFieldCheck::setSkipsFieldCheck(ui_->cancelButton);
    initialise();
    connectControls();
}

CSolidFacilitySetupDialog::~CSolidFacilitySetupDialog() = default;

FacilitySettings CSolidFacilitySetupDialog::working() const
{
    return FacilitySettings{size_, position_, rotation_, ratioBroken_ ? -1.0 : zoom_, brightness_};
}

void CSolidFacilitySetupDialog::initialise()
{
    const DialogInitialising::Scope quiet(initialising_);
    ui_->fineCheck->setChecked(true);
    if (zoom_ > 0) {
        ui_->zoomEdit->setText(vs::formatDialogNumber(zoom_, 2));
        ui_->keepRatioCheck->setChecked(true);
    }
    ui_->brightnessSlider->setRange(0, 100);
    ui_->brightnessSlider->setValue(brightness_);
    ui_->brightnessValue->setText(QString::number(brightness_));
    fillSizes();
    ui_->elevationEdit->setText(
        vs::formatDialogNumber(position_.y / kUnitsPerMetre, kMetreDecimals));
    const bool stuck = facility_.stickWall != nullptr;
    ui_->rotationEdit->setVisible(!stuck);
    ui_->rotationUpDown->setVisible(!stuck);
    ui_->rotationUnit->setVisible(!stuck);
    ui_->rotationCombo->setVisible(stuck);
    if (stuck) {
        ui_->rotationCombo->addItems({"0", "90", "180", "270"});
        ui_->rotationCombo->setCurrentIndex(static_cast<int>(rotation_ / 90) & 3);
        ui_->wallDistanceEdit->setText(
            vs::formatDialogNumber(position_.z / kUnitsPerCentimetre, 1));
    } else {
        ui_->rotationEdit->setText(vs::formatDialogNumber(rotation_, 1));
        ui_->wallDistanceEdit->setEnabled(false);
        ui_->wallDistanceUpDown->setEnabled(false);
    }
    // Flat models (doors, windows) have a thickness rather than a length.
    const CFacilityModel* model = facility_.facilityModel;
    if (model != nullptr && (model->kindFlags() & 0x3) != 0)
        ui_->lengthLabel->setText(QStringLiteral("厚:"));
}

void CSolidFacilitySetupDialog::fillSizes()
{
    ui_->lengthEdit->setText(vs::formatDialogNumber(size_.z / kUnitsPerMetre, kMetreDecimals));
    ui_->widthEdit->setText(vs::formatDialogNumber(size_.x / kUnitsPerMetre, kMetreDecimals));
    ui_->heightEdit->setText(vs::formatDialogNumber(size_.y / kUnitsPerMetre, kMetreDecimals));
}

void CSolidFacilitySetupDialog::connectControls()
{
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* edit : {ui_->zoomEdit, ui_->lengthEdit, ui_->widthEdit, ui_->heightEdit,
                            ui_->rotationEdit, ui_->elevationEdit, ui_->wallDistanceEdit}) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { onTextChanged(edit); });
        if (edit == ui_->zoomEdit) {
            // An emptied magnification breaks the ratio; it is never refused.
            fieldCheck_->watch(
                edit, [](const QString&) { return QString(); },
                [this](const QString& text) { ratioBroken_ = text.trimmed().isEmpty(); });
            continue;
        }
        fieldCheck_->watch(
            edit,
            [this, edit](const QString& text) {
                double v = 0;
                return vs::parseDialogNumber(text, v) && acceptable(edit, v)
                           ? QString()
                           : QString::fromUtf8(kInputError);
            },
            [this, edit](const QString&) { onTextChanged(edit); });
    }
    connect(ui_->zoomUpDown, &CUpDown::deltaPos, this, [this](int d) {
        const double v = zoom_ - d * (ui_->fineCheck->isChecked() ? 0.01 : 0.1);
        if (v > 0)
            setField(ui_->zoomEdit, v, 2);
    });
    connect(ui_->lengthUpDown, &CUpDown::deltaPos, this,
            [this](int d) { stepSize(ui_->lengthEdit, size_.z, d); });
    connect(ui_->widthUpDown, &CUpDown::deltaPos, this,
            [this](int d) { stepSize(ui_->widthEdit, size_.x, d); });
    connect(ui_->heightUpDown, &CUpDown::deltaPos, this,
            [this](int d) { stepSize(ui_->heightEdit, size_.y, d); });
    connect(ui_->rotationUpDown, &CUpDown::deltaPos, this, [this](int d) {
        double v = rotation_ - d;
        if (v >= 360)
            v -= 360;
        else if (v < 0)
            v += 360;
        setField(ui_->rotationEdit, v, 1);
    });
    connect(ui_->elevationUpDown, &CUpDown::deltaPos, this, [this](int d) {
        setField(ui_->elevationEdit, (position_.y - 100.0 * d) / kUnitsPerMetre, kMetreDecimals);
    });
    connect(ui_->wallDistanceUpDown, &CUpDown::deltaPos, this, [this](int d) {
        setField(ui_->wallDistanceEdit, (position_.z - 100.0 * d) / kUnitsPerCentimetre, 1);
    });
    connect(ui_->rotationCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (initialising_ || index < 0)
            return;
        rotation_ = static_cast<float>(index * 90);
        preview();
    });
    connect(ui_->brightnessSlider, &QSlider::valueChanged, this, [this](int value) {
        if (initialising_)
            return;
        brightness_ = value;
        ui_->brightnessValue->setText(QString::number(value));
        vs::setFacilityBrightness(facility_, value);
        facility_.emissive = stored_.emissive; // the record keeps its value until OK
        wnd_.DrawScene();
    });
}

void CSolidFacilitySetupDialog::stepSize(QLineEdit* edit, float size, int d)
{
    // The test looks 10 d ahead, the step is 100 d (a centimetre).
    if (size - 10.0 * d > 0)
        setField(edit, (size - 100.0 * d) / kUnitsPerMetre, kMetreDecimals);
}

bool CSolidFacilitySetupDialog::acceptable(QLineEdit* edit, double v) const
{
    if (edit == ui_->lengthEdit || edit == ui_->widthEdit || edit == ui_->heightEdit)
        return v > 0 && v * kUnitsPerMetre <= kLargest;
    if (edit == ui_->zoomEdit) {
        const float largest = std::max({base_.x, base_.y, base_.z});
        return v > 0 && v * largest <= kLargest;
    }
    if (edit == ui_->elevationEdit)
        return std::abs(v * kUnitsPerMetre) <= kLargest;
    if (edit == ui_->wallDistanceEdit)
        return std::abs(v * kUnitsPerCentimetre) <= kLargest;
    return true;
}

void CSolidFacilitySetupDialog::resizeKeepingRatio(double e)
{
    if (base_.x > 0)
        size_.x = static_cast<float>(base_.x * e);
    if (base_.y > 0)
        size_.y = static_cast<float>(base_.y * e);
    if (base_.z > 0)
        size_.z = static_cast<float>(base_.z * e);
    zoom_ = e;
    ratioBroken_ = false;
}

void CSolidFacilitySetupDialog::onTextChanged(QLineEdit* edit)
{
    if (initialising_)
        return;
    double v = 0;
    if (!vs::parseDialogNumber(edit->text(), v) || !acceptable(edit, v))
        return;
    const DialogInitialising::Scope busy(initialising_);
    const bool keep = ui_->keepRatioCheck->isChecked();
    bool dimension = false;
    const auto dimensionTo = [&](float& axis, float base) {
        axis = static_cast<float>(v * kUnitsPerMetre);
        dimension = true;
        if (keep && base > 0) {
            const QString typed = edit->text();
            resizeKeepingRatio(axis / base);
            fillSizes();
            edit->setText(typed); // the field being typed into keeps its text
            ui_->zoomEdit->setText(vs::formatDialogNumber(zoom_, 2));
        }
    };
    if (edit == ui_->zoomEdit) {
        resizeKeepingRatio(v);
        fillSizes();
        ui_->keepRatioCheck->setChecked(true);
    } else if (edit == ui_->lengthEdit) {
        dimensionTo(size_.z, base_.z);
    } else if (edit == ui_->widthEdit) {
        dimensionTo(size_.x, base_.x);
    } else if (edit == ui_->heightEdit) {
        dimensionTo(size_.y, base_.y);
    } else if (edit == ui_->rotationEdit) {
        rotation_ = static_cast<float>(v);
    } else if (edit == ui_->elevationEdit) {
        position_.y = static_cast<float>(v * kUnitsPerMetre);
    } else {
        position_.z = static_cast<float>(v * kUnitsPerCentimetre);
    }
    if (dimension && !keep && !ratioBroken_) {
        ui_->zoomEdit->clear();
        ratioBroken_ = true;
    }
    preview();
}

void CSolidFacilitySetupDialog::setField(QLineEdit* edit, double value, int decimals)
{
    edit->setText(vs::formatDialogNumber(value, decimals)); // goes through onTextChanged
}

void CSolidFacilitySetupDialog::preview()
{
    // The node is placed from the record: show the working values, then put the record back.
    FacilitySettings shown = stored_;
    shown.size = size_;
    shown.position = position_;
    shown.rotateDegree = rotation_;
    shown.storeInto(facility_);
    vs::updateFacilityTransformation(facility_, wnd_.document());
    stored_.storeInto(facility_);
    wnd_.DrawScene();
}

void CSolidFacilitySetupDialog::accept()
{
    vs::applyFacilitySettings(wnd_, facility_, working());
    QDialog::accept();
}

void CSolidFacilitySetupDialog::reject()
{
    vs::applyFacilitySettings(wnd_, facility_, stored_);
    QDialog::reject();
}

namespace vs {

bool runFacilitySetup(CSceneView& wnd, CSolidFacility& facility, QUndoStack* undo, QWidget* parent)
{
    const FacilitySettings before = FacilitySettings::of(facility);
    CSolidFacilitySetupDialog dialog(wnd, facility, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (undo != nullptr)
        undo->push(new FacilitySetupCommand(wnd, facility, before, FacilitySettings::of(facility)));
    return true;
}

} // namespace vs
