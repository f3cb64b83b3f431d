#include "dialogs/CMaterialDlg.h"

#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/CFacilityModel.h"
#include "catalogue/ModuleCatalogues.h"
#include "dialogs/CSelectPictureDlg.h"
#include "dialogs/CUpDown.h"
#include "dialogs/DialogNumbers.h"
#include "dialogs/MaterialCommand.h"
#include "document/CSolidFacility.h"
#include "scene/CSceneView.h"
#include "scene/FacilityScene.h"

#include "ui/ui_MaterialDlg.h"

#include <QUndoStack>

#include <irrlicht.h>

namespace {

/** The picture of an engine texture, when its texels can be read. */
QImage textureImage(irr::video::ITexture* texture)
{
    if (texture == nullptr || texture->getColorFormat() != irr::video::ECF_A8R8G8B8)
        return QImage();
    const auto size = texture->getSize();
    const void* texels = texture->lock(irr::video::ETLM_READ_ONLY);
    if (texels == nullptr)
        return QImage();
    const QImage image = QImage(static_cast<const uchar*>(texels), static_cast<int>(size.Width),
                                static_cast<int>(size.Height),
                                static_cast<int>(texture->getPitch()), QImage::Format_ARGB32)
                             .copy();
    texture->unlock();
    return image;
}

int bufferCount(CSolidFacility& facility)
{
    if (irr::scene::IMesh* shown = vs::facilityMesh(facility))
        return static_cast<int>(shown->getMeshBufferCount());
    irr::scene::ISceneManager* smgr = vs::facilitySceneManager(facility);
    if (facility.facilityModel != nullptr && smgr != nullptr)
        if (irr::scene::IMesh* mesh = facility.facilityModel->mesh(smgr))
            return static_cast<int>(mesh->getMeshBufferCount());
    return 0;
}

} // namespace

CMaterialDlg::CMaterialDlg(CSceneView& wnd, CSolidFacility& facility, CFacilityCatalogue& catalogue,
                           QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::MaterialDlg>()), wnd_(wnd), facility_(facility),
      catalogue_(catalogue), stored_(vs::customMaterialsOf(facility))
{
    ui_->setupUi(this);
    ui_->offsetXUpDown->setBuddy(ui_->offsetXEdit);
    ui_->offsetYUpDown->setBuddy(ui_->offsetYEdit);
    ui_->scaleXUpDown->setBuddy(ui_->scaleXEdit);
    ui_->scaleYUpDown->setBuddy(ui_->scaleYEdit);
    ui_->rotateUpDown->setBuddy(ui_->rotateEdit);
    const int side = fontMetrics().height() * 6;
    ui_->previewFrame->setFixedSize(side, side);

    const int count = bufferCount(facility);
    for (int a = 0; a < count; ++a) {
        ui_->bufferCombo->addItem(QString::number(a));
        CustomMaterial record;
        bool found = false;
        for (const CustomMaterial& m : stored_)
            if (m.index == a) {
                record = m;
                found = true;
                break;
            }
        if (!found) {
            record.index = a;
            record.texture = vs::ownTexture(facility, a);
        }
        working_.push_back(record);
    }
    connectControls();
    if (!working_.empty())
        showRecord();
    else
        for (QWidget* w : findChildren<QLineEdit*>())
            w->setEnabled(false);
}

CMaterialDlg::~CMaterialDlg() = default;

void CMaterialDlg::connectControls()
{
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->bufferCombo, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(working_.size())) {
            current_ = index;
            showRecord();
        }
    });
    for (QLineEdit* edit :
         {ui_->offsetXEdit, ui_->offsetYEdit, ui_->scaleXEdit, ui_->scaleYEdit, ui_->rotateEdit})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { onTextChanged(edit); });
    connect(ui_->offsetXUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->offsetXEdit, record().offsetX - 0.01 * d, 2); });
    connect(ui_->offsetYUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->offsetYEdit, record().offsetY - 0.01 * d, 2); });
    connect(ui_->scaleXUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->scaleXEdit, record().scaleX - 0.01 * d, 2); });
    connect(ui_->scaleYUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->scaleYEdit, record().scaleY - 0.01 * d, 2); });
    connect(ui_->rotateUpDown, &CUpDown::deltaPos, this,
            [this](int d) { setField(ui_->rotateEdit, record().rotate - d, 0); });
    connect(ui_->choosePictureButton, &QPushButton::clicked, this, &CMaterialDlg::onChoosePicture);
    connect(ui_->defaultPictureButton, &QPushButton::clicked, this,
            &CMaterialDlg::onDefaultPicture);
}

void CMaterialDlg::showRecord()
{
    const DialogInitialising::Scope quiet(initialising_);
    const CustomMaterial& r = record();
    ui_->offsetXEdit->setText(vs::formatDialogNumber(r.offsetX, 2));
    ui_->offsetYEdit->setText(vs::formatDialogNumber(r.offsetY, 2));
    ui_->scaleXEdit->setText(vs::formatDialogNumber(r.scaleX, 2));
    ui_->scaleYEdit->setText(vs::formatDialogNumber(r.scaleY, 2));
    ui_->rotateEdit->setText(vs::formatDialogNumber(r.rotate, 0));
    drawPreview();
}

void CMaterialDlg::drawPreview()
{
    CustomMaterial& r = record();
    if (r.facilityModel == nullptr && r.facilityModelId != 0)
        r.facilityModel = catalogue_.findModel(r.facilityModelId);
    QImage picture;
    if (r.facilityModel != nullptr)
        picture = r.facilityModel->texturePicture().image();
    else if (r.texture != nullptr)
        picture = textureImage(r.texture);
    ui_->previewFrame->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

void CMaterialDlg::onTextChanged(QLineEdit* edit)
{
    if (initialising_ || working_.empty())
        return;
    double v = 0;
    if (!vs::parseDialogNumber(edit->text(), v))
        return;
    CustomMaterial& r = record();
    const float f = static_cast<float>(v);
    if (edit == ui_->offsetXEdit)
        r.offsetX = f;
    else if (edit == ui_->offsetYEdit)
        r.offsetY = f;
    else if (edit == ui_->scaleXEdit)
        r.scaleX = f;
    else if (edit == ui_->scaleYEdit)
        r.scaleY = f;
    else
        r.rotate = f;
    apply();
}

void CMaterialDlg::setField(QLineEdit* edit, double value, int decimals)
{
    if (!working_.empty())
        edit->setText(vs::formatDialogNumber(value, decimals)); // goes through onTextChanged
}

void CMaterialDlg::onChoosePicture()
{
    if (working_.empty())
        return;
    CSelectPictureDlg select(catalogue_, nullptr, this);
    if (select.exec() != QDialog::Accepted)
        return;
    CustomMaterial& r = record();
    r.facilityModel = select.chosenModel();
    r.facilityModelId = r.facilityModel != nullptr ? r.facilityModel->id : 0;
    r.texture = nullptr; // made from the model's picture when shown
    drawPreview();
    apply();
}

void CMaterialDlg::onDefaultPicture()
{
    if (working_.empty())
        return;
    CustomMaterial& r = record();
    r.facilityModelId = 0;
    r.facilityModel = nullptr;
    r.texture = vs::ownTexture(facility_, r.index);
    drawPreview();
    apply();
}

void CMaterialDlg::apply()
{
    vs::setCustomMaterials(facility_, working_);
    wnd_.DrawScene();
}

void CMaterialDlg::accept()
{
    vs::setCustomMaterials(facility_, working_);
    wnd_.DrawScene();
    QDialog::accept();
}

void CMaterialDlg::reject()
{
    vs::setCustomMaterials(facility_, stored_);
    wnd_.DrawScene();
    QDialog::reject();
}

namespace vs {

bool runMaterialDialog(CSceneView& wnd, CSolidFacility& facility, QUndoStack* undo, QWidget* parent)
{
    CustomMaterialList before = customMaterialsOf(facility);
    CMaterialDlg dialog(wnd, facility, ModuleCatalogues::instance().facilities, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (undo != nullptr)
        undo->push(
            new MaterialCommand(wnd, facility, std::move(before), customMaterialsOf(facility)));
    return true;
}

} // namespace vs
