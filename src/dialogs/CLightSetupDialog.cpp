#include "dialogs/CLightSetupDialog.h"

#include "ceiling/HostMoves.h"
#include "dialogs/CFieldCheck.h"
#include "dialogs/CUpDown.h"
#include "dialogs/ColourChooser.h"
#include "dialogs/DialogNumbers.h"
#include "dialogs/LightSetupCommand.h"
#include "document/CHost.h"
#include "document/CSolidDocument.h"
#include "scene/CRoomSceneNode.h"
#include "scene/CSceneView.h"
#include "scene/LightScene.h"

#include "ui/ui_LightSetupDialog.h"

#include <QUndoStack>

#include <cmath>

namespace {

const char* const kInputError = "输入错误！";
/** The fields show metres; the document keeps decimillimetres. */
constexpr double kUnitsPerMetre = 10000;
/** Range and height are refused beyond 1000 m. */
constexpr double kLargestMetres = 1000;
/** "慢": the coefficient is the linear term x 10^4; "快": the quadratic term x 10^8. */
constexpr double kSlowScale = 10000;
constexpr double kFastScale = 100000000;
enum Speed { Slow = 0, Fast = 1 };

int channel(float c)
{
    return static_cast<int>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255));
}

} // namespace

namespace vs {

void previewLight(CSolidLight& light, const LightData& data)
{
    // A copy carrying the working data updates the light's nodes.
    CSolidLight shown = light;
    data.storeInto(shown);
    irr::scene::ILightSceneNode* node = lightNode(light);
    shown.isVisible = node != nullptr ? node->isVisible() : light.isVisible;
    previewLightNode(light, shown);
}

} // namespace vs

CLightSetupDialog::CLightSetupDialog(CSceneView& wnd, CSolidLight* light, CHost* owner,
                                     QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::LightSetupDialog>()),
      fieldCheck_(new CFieldCheck(this)), wnd_(wnd), light_(light), owner_(owner),
      data_(light != nullptr ? LightData::of(*light) : LightData::forNewLamp())
{
    ui_->setupUi(this);
    ui_->radiusUpDown->setBuddy(ui_->radiusEdit);
    ui_->heightUpDown->setBuddy(ui_->heightEdit);
    ui_->coefficientUpDown->setBuddy(ui_->coefficientEdit);
    ui_->innerUpDown->setBuddy(ui_->innerEdit);
    ui_->outerUpDown->setBuddy(ui_->outerEdit);
    ui_->colourSwatch->setMinimumSize(fontMetrics().height() * 3, fontMetrics().height());
    CFieldCheck::setSkipsFieldCheck(ui_->cancelButton);
    initialise();
    connectControls();
}

CLightSetupDialog::~CLightSetupDialog() = default;

void CLightSetupDialog::initialise()
{
    ui_->typeCombo->addItems({QStringLiteral("点光源"), QStringLiteral("聚光灯")});
    ui_->speedCombo->addItems({QStringLiteral("慢"), QStringLiteral("快")});
    ui_->typeCombo->setCurrentIndex(data_.type == CSolidLight::Spot ? 1 : 0);
    const DialogInitialising::Scope quiet(initialising_);
    // The light's own switch: under the simple lighting model its node is hidden whatever the
    // switch says, and reading the node would switch the light off on Cancel.
    if (light_ != nullptr)
        enabled_ = light_->isVisible;
    ui_->enableCheck->setChecked(enabled_);
    const bool slow = data_.attenuation.y != 0;
    coefficient_ = slow ? data_.attenuation.y * kSlowScale : data_.attenuation.z * kFastScale;
    ui_->speedCombo->setCurrentIndex(slow ? Slow : Fast);
    ui_->radiusEdit->setText(vs::formatDialogNumber(data_.radius / kUnitsPerMetre, 2));
    ui_->coefficientEdit->setText(vs::formatDialogNumber(coefficient_, 1));
    ui_->heightEdit->setText(vs::formatDialogNumber(data_.position.y / kUnitsPerMetre, 2));
    ui_->shadowCheck->setChecked(data_.castShadows);
    enableControls(enabled_);
    onTypeChanged();
    paintSwatch();
}

void CLightSetupDialog::connectControls()
{
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->typeCombo, &QComboBox::currentIndexChanged, this,
            &CLightSetupDialog::onTypeChanged);
    connect(ui_->speedCombo, &QComboBox::currentIndexChanged, this,
            &CLightSetupDialog::onSpeedChanged);
    for (QLineEdit* edit :
         {ui_->radiusEdit, ui_->heightEdit, ui_->coefficientEdit, ui_->innerEdit, ui_->outerEdit}) {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { onTextChanged(edit); });
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
    connect(ui_->radiusUpDown, &CUpDown::deltaPos, this, [this](int d) {
        setField(ui_->radiusEdit, (data_.radius - 100.0 * d) / kUnitsPerMetre, 2);
    });
    connect(ui_->heightUpDown, &CUpDown::deltaPos, this, [this](int d) {
        setField(ui_->heightEdit, (data_.position.y - 100.0 * d) / kUnitsPerMetre, 2);
    });
    connect(ui_->coefficientUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->coefficientEdit, coefficient_ - d / 10.0, 1); });
    connect(ui_->outerUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->outerEdit, data_.outerCone - d, 1); });
    connect(ui_->innerUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->innerEdit, data_.innerCone - d, 1); });
    connect(ui_->enableCheck, &QCheckBox::clicked, this, &CLightSetupDialog::onEnableClicked);
    connect(ui_->colourButton, &QPushButton::clicked, this, &CLightSetupDialog::onChooseColour);
}

void CLightSetupDialog::enableControls(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui_->typeCombo, ui_->radiusEdit, ui_->radiusUpDown, ui_->heightEdit, ui_->heightUpDown,
             ui_->coefficientEdit, ui_->coefficientUpDown, ui_->colourButton})
        w->setEnabled(on);
    const bool cones = on && ui_->typeCombo->currentIndex() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{ui_->innerEdit, ui_->innerUpDown,
                                                      ui_->outerEdit, ui_->outerUpDown})
        w->setEnabled(cones);
}

void CLightSetupDialog::onTypeChanged()
{
    const bool spot = ui_->typeCombo->currentIndex() == 1;
    {
        const DialogInitialising::Scope quiet(initialising_);
        ui_->innerEdit->setText(spot ? vs::formatDialogNumber(data_.innerCone, 1) : QString());
        ui_->outerEdit->setText(spot ? vs::formatDialogNumber(data_.outerCone, 1) : QString());
    }
    enableControls(ui_->enableCheck->isChecked());
    data_.type = spot ? CSolidLight::Spot : CSolidLight::Point;
    if (light_ != nullptr)
        applyToScene();
}

void CLightSetupDialog::updateAttenuation()
{
    if (ui_->speedCombo->currentIndex() == Slow) {
        data_.attenuation.y = static_cast<float>(coefficient_ / kSlowScale);
        data_.attenuation.z = 0;
    } else {
        data_.attenuation.y = 0;
        data_.attenuation.z = static_cast<float>(coefficient_ / kFastScale);
    }
}

void CLightSetupDialog::onSpeedChanged()
{
    updateAttenuation();
    applyToScene();
}

bool CLightSetupDialog::acceptable(QLineEdit* edit, double v) const
{
    // Values the engine cannot light with are refused rather than previewed.
    if (edit == ui_->radiusEdit)
        return v > 0 && v <= kLargestMetres;
    if (edit == ui_->heightEdit)
        return std::abs(v) <= kLargestMetres;
    if (edit == ui_->innerEdit)
        return v >= 0 && v <= 180 && v <= data_.outerCone;
    if (edit == ui_->outerEdit)
        return v >= 0 && v <= 180 && v >= data_.innerCone;
    return true;
}

void CLightSetupDialog::onTextChanged(QLineEdit* edit)
{
    if (initialising_)
        return;
    double v = 0;
    if (!vs::parseDialogNumber(edit->text(), v) || !acceptable(edit, v))
        return;
    if (edit == ui_->radiusEdit) {
        data_.radius = static_cast<float>(v * kUnitsPerMetre);
    } else if (edit == ui_->heightEdit) {
        data_.position.y = static_cast<float>(v * kUnitsPerMetre);
    } else if (edit == ui_->coefficientEdit) {
        coefficient_ = v;
        updateAttenuation();
    } else if (edit == ui_->innerEdit) {
        data_.innerCone = static_cast<float>(v);
    } else {
        data_.outerCone = static_cast<float>(v);
    }
    applyToScene();
}

void CLightSetupDialog::setField(QLineEdit* edit, double value, int decimals)
{
    edit->setText(vs::formatDialogNumber(value, decimals)); // goes through onTextChanged
}

void CLightSetupDialog::onEnableClicked(bool on)
{
    if (light_ == nullptr && owner_ != nullptr && on) {
        if (!vs::switchHostLight(*owner_, true) || owner_->light == nullptr) {
            ui_->enableCheck->setChecked(false);
            return;
        }
        light_ = owner_->light;
        CSolidDocument& doc = wnd_.document();
        if (doc.roomNode != nullptr)
            vs::buildLightNode(*light_, doc.roomNode);
        data_ = LightData::of(*light_);
        created_ = LightSetupCommand::capture(*light_);
        created_->isVisible = false;
        const DialogInitialising::Scope quiet(initialising_);
        ui_->typeCombo->setCurrentIndex(data_.type == CSolidLight::Spot ? 1 : 0);
        const bool slow = data_.attenuation.y != 0;
        coefficient_ = slow ? data_.attenuation.y * kSlowScale : data_.attenuation.z * kFastScale;
        ui_->speedCombo->setCurrentIndex(slow ? Slow : Fast);
        ui_->radiusEdit->setText(vs::formatDialogNumber(data_.radius / kUnitsPerMetre, 2));
        ui_->coefficientEdit->setText(vs::formatDialogNumber(coefficient_, 1));
        ui_->heightEdit->setText(vs::formatDialogNumber(data_.position.y / kUnitsPerMetre, 2));
        ui_->shadowCheck->setChecked(data_.castShadows);
        paintSwatch();
    }
    if (light_ == nullptr) {
        ui_->enableCheck->setChecked(false);
        return;
    }
    light_->isVisible = on;
    if (irr::scene::ILightSceneNode* node = vs::lightNode(*light_))
        node->setVisible(on);
    enableControls(on);
    onTypeChanged();
    wnd_.DrawScene();
}

void CLightSetupDialog::onChooseColour()
{
    const Colorf& c = data_.diffuseColor;
    const std::optional<QColor> chosen =
        vs::chooseColour(this, QColor(channel(c.r), channel(c.g), channel(c.b)));
    if (!chosen)
        return;
    data_.diffuseColor = {static_cast<float>(chosen->redF()), static_cast<float>(chosen->greenF()),
                          static_cast<float>(chosen->blueF()), 1};
    paintSwatch();
    applyToScene();
}

void CLightSetupDialog::paintSwatch()
{
    const Colorf& c = data_.diffuseColor;
    QPalette palette = ui_->colourSwatch->palette();
    palette.setColor(QPalette::Window, QColor(channel(c.r), channel(c.g), channel(c.b)));
    ui_->colourSwatch->setPalette(palette);
    ui_->colourSwatch->update();
}

void CLightSetupDialog::applyToScene()
{
    if (light_ == nullptr)
        return;
    vs::previewLight(*light_, data_);
    wnd_.DrawScene();
}

void CLightSetupDialog::accept()
{
    if (light_ != nullptr) {
        CSolidDocument& doc = wnd_.document();
        data_.castShadows = ui_->shadowCheck->isChecked();
        if (data_.castShadows) {
            // At most one light casts the render's shadows.
            for (auto* list : {&doc.solidLights, &doc.defaultSolidLights})
                for (auto& l : *list) {
                    l->castShadows = false;
                    vs::updateLightNode(*l);
                }
        }
        data_.storeInto(*light_);
        vs::updateLightNode(*light_);
        vs::applyLightingModelToLights(vs::usesSimpleLighting(doc), doc);
        wnd_.DrawScene();
    }
    QDialog::accept();
}

void CLightSetupDialog::reject()
{
    if (light_ != nullptr) {
        CSolidDocument& doc = wnd_.document();
        light_->isVisible = enabled_;
        vs::updateLightNode(*light_);
        vs::applyLightingModelToLights(vs::usesSimpleLighting(doc), doc);
        wnd_.DrawScene();
    }
    QDialog::reject();
}

namespace vs {

bool runLightSetup(CSceneView& wnd, CSolidLight* light, CHost* owner, QUndoStack* undo,
                   QWidget* parent)
{
    if (light == nullptr && owner != nullptr)
        light = owner->light;
    std::optional<LightSetupCommand::State> before;
    if (light != nullptr)
        before = LightSetupCommand::capture(*light);
    CLightSetupDialog dialog(wnd, light, owner, parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    CSolidLight* edited = dialog.light();
    if (!ok || edited == nullptr || undo == nullptr)
        return ok;
    if (!before)
        before = dialog.stateAtCreation(); // what Cancel keeps: the new light switched off
    if (!before)
        return ok;
    undo->push(new LightSetupCommand(wnd, *edited, std::move(*before),
                                     LightSetupCommand::capture(*edited)));
    return true;
}

} // namespace vs
