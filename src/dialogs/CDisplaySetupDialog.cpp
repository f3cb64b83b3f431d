#include "dialogs/CDisplaySetupDialog.h"

#include "dialogs/CFieldCheck.h"
#include "dialogs/CUpDown.h"
#include "dialogs/ColourChooser.h"
#include "dialogs/DialogNumbers.h"
#include "dialogs/DisplaySetupCommand.h"
#include "document/CSolidDocument.h"
#include "scene/CSceneView.h"

#include "ui/ui_DisplaySetupDialog.h"

#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFovMin = 30, kFovMax = 120;
constexpr double kEyeMin = 1, kEyeMax = 2.6;
constexpr double kAlphaMin = 0, kAlphaMax = 100;

const char* const kInputError = "输入错误！";
const char* const kFovError = "\"视角\"必须大于30度和小于120度！";
const char* const kEyeError = "\"眼睛距地面高度\"必须大于1米和小于2.6米！";
const char* const kAlphaError = "\"透明度\"必须在0和100之间！";

} // namespace

CDisplaySetupDialog::CDisplaySetupDialog(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::DisplaySetupDialog>()),
      fieldCheck_(new CFieldCheck(this))
{
    ui_->setupUi(this);
    ui_->fovUpDown->setBuddy(ui_->fovEdit);
    ui_->eyeHeightUpDown->setBuddy(ui_->eyeHeightEdit);
    ui_->alphaUpDown->setBuddy(ui_->alphaEdit);
    ui_->ambientSwatch->setMinimumSize(fontMetrics().height() * 3, fontMetrics().height());
    CFieldCheck::setSkipsFieldCheck(ui_->cancelButton);
    connectControls();
}

CDisplaySetupDialog::~CDisplaySetupDialog() = default;

SolidViewState& CDisplaySetupDialog::prefs()
{
    CSolidDocument& doc = wnd_->document();
    if (!doc.viewState)
        doc.viewState = std::make_unique<SolidViewState>();
    return *doc.viewState;
}

void CDisplaySetupDialog::connectControls()
{
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* edit : {ui_->fovEdit, ui_->eyeHeightEdit, ui_->alphaEdit}) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { onTextChanged(edit); });
        fieldCheck_->watch(
            edit, [this, edit](const QString& text) { return fieldMessage(edit, text); },
            [this, edit](const QString&) { onTextChanged(edit); });
    }
    connect(ui_->fovUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setFieldText(ui_->fovEdit, prefs().fov - d, 1); });
    connect(ui_->eyeHeightUpDown, &CUpDown::deltaPos, this, [this](int d) {
        setFieldText(ui_->eyeHeightEdit, prefs().eyeAboveFloor - d * 0.01, 2);
    });
    connect(ui_->alphaUpDown, &CUpDown::deltaPos, this, &CDisplaySetupDialog::onAlphaStep);
    connect(ui_->roofLightingCheck, &QCheckBox::clicked, this, [this](bool on) {
        prefs().roofUseLighting = on;
        apply();
    });
    connect(ui_->roofBackCheck, &QCheckBox::clicked, this, [this](bool on) {
        prefs().roofBackSemitransparent = on;
        ui_->alphaEdit->setEnabled(on);
        ui_->alphaUpDown->setEnabled(on);
        apply();
    });
    for (QRadioButton* radio : {ui_->simpleRadio, ui_->professionalRadio})
        connect(radio, &QRadioButton::clicked, this, [this] {
            prefs().simpleLighting = ui_->simpleRadio->isChecked();
            apply();
        });
    connect(ui_->vividCheck, &QCheckBox::clicked, this, [this](bool on) {
        prefs().gammaCorrection = on;
        // The window remakes every texture with or without sRGB decoding, then draws.
        if (wnd_ != nullptr)
            wnd_->ApplyDisplayPreferences();
    });
    connect(ui_->ambientButton, &QPushButton::clicked, this, &CDisplaySetupDialog::onChooseAmbient);
}

void CDisplaySetupDialog::showEvent(QShowEvent* event)
{
    if (!initialised_)
        initialise();
    QDialog::showEvent(event);
}

void CDisplaySetupDialog::initialise()
{
    if (wnd_ == nullptr)
        return;
    initialised_ = true;
    const DialogInitialising::Scope quiet(initialising_);
    const SolidViewState& p = prefs();
    initial_ = DisplayPreferenceBlock::of(p);
    ui_->fovEdit->setText(vs::formatDialogNumber(static_cast<float>(p.fov), 1));
    ui_->eyeHeightEdit->setText(vs::formatDialogNumber(static_cast<float>(p.eyeAboveFloor), 2));
    ui_->roofLightingCheck->setChecked(p.roofUseLighting);
    ui_->roofBackCheck->setChecked(p.roofBackSemitransparent);
    ui_->alphaEdit->setText(vs::formatDialogNumber(p.roofBackAlphaPercent, 0));
    ui_->alphaEdit->setEnabled(p.roofBackSemitransparent);
    ui_->alphaUpDown->setEnabled(p.roofBackSemitransparent);
    (p.simpleLighting ? ui_->simpleRadio : ui_->professionalRadio)->setChecked(true);
    ui_->vividCheck->setChecked(p.gammaCorrection);
    paintSwatch();
}

void CDisplaySetupDialog::onTextChanged(QLineEdit* edit)
{
    if (initialising_ || wnd_ == nullptr)
        return;
    double v = 0;
    if (!vs::parseDialogNumber(edit->text(), v))
        return;
    SolidViewState& p = prefs();
    if (edit == ui_->fovEdit)
        p.fov = std::clamp(v, kFovMin, kFovMax);
    else if (edit == ui_->eyeHeightEdit)
        p.eyeAboveFloor = std::clamp(v, kEyeMin, kEyeMax);
    else
        p.roofBackAlphaPercent = static_cast<int>(std::clamp(v, kAlphaMin, kAlphaMax));
    apply();
}

QString CDisplaySetupDialog::fieldMessage(QLineEdit* edit, const QString& text) const
{
    double v = 0;
    if (!vs::parseDialogNumber(text, v))
        return QString::fromUtf8(kInputError);
    if (edit == ui_->fovEdit && (v < kFovMin || v > kFovMax))
        return QString::fromUtf8(kFovError);
    if (edit == ui_->eyeHeightEdit && (v < kEyeMin || v > kEyeMax))
        return QString::fromUtf8(kEyeError);
    if (edit == ui_->alphaEdit && (v < kAlphaMin || v > kAlphaMax))
        return QString::fromUtf8(kAlphaError);
    return QString();
}

void CDisplaySetupDialog::setFieldText(QLineEdit* edit, double value, int decimals)
{
    edit->setText(vs::formatDialogNumber(value, decimals)); // goes through onTextChanged
}

void CDisplaySetupDialog::onAlphaStep(int d)
{
    const int v = prefs().roofBackAlphaPercent - d;
    if (v >= kAlphaMin && v <= kAlphaMax)
        setFieldText(ui_->alphaEdit, v, 0);
}

void CDisplaySetupDialog::onChooseAmbient()
{
    const std::optional<QColor> chosen =
        vs::chooseColour(this, vs::colourOfColorRef(prefs().ambientColor));
    if (!chosen)
        return;
    prefs().ambientColor = vs::colorRefOfColour(*chosen);
    paintSwatch();
    apply();
}

void CDisplaySetupDialog::paintSwatch()
{
    QPalette palette = ui_->ambientSwatch->palette();
    palette.setColor(QPalette::Window, vs::colourOfColorRef(prefs().ambientColor));
    ui_->ambientSwatch->setPalette(palette);
    ui_->ambientSwatch->update();
}

void CDisplaySetupDialog::apply()
{
    if (wnd_ != nullptr)
        wnd_->ApplyDisplayPreferences(true);
}

void CDisplaySetupDialog::reject()
{
    if (wnd_ != nullptr && initialised_) {
        saved_.storeInto(prefs());
        wnd_->ApplyDisplayPreferences();
    }
    QDialog::reject();
}

namespace vs {

bool runDisplaySetup(CSceneView& wnd, QUndoStack* undo, QWidget* parent)
{
    CSolidDocument& doc = wnd.document();
    if (!doc.viewState)
        doc.viewState = std::make_unique<SolidViewState>();
    const DisplayPreferenceBlock before = DisplayPreferenceBlock::of(*doc.viewState);
    CDisplaySetupDialog dialog(parent);
    dialog.setSolidWnd(&wnd);
    dialog.setSavedPreferences(before);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const DisplayPreferenceBlock after = DisplayPreferenceBlock::of(*doc.viewState);
    if (undo != nullptr && after != before)
        undo->push(new DisplaySetupCommand(wnd, before, after));
    return true;
}

} // namespace vs
