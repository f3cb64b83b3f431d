// The main design dialog: the 3D window beside the catalogue tabs and lists from which items
// are dragged into the room, the work-mode radios, the display check boxes and the buttons of
// the setup dialogs. The dialog mirrors the window's modes and changes them only through its
// radios and check boxes.
#pragma once

#include <QDialog>
#include <QPixmap>

#include <memory>
#include <vector>

class CCandyCategory;
class CCandyKind;
class CCandyType;
class CCommonType;
class CEntityTypeListBox;
class CFacilityCategory;
class CFacilityModel;
class CSolidDocument;
class CSolidWnd;
struct ModuleCatalogues;
class QComboBox;
class CDesignDialogs;
class QUndoStack;

namespace Ui {
class MainDesignDialog;
}

class CVantrelSolidView : public QDialog
{
    Q_OBJECT

public:
    /** Text of the maximise button while the dialog is not maximised, and while it is. */
    static const char* const kMaximiseText;
    static const char* const kRestoreText;
    /** Title a render-only run gives the dialog. */
    static const char* const kRenderTitle;

    /**
     * The dialog for `doc` (not owned; it must outlive the dialog) over the module's
     * catalogues and callbacks: tabs and lists filled, modes taken from the document's view
     * state (viewing, globe, whole room without one), the 3D window made. The engine starts
     * when the dialog is first shown, or through startEngine.
     */
    explicit CVantrelSolidView(CSolidDocument& doc, QWidget* parent = nullptr);
    /** Detaches the dialog from the document; the 3D window saves the view state as it goes. */
    ~CVantrelSolidView() override;

    /** Creates the 3D window's engine device unless it has been started already. */
    void startEngine();
    /** Prepares a render-only run: the render title, hidden, engine started. */
    void prepareRenderRun();

    /** Reads the radios and check boxes into the modes and hands them to the 3D window. */
    void UpdateModesFromRadios();
    /** Sets the radios and check boxes (and their enablement and colours) from values; the 3D
     *  window is not told. */
    void SelectModes(int workMode, int viewMode, bool displayFull);
    /** A catalogue list was pressed: design mode with the current camera (globe instead of
     *  change top). */
    void SwitchToDesign();
    /** An item dragged from a list was dropped at `screenPoint`: on the 3D tab a facility model
     *  is placed, on the second and later panel tabs a catalogue item; nothing on the first. */
    void DropEntity(const QPoint& screenPoint, CCommonType* item, const QSize& imageSize);

    /** Work mode: 5 design, 4 viewing. */
    int workMode() const { return workMode_; }
    /** View mode: 4 globe, 5 first person, 6 change top. */
    int viewMode() const { return viewMode_; }
    /** The globe view shows the whole room. */
    bool displayFull() const { return displayFull_; }
    /** The light markers are shown. */
    bool showLightPositions() const { return showLightPositions_; }
    /** The 3D window. */
    CSolidWnd* solidWnd() const { return solidWnd_; }
    /** The panel type selected in the list while the first tab was active, or null. */
    CCandyType* currentPanelType() const { return currentPanelType_; }
    /** The panel catalogue list of the active tab; null on the 3D tab. */
    CCandyKind* activeTabList() const;
    /** True while the last tab (3D models) is active. */
    bool facilityTabActive() const;
    /** The design's edits that can be undone (Ctrl+Z) and redone (Ctrl+Y, Ctrl+Shift+Z). */
    QUndoStack* undoStack() const { return undoStack_; }
    /** The module picture tiled behind the controls (null when the module lacks it). */
    const QPixmap& backgroundPattern() const { return backgroundPattern_; }

signals:
    /** A facility model was dropped on the 3D tab. */
    void facilityModelDropped(const QPoint& screenPoint, CFacilityModel* model);
    /** A panel-catalogue item (appliance, art piece) was dropped from a later panel tab. */
    void catalogueItemDropped(const QPoint& screenPoint, CCandyType* item, const QSize& imageSize);
    /** The button "精细渲染" (1014) was pressed. */
    void fineRenderRequested();
    /** The hidden button "Kerkythea" (1016) was pressed. */
    void templateSceneRequested();
    /** The hidden button 1038 was pressed: the process is to end at once. */
    void endProcessRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void connectControls();
    void createTabs();
    void onTabChanged(int index);
    void showTabControls();
    void onModeRadioClicked();
    void onChangeTopClicked();
    void refreshModeControls();
    void applyModesToWindow();
    void onDisplayFullClicked();
    void onLightPositionsClicked();
    void onInvertTopClicked();
    void onVividColoursClicked();
    void onTemplateClicked();
    void onExportPictureClicked();
    void onMaximiseClicked();
    void updateMaximiseText();
    void onLeftViewing();
    void onEntitySelected(CCommonType* item);
    void chooseStaticSample(int on);
    void createUndoActions();
    void onDisplaySetupClicked();
    void onWallSetupClicked();
    void syncDisplayChecks();

    void fillFacilityCategories();
    void onFacilityCategoryChanged();
    void onBrandChanged();
    void fillFacilityList();
    void fillClassifications();
    void onClassificationChanged();
    void fillPanelList();

    ModuleCatalogues& app_;
    CSolidDocument& doc_;
    std::unique_ptr<Ui::MainDesignDialog> ui_;
    QPixmap backgroundPattern_;
    CSolidWnd* solidWnd_ = nullptr;   // child of the view area
    QUndoStack* undoStack_ = nullptr; // child of the dialog
    std::unique_ptr<CDesignDialogs> designDialogs_;
    bool engineStarted_ = false;

    int workMode_ = 4;
    int viewMode_ = 4;
    bool displayFull_ = true;
    bool showLightPositions_ = false;
    CCandyType* currentPanelType_ = nullptr;
};
