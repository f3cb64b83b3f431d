#include "view/CVantrelSolidView.h"

#include "catalogue/ModuleCatalogues.h"
#include "dialogs/CDisplaySetupDialog.h"
#include "dialogs/CWallSetupDialog.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "platform/ModuleResource.h"
#include "scene/CeilingScene.h"
#include "view/CDesignDialogs.h"
#include "view/CEntityTypeListBox.h"
#include "view/CMyTabCtrl.h"
#include "view/CSolidWnd.h"

#include "ui/ui_MainDesignDialog.h"

#include <QAction>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSignalBlocker>
#include <QUndoStack>

namespace {

constexpr int kViewing = 4;
constexpr int kDesigning = 5;
constexpr int kGlobe = 4;
constexpr int kFirstPerson = 5;
constexpr int kChangeTop = 6;
const QColor kActiveModeText(0x00, 0x00, 0xFF);
/** The module picture tiled behind the dialog's controls. */
constexpr int kBackgroundPattern = 113;
/** Height and least width of a catalogue tab. */
constexpr QSize kTabItemSize(35, 17);

int validWorkMode(int mode)
{
    return mode == kDesigning ? kDesigning : kViewing;
}

int validViewMode(int mode)
{
    return mode == kFirstPerson || mode == kChangeTop ? mode : kGlobe;
}

/** Gives `widget` the `base` palette with `colour` as its text while it is enabled (the active
 *  and inactive groups); the disabled group keeps its grey, so a disabled radio looks it. */
void setEnabledTextColour(QWidget* widget, QPalette base, const QColor& colour)
{
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        base.setColor(group, QPalette::WindowText, colour);
        base.setColor(group, QPalette::ButtonText, colour);
    }
    widget->setPalette(base);
}

} // namespace

const char* const CVantrelSolidView::kMaximiseText = "窗口最大化";
const char* const CVantrelSolidView::kRestoreText = "标准窗口";
const char* const CVantrelSolidView::kRenderTitle = "Rib Rendering...";

CVantrelSolidView::CVantrelSolidView(CSolidDocument& doc, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      app_(ModuleCatalogues::instance()), doc_(doc), ui_(std::make_unique<Ui::MainDesignDialog>())
{
    ui_->setupUi(this);
    doc_.view = this;
    backgroundPattern_.loadFromData(vs::moduleResource("IMG", kBackgroundPattern));
    ui_->rayTraceExportButton->hide();
    ui_->endProcessButton->hide();
    ui_->facilityList->setFacilityCatalogue(&app_.facilities);

    const bool hasSubElements =
        doc_.ceiling && doc_.ceiling->root && !doc_.ceiling->root->children.empty();
    ui_->changeTopRadio->setEnabled(!hasSubElements);

    int work = kViewing, view = kGlobe;
    bool full = true;
    if (doc_.viewState) {
        work = validWorkMode(doc_.viewState->workMode);
        view = validViewMode(doc_.viewState->viewMode);
        full = doc_.viewState->displayFull;
    }
    // Change top needs a sample and a ceiling without sub-elements; otherwise start in globe.
    if (view == kChangeTop && (hasSubElements || doc_.staticSolidSampleId == 0))
        view = kGlobe;
    SelectModes(work, view, full);

    solidWnd_ = new CSolidWnd(doc_, ui_->solidViewArea);
    solidWnd_->setObjectName("solidWnd");
    ui_->solidViewLayout->addWidget(solidWnd_);
    solidWnd_->SetModes(workMode_, viewMode_, displayFull_, showLightPositions_);

    ui_->invertTopCheck->setChecked(doc_.viewState && doc_.viewState->invertTop);
    ui_->catalogueTabs->setTabItemSize(kTabItemSize);
    createTabs();
    fillFacilityCategories();
    showTabControls();
    ui_->vividColoursCheck->setChecked(doc_.viewState && doc_.viewState->gammaCorrection);
    createUndoActions();
    solidWnd_->setUndoStack(undoStack_);
    designDialogs_ = std::make_unique<CDesignDialogs>(*solidWnd_, undoStack_, this);
    solidWnd_->setDialogs(designDialogs_.get());
    solidWnd_->setCurrentPanelType([this] { return currentPanelType_; });
    connectControls();
    updateMaximiseText();
    solidWnd_->setFocus();
}

CVantrelSolidView::~CVantrelSolidView()
{
    // The undo steps go first, while the controls they report to still exist.
    delete undoStack_;
    undoStack_ = nullptr;
    if (doc_.view == this)
        doc_.view = nullptr;
}

void CVantrelSolidView::connectControls()
{
    connect(ui_->catalogueTabs, &QTabBar::currentChanged, this, &CVantrelSolidView::onTabChanged);
    for (QRadioButton* radio : {ui_->designRadio, ui_->globeRadio, ui_->firstPersonRadio})
        connect(radio, &QRadioButton::clicked, this, &CVantrelSolidView::onModeRadioClicked);
    connect(ui_->changeTopRadio, &QRadioButton::clicked, this,
            &CVantrelSolidView::onChangeTopClicked);
    connect(ui_->displayFullCheck, &QCheckBox::clicked, this,
            &CVantrelSolidView::onDisplayFullClicked);
    connect(ui_->lightPositionsCheck, &QCheckBox::clicked, this,
            &CVantrelSolidView::onLightPositionsClicked);
    connect(ui_->invertTopCheck, &QCheckBox::clicked, this, &CVantrelSolidView::onInvertTopClicked);
    connect(ui_->vividColoursCheck, &QCheckBox::clicked, this,
            &CVantrelSolidView::onVividColoursClicked);
    connect(ui_->clipCheck, &QCheckBox::clicked, this, [this](bool on) { solidWnd_->setClip(on); });
    connect(ui_->photoCheck, &QCheckBox::clicked, this,
            [this](bool on) { solidWnd_->setPlainPhoto(on); });
    connect(ui_->templateButton, &QPushButton::clicked, this,
            &CVantrelSolidView::onTemplateClicked);
    connect(ui_->exportPictureButton, &QPushButton::clicked, this,
            &CVantrelSolidView::onExportPictureClicked);
    connect(ui_->maximiseButton, &QPushButton::clicked, this,
            &CVantrelSolidView::onMaximiseClicked);
    connect(ui_->displaySetupButton, &QPushButton::clicked, this,
            &CVantrelSolidView::onDisplaySetupClicked);
    connect(ui_->wallSetupButton, &QPushButton::clicked, this,
            &CVantrelSolidView::onWallSetupClicked);
    connect(solidWnd_, &CSolidWnd::leftViewing, this, &CVantrelSolidView::onLeftViewing);
    connect(ui_->fineRenderButton, &QPushButton::clicked, this,
            &CVantrelSolidView::fineRenderRequested);
    connect(ui_->rayTraceExportButton, &QPushButton::clicked, this,
            &CVantrelSolidView::templateSceneRequested);
    connect(ui_->endProcessButton, &QPushButton::clicked, this,
            &CVantrelSolidView::endProcessRequested);

    connect(ui_->facilityCategoryCombo, &QComboBox::currentIndexChanged, this,
            &CVantrelSolidView::onFacilityCategoryChanged);
    connect(ui_->brandCombo, &QComboBox::currentIndexChanged, this,
            &CVantrelSolidView::onBrandChanged);
    connect(ui_->seriesCombo, &QComboBox::currentIndexChanged, this,
            &CVantrelSolidView::fillFacilityList);
    connect(ui_->classificationCombo, &QComboBox::currentIndexChanged, this,
            &CVantrelSolidView::onClassificationChanged);
    connect(ui_->subclassCombo, &QComboBox::currentIndexChanged, this,
            &CVantrelSolidView::fillPanelList);

    for (CEntityTypeListBox* list : {ui_->panelList, ui_->facilityList}) {
        connect(list, &CEntityTypeListBox::pressed, this, &CVantrelSolidView::SwitchToDesign);
        connect(list, &CEntityTypeListBox::entitySelected, this,
                &CVantrelSolidView::onEntitySelected);
        connect(list, &CEntityTypeListBox::entityDropped, this, &CVantrelSolidView::DropEntity);
    }
    // Drops go where the window's design-mode input goes.
    connect(this, &CVantrelSolidView::facilityModelDropped, this,
            [this](const QPoint& at, CFacilityModel* model) {
                solidWnd_->designInput().dropFacilityModel(at, *model);
            });
    connect(this, &CVantrelSolidView::catalogueItemDropped, this,
            [this](const QPoint& at, CCandyType* type, const QSize& imageSize) {
                solidWnd_->designInput().dropCatalogueItem(at, *type, imageSize);
            });
}

void CVantrelSolidView::startEngine()
{
    if (engineStarted_)
        return;
    engineStarted_ = true;
    if (layout() != nullptr)
        layout()->activate();
    solidWnd_->CreateEngine();
    solidWnd_->setFocus();
}

void CVantrelSolidView::prepareRenderRun()
{
    setWindowTitle(QString::fromUtf8(kRenderTitle));
    // A dialog never shown is never laid out, and the render takes the 3D window's size: lay the
    // dialog out by showing it off screen, then hide it.
    setAttribute(Qt::WA_DontShowOnScreen, true);
    show();
    hide();
    setAttribute(Qt::WA_DontShowOnScreen, false);
    startEngine();
}

// --- modes ---------------------------------------------------------------------------------

void CVantrelSolidView::SelectModes(int workMode, int viewMode, bool displayFull)
{
    workMode_ = validWorkMode(workMode);
    viewMode_ = validViewMode(viewMode);
    displayFull_ = displayFull;
    QRadioButton* radio = ui_->designRadio;
    if (workMode_ == kViewing)
        radio = viewMode_ == kFirstPerson ? ui_->firstPersonRadio
                : viewMode_ == kChangeTop ? ui_->changeTopRadio
                                          : ui_->globeRadio;
    radio->setChecked(true);
    refreshModeControls();
}

void CVantrelSolidView::UpdateModesFromRadios()
{
    if (ui_->designRadio->isChecked()) {
        workMode_ = kDesigning;
    } else {
        workMode_ = kViewing;
        if (ui_->globeRadio->isChecked())
            viewMode_ = kGlobe;
        else if (ui_->firstPersonRadio->isChecked())
            viewMode_ = kFirstPerson;
        else if (ui_->changeTopRadio->isChecked())
            viewMode_ = kChangeTop;
    }
    refreshModeControls();
    applyModesToWindow();
}

void CVantrelSolidView::refreshModeControls()
{
    const bool globeViewing = workMode_ == kViewing && viewMode_ == kGlobe;
    const bool changeTop = workMode_ == kViewing && viewMode_ == kChangeTop;
    // The whole-room box is the user's choice only in globe viewing; first person always
    // shows the whole room, so the box is ticked there whatever displayFull is.
    ui_->displayFullCheck->setEnabled(globeViewing);
    ui_->displayFullCheck->setChecked(viewMode_ == kFirstPerson || displayFull_);
    ui_->clipCheck->setVisible(viewMode_ == kChangeTop);
    ui_->photoCheck->setVisible(viewMode_ == kChangeTop);
    ui_->designRadio->setEnabled(!changeTop);

    QRadioButton* active = nullptr;
    if (workMode_ == kDesigning)
        active = ui_->designRadio;
    else if (viewMode_ == kGlobe)
        active = ui_->globeRadio;
    else if (viewMode_ == kFirstPerson)
        active = ui_->firstPersonRadio;
    for (QRadioButton* radio :
         {ui_->designRadio, ui_->globeRadio, ui_->firstPersonRadio, ui_->changeTopRadio}) {
        if (radio == active)
            setEnabledTextColour(radio, palette(), kActiveModeText);
        else
            radio->setPalette(palette());
        radio->update();
    }
}

void CVantrelSolidView::applyModesToWindow()
{
    if (solidWnd_ != nullptr)
        solidWnd_->SetModes(workMode_, viewMode_, displayFull_, showLightPositions_);
}

void CVantrelSolidView::onModeRadioClicked()
{
    UpdateModesFromRadios();
}

void CVantrelSolidView::onChangeTopClicked()
{
    if (doc_.staticSolidSampleId == 0) {
        // The host may let the user pick a sample and apply it before returning.
        chooseStaticSample(1);
        if (doc_.staticSolidSampleId == 0) {
            SelectModes(workMode_, viewMode_, displayFull_);
            return;
        }
    }
    UpdateModesFromRadios();
}

void CVantrelSolidView::SwitchToDesign()
{
    if (viewMode_ == kChangeTop)
        viewMode_ = kGlobe;
    SelectModes(kDesigning, viewMode_, displayFull_);
    applyModesToWindow();
}

void CVantrelSolidView::onLeftViewing()
{
    SelectModes(kDesigning, viewMode_, displayFull_);
}

// --- check boxes and buttons ---------------------------------------------------------------

void CVantrelSolidView::onDisplayFullClicked()
{
    displayFull_ = ui_->displayFullCheck->isChecked();
    refreshModeControls();
    applyModesToWindow();
    solidWnd_->setFocus();
}

void CVantrelSolidView::onLightPositionsClicked()
{
    showLightPositions_ = ui_->lightPositionsCheck->isChecked();
    applyModesToWindow(); // shows or hides the markers and draws
}

void CVantrelSolidView::onInvertTopClicked()
{
    if (!doc_.viewState)
        doc_.viewState = std::make_unique<SolidViewState>();
    doc_.viewState->invertTop = ui_->invertTopCheck->isChecked();
    if (doc_.inverted != doc_.viewState->invertTop)
        vs::invertCeiling(doc_);
    solidWnd_->DrawScene();
}

void CVantrelSolidView::onVividColoursClicked()
{
    if (!doc_.viewState)
        doc_.viewState = std::make_unique<SolidViewState>();
    doc_.viewState->gammaCorrection = ui_->vividColoursCheck->isChecked();
    // The window remakes its textures for the new colour decoding and draws.
    solidWnd_->ApplyDisplayPreferences();
}

void CVantrelSolidView::onTemplateClicked()
{
    chooseStaticSample(ui_->changeTopRadio->isChecked() ? 1 : 0);
}

void CVantrelSolidView::chooseStaticSample(int on)
{
    if (app_.callbacks.chooseStaticSample != nullptr)
        app_.callbacks.chooseStaticSample(on);
}

void CVantrelSolidView::onExportPictureClicked()
{
    QFileDialog dialog(this, QStringLiteral("导出图片"), QString(),
                       QStringLiteral("JPEG文件(*.jpg)"));
    dialog.setObjectName(QStringLiteral("exportPictureDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog adds ".jpg" to a typed name before it checks whether the file exists, so
    // "pic" asks before replacing "pic.jpg". The platform's own dialogs do not all add the
    // suffix before their check; Qt's does.
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    std::string why;
    if (!solidWnd_->ExportPicture(dialog.selectedFiles().first(), &why))
        QMessageBox::warning(this, QStringLiteral("导出图片"),
                             QStringLiteral("图片未能导出：%1").arg(QString::fromStdString(why)));
}

void CVantrelSolidView::createUndoActions()
{
    undoStack_ = new QUndoStack(this);
    QAction* undo = undoStack_->createUndoAction(this);
    undo->setObjectName("undoAction");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = undoStack_->createRedoAction(this);
    redo->setObjectName("redoAction");
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addAction(undo);
    addAction(redo);
    // An undone display setup may switch vivid colours back.
    connect(undoStack_, &QUndoStack::indexChanged, this, &CVantrelSolidView::syncDisplayChecks);
}

void CVantrelSolidView::onDisplaySetupClicked()
{
    vs::runDisplaySetup(*solidWnd_, undoStack_, this);
    syncDisplayChecks();
    solidWnd_->setFocus();
}

void CVantrelSolidView::onWallSetupClicked()
{
    vs::runWallSetup(doc_, solidWnd_, undoStack_, this);
    solidWnd_->setFocus();
}

void CVantrelSolidView::syncDisplayChecks()
{
    const QSignalBlocker blocker(ui_->vividColoursCheck);
    ui_->vividColoursCheck->setChecked(doc_.viewState && doc_.viewState->gammaCorrection);
}

void CVantrelSolidView::onMaximiseClicked()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
    updateMaximiseText();
}

void CVantrelSolidView::updateMaximiseText()
{
    ui_->maximiseButton->setText(QString::fromUtf8(isMaximized() ? kRestoreText : kMaximiseText));
}

// --- window events -------------------------------------------------------------------------

void CVantrelSolidView::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    startEngine();
}

void CVantrelSolidView::resizeEvent(QResizeEvent* event)
{
    // The layout hands the 3D window its new size, and the window rebuilds its engine for it.
    QDialog::resizeEvent(event);
    updateMaximiseText();
}

void CVantrelSolidView::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        updateMaximiseText();
}

void CVantrelSolidView::keyPressEvent(QKeyEvent* event)
{
    // Escape never closes the design dialog; in first-person viewing it offers to leave.
    if (event->key() == Qt::Key_Escape) {
        if (workMode_ == kViewing && viewMode_ == kFirstPerson)
            solidWnd_->AskLeaveViewing();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --- background ----------------------------------------------------------------------------

void CVantrelSolidView::paintEvent(QPaintEvent* event)
{
    // Only the dialog's own background: its labels, radios and check boxes are transparent
    // over it. (A texture in the palette instead would reach every control's face.)
    if (backgroundPattern_.isNull()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(event->rect(), QBrush(backgroundPattern_));
}
