#include "dialogs/CWallSetupDialog.h"

#include "dialogs/CFieldCheck.h"
#include "dialogs/DialogMessage.h"
#include "dialogs/DialogNumbers.h"
#include "dialogs/WallBand.h"
#include "dialogs/WallSetupCommand.h"
#include "document/CSolidDocument.h"
#include "scene/CSceneView.h"

#include "ui/ui_WallSetupDialog.h"

#include <QUndoStack>

namespace {

const char* const kWidthError = "\"腰花宽度\"输入错误！";
const char* const kHeightError = "\"腰花距地面高度\"输入错误！";
/** The fields show centimetres; the document keeps decimillimetres. */
constexpr double kUnitsPerCentimetre = 100;
/** Largest band width or height accepted: 1000 m. */
constexpr double kLargestLength = 1000.0 * 10000.0;

} // namespace

CWallSetupDialog::CWallSetupDialog(CSolidDocument& doc, CSceneView* wnd, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::WallSetupDialog>()), doc_(doc), wnd_(wnd)
{
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->bandCheck, &QCheckBox::clicked, this, &CWallSetupDialog::enableFields);
    initialise();
}

CWallSetupDialog::~CWallSetupDialog() = default;

void CWallSetupDialog::initialise()
{
    CWallPartDefinition band;
    band.hasBand = false;
    const auto bands = vs::waistBands(doc_);
    if (!bands.empty() && bands.front())
        band = *bands.front();
    ui_->bandCheck->setChecked(band.hasBand && band.height > 0);
    ui_->bandWidthEdit->setText(vs::formatDialogNumber(band.height / kUnitsPerCentimetre, 1));
    ui_->bandHeightEdit->setText(
        vs::formatDialogNumber(band.relativeBottom / kUnitsPerCentimetre, 1));
    enableFields();
}

void CWallSetupDialog::enableFields()
{
    const bool on = ui_->bandCheck->isChecked();
    ui_->bandWidthEdit->setEnabled(on);
    ui_->bandHeightEdit->setEnabled(on);
}

std::optional<double> CWallSetupDialog::readField(QLineEdit* edit, const char* message)
{
    double v = 0;
    if (vs::parseDialogNumber(edit->text(), v)) {
        v *= kUnitsPerCentimetre;
        if (v >= 0 && v <= kLargestLength)
            return v;
    }
    vs::showDialogMessage(this, QString::fromUtf8(message));
    edit->setFocus(Qt::OtherFocusReason);
    return std::nullopt;
}

void CWallSetupDialog::accept()
{
    std::vector<std::optional<CWallPartDefinition>> bands;
    if (ui_->bandCheck->isChecked()) {
        const std::optional<double> width = readField(ui_->bandWidthEdit, kWidthError);
        if (!width)
            return;
        const std::optional<double> height = readField(ui_->bandHeightEdit, kHeightError);
        if (!height)
            return;
        bands = vs::uniformWaistBands(doc_, true, *width, *height);
    } else {
        // Off, with the first wall's current width and height.
        CWallPartDefinition first;
        const auto current = vs::waistBands(doc_);
        if (!current.empty() && current.front())
            first = *current.front();
        bands = vs::uniformWaistBands(doc_, false, first.height, first.relativeBottom);
    }
    vs::setWaistBands(doc_, bands);
    if (wnd_ != nullptr)
        wnd_->DrawScene();
    QDialog::accept();
}

namespace vs {

bool runWallSetup(CSolidDocument& doc, CSceneView* wnd, QUndoStack* undo, QWidget* parent)
{
    auto before = waistBands(doc);
    CWallSetupDialog dialog(doc, wnd, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (undo != nullptr)
        undo->push(new WallSetupCommand(doc, wnd, std::move(before), waistBands(doc)));
    return true;
}

} // namespace vs
