// The 3D window of the design dialog: a native widget hosting the engine device, the room's
// scene, the cameras of the three views and their mouse and keyboard handling, drawing on
// demand (no render loop, no timer) and the picture export.
//
// Lengths are decimillimetres, angles degrees unless a name says radians. Scene axes: x = plan
// x, y = height, z = plan y.
#pragma once

#include "edit/DesignInput.h"
#include "edit/DesignView.h"
#include "edit/Selection.h"
#include "samples/StaticSamplePictures.h"
#include "view/CChangeTopView.h"
#include "view/CFirstPersonEye.h"
#include "view/CTrackball.h"
#include "view/XErrorTrap.h"

#include <QImage>
#include <QSocketNotifier>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include <irrlicht.h>

class CSolidDocument;
class SolidViewState;

class CSolidWnd : public QWidget, public DesignView
{
    Q_OBJECT

public:
    /** workMode values. */
    enum WorkMode { Viewing = 4, Designing = 5 };
    /** viewMode values. */
    enum ViewMode { Globe = 4, FirstPerson = 5, ChangeTop = 6 };
    /** The engine driver the window ended up with. */
    enum class DriverKind { None, OpenGL, Software, Null };

    /** A window showing `doc` (not owned; it must outlive the window). No device yet: the
     *  owner calls CreateEngine once the window has its size. Modes: viewing, globe, whole
     *  room, no light markers. */
    explicit CSolidWnd(CSolidDocument& doc, QWidget* parent = nullptr);
    /** Destroys the engine (saving the view state into the document). */
    ~CSolidWnd() override;

    /** Creates the engine device for the window's current size, builds the room's scene and
     *  the cameras, takes the saved view state and display preferences and switches to the
     *  current modes. Never ends the process: OpenGL on xcb, the software driver when OpenGL
     *  cannot start there, the null driver elsewhere; the window stays usable without one. */
    void CreateEngine();
    /** Saves the view state, releases the scene and drops the device and the catalogues'
     *  cached engine objects. Nothing without a device. */
    void DestroyEngine();
    /** Undoes the ceiling's inversion, then DestroyEngine and CreateEngine with the current
     *  modes. The window calls it itself when a resize changed its size. */
    void RecreateEngine();
    /** Draws one frame now; nothing without a device (and nothing visible with the null
     *  driver). */
    void DrawScene() override;
    /** Applies the document's display preferences (field of view, eye height, ambient colour,
     *  roof display, lighting model, light markers) and draws (twice with redrawTwice). When
     *  the vivid-colours preference changed since the scene was built, the scene is rebuilt so
     *  that every texture is made again with or without sRGB decoding. */
    void ApplyDisplayPreferences(bool redrawTwice = false) override;

    /** Switches work mode (4 viewing, 5 design), view mode (4 globe, 5 first person, 6 change
     *  top) and the whole-room flag, then draws. Unknown values keep the current ones. */
    void SetModes(int workMode, int viewMode, bool displayFull);
    /** As SetModes, also switching the light markers. */
    void SetModes(int workMode, int viewMode, bool displayFull, bool showLightPositions);
    /** The current work mode. */
    int workMode() const { return workMode_; }
    /** The current view mode. */
    int viewMode() const { return viewMode_; }
    /** Whether the globe view shows the whole room. */
    bool displayFull() const { return displayFull_; }
    /** Whether the light markers are shown. */
    bool showLightPositions() const { return showLightPositions_; }

    /** The change-top "clip" and "photo as taken" check boxes; each redraws. */
    void setClip(bool clip);
    /** See setClip. */
    void setPlainPhoto(bool plainPhoto);
    /** The change-top "clip" flag. */
    bool clip() const { return clip_; }
    /** The change-top "photo as taken" flag. */
    bool plainPhoto() const { return plainPhoto_; }

    /** Writes the last presented frame (in change top a frame drawn again without the outline
     *  and corner squares, cut to the picture's rectangle) as a JPEG to `jpegPath`, atomically:
     *  the file holds the earlier picture or the new one, never a part. Returns false without a
     *  drawn frame or when the file cannot be written, saying why in `why` when given. */
    bool ExportPicture(const QString& jpegPath, std::string* why = nullptr);
    /** The last presented frame (null image without one). */
    QImage lastFrame() const { return frameImage(); }
    /** Draws one frame into an engine render target of the window's size and returns it,
     *  also keeping it as the last presented frame. Null image with the null driver. */
    QImage RenderToImage();

    /** Rebuilds the change-top pictures from the document's static sample and redraws. */
    void RebuildStaticSample();
    /** Remakes the change-top textures from the pictures already built and redraws. */
    void RefreshStaticSample();

    /** The room centring translation (-cx, -h, -cy) for the globe view (h: the lowest layer
     *  height, halved with displayFull); rebuilds the room matrix in globe mode. */
    void CenterRoom(bool displayFull);
    /** The globe camera distance at which the outline's larger extent plus 600 fits the
     *  window: (e + 600) * 0.5 * tan(0.3 pi). */
    double ComputeGlobeDistance() const;

    /** How far the globe camera may be wheeled from the room centre: 120000, or twice the
     *  fitted distance for rooms larger than about 15 m. */
    float maxOrbitDistance() const;
    /** The room in its own coordinates with a margin: the outline's bounds widened by a tenth
     *  of their larger side plus 1 m, from below the floor to above the highest layer. */
    irr::core::aabbox3df roomBox() const;
    /** Sets `camera`'s near and far planes so that roomBox, where the room node now puts it,
     *  lies between them: any room is drawn whole from any distance. DrawScene calls it. */
    void fitClipping(irr::scene::ICameraSceneNode* camera);

    /** Copies modes, cameras, trackballs, first-person eye, display preferences and the window
     *  size into the document's view state (made when missing). */
    void SaveViewState();
    /** Takes quaternions, orbit camera positions, ball translation, whole-room flag and the
     *  first-person eye from `state`. */
    void RestoreViewState(const SolidViewState& state);

    /** Client pixel to unit-sphere point for the trackball of this window's size. */
    irr::core::vector3df MapToSphere(int x, int y) const;
    /** Places the first-person camera from the eye, yaw and pitch. */
    void UpdateFirstPersonCamera();
    /** Captures the mouse, hides the cursor and centres it (first person, viewing). */
    void EnterMouseLook();
    /** Leaves mouse look and asks whether to switch to design mode; on yes switches and emits
     *  leftViewing, on no enters mouse look again. */
    void AskLeaveViewing();
    /** The change-top corner within 3 pixels across and 4 down of (x, y), or -1. */
    int HitCorner(int x, int y) const;

    /** Replaces the leave-viewing question (for a test or a hidden run); it returns true for
     *  yes. Null restores the message box. */
    void setLeaveQuestion(std::function<bool()> ask) { leaveQuestion_ = std::move(ask); }

    /** The engine device, or null. */
    irr::IrrlichtDevice* device() const { return device_; }
    /** The driver the engine runs on. */
    DriverKind driverKind() const { return driverKind_; }
    /** The X window the engine draws into: a window of its own over this widget when its
     *  visual differs from the widget's, else the widget's (0 without an X driver). */
    unsigned long engineXWindow() const;
    /** The visual the OpenGL driver draws with; 0 for the other drivers. */
    unsigned long engineVisual() const;
    /** The camera of the current view mode, or null without a device. */
    irr::scene::ICameraSceneNode* activeCamera() const override;
    /** Orbit camera 0 (globe) or 1 (change top), or null. */
    irr::scene::ICameraSceneNode* orbitCamera(int index) const;
    /** The first-person camera, or null. */
    irr::scene::ICameraSceneNode* firstPersonCamera() const { return firstPersonCamera_; }
    /** Trackball 0 (globe) or 1 (change top). */
    const CTrackball& trackball(int index) const { return trackballs_[index & 1]; }
    /** The first-person eye. */
    const CFirstPersonEye& eye() const { return eye_; }
    /** The change-top corner handles. */
    const CChangeTopView& changeTop() const { return changeTop_; }
    /** The change-top pictures. */
    const vs::StaticSamplePictures& samplePictures() const { return samples_; }
    /** The document shown. */
    CSolidDocument& document() const override { return doc_; }
    /** Where design-mode input goes: the design-mode controller unless replaced. */
    DesignInput& designInput() const { return *designInput_; }
    /** Replaces the receiver of design-mode input (null restores a new design-mode controller). */
    void setDesignInput(std::unique_ptr<DesignInput> input);

    // What design-mode editing reaches through DesignView.
    irr::scene::ISceneManager* sceneManager() const override { return smgr_; }
    irr::scene::ICameraSceneNode* globeCamera() const override { return orbitCamera(0); }
    bool ceilingOnly() const override { return viewMode_ == Globe && !displayFull_; }
    QSize clientSize() const override { return size(); }
    QPoint toClient(const QPoint& screenPoint) const override { return mapFromGlobal(screenPoint); }
    void setMouseCapture(bool captured) override;
    QUndoStack* undoStack() const override { return undoStack_; }
    CCandyType* currentPanelType() const override
    {
        return currentPanelType_ ? currentPanelType_() : nullptr;
    }
    const HostCallbacks& hostCallbacks() const override;
    DesignDialogs* dialogs() const override { return dialogs_; }
    QWidget* widget() const override { return const_cast<CSolidWnd*>(this); }
    void showInformation(const QString& text) override;
    Selection& selection() override { return selection_; }

    /** The undo stack design edits go onto (the dialog's); null runs them without undo. */
    void setUndoStack(QUndoStack* stack) { undoStack_ = stack; }
    /** Where the current panel type comes from (the dialog's panel lists). */
    void setCurrentPanelType(std::function<CCandyType*()> current)
    {
        currentPanelType_ = std::move(current);
    }
    /** The setup dialogs the context menus open (not owned; null greys their entries). */
    void setDialogs(DesignDialogs* dialogs) { dialogs_ = dialogs; }
    /** Replaces the information message box (for a test or a hidden run); null restores it. */
    void setInformationSink(std::function<void(const QString&)> sink)
    {
        informationSink_ = std::move(sink);
    }

    /** Hands the engine a foreign X window instead of this widget's own (the hidden picture
     *  export); 0 uses the widget. The device always takes the widget's size. */
    void setEngineWindow(unsigned long xWindow, void* xDisplay);

    /** Qt must not paint over the engine's pixels. */
    QPaintEngine* paintEngine() const override { return nullptr; }

signals:
    /** The user left viewing for design mode through the leave question. */
    void leftViewing();
    /** The scene was (re)built: node pointers held elsewhere must be taken again. */
    void sceneRebuilt();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool createDevice();
    irr::IrrlichtDevice* tryDriver(irr::SIrrlichtCreationParameters p,
                                   irr::video::E_DRIVER_TYPE type, void* display,
                                   unsigned long window);
    bool startOpenGL(const irr::SIrrlichtCreationParameters& p, void* display,
                     unsigned long parent);
    bool startSoftware(const irr::SIrrlichtCreationParameters& p, void* display,
                       unsigned long parent);
    /** Starts a driver on a window of its own with `visual`, made over `parent`. */
    bool startOnChild(const irr::SIrrlichtCreationParameters& p, irr::video::E_DRIVER_TYPE type,
                      void* display, unsigned long parent, unsigned long visual);
    void adopt(irr::IrrlichtDevice* device, DriverKind kind);
    static unsigned long openGLVisual(irr::IrrlichtDevice* device);
    void destroyEngineWindow();
    void createCameras();
    void updateRoomMatrix();
    int orbitIndex() const { return viewMode_ == ChangeTop ? 1 : 0; }
    void globeMouseMove(const QPoint& p);
    void commitTrackball();
    void wheelOrbit(int delta);
    void firstPersonKey(QKeyEvent* event);
    void changeTopKey(QKeyEvent* event);
    void changeTopMouseMove(const QPoint& p);
    /** The module's corner cursor (the hot spot in its middle), or a move cursor without it. */
    static QCursor cornerCursor();
    void uploadSampleTextures(bool all);
    void removeSampleTextures();
    void syncCorners();
    void showPartsForModes();
    void drawContent();
    void drawChangeTop();
    void drawTexture(const char* name, const QRect& dest, const QRect& source);
    QImage frameImage() const;
    void centreCursor();
    void leaveMouseLook();
    bool vividColours() const;
    void undoInversion();

    CSolidDocument& doc_;
    irr::IrrlichtDevice* device_ = nullptr;
    irr::video::IVideoDriver* driver_ = nullptr;
    irr::scene::ISceneManager* smgr_ = nullptr;
    DriverKind driverKind_ = DriverKind::None;
    unsigned long engineWindow_ = 0;
    void* engineDisplay_ = nullptr;
    /** Our own X connection, for the windows made for the engine over this widget. */
    void* xDisplay_ = nullptr;
    /** The engine's window when its visual differs from the one it was to draw on. */
    vs::XChildWindow engineChild_;
    void* engineChildDisplay_ = nullptr;
    std::unique_ptr<QSocketNotifier> xEvents_;
    std::unique_ptr<DesignInput> designInput_;
    QSize engineSize_;

    int workMode_ = Viewing;
    int viewMode_ = Globe;
    bool displayFull_ = true;
    bool showLightPositions_ = false;
    bool clip_ = false;
    bool plainPhoto_ = false;
    /** Set while a change-top frame is drawn for export: no outline, no corner squares. */
    bool exportingFrame_ = false;
    bool builtWithVividColours_ = false;

    irr::scene::ICameraSceneNode* firstPersonCamera_ = nullptr;
    std::array<irr::scene::ICameraSceneNode*, 2> orbitCameras_{};
    std::array<CTrackball, 2> trackballs_;
    irr::core::vector3df centring_;
    CFirstPersonEye eye_;
    CChangeTopView changeTop_;

    bool mouseLook_ = false;
    bool askingToLeave_ = false;
    std::function<bool()> leaveQuestion_;

    QUndoStack* undoStack_ = nullptr;
    std::function<CCandyType*()> currentPanelType_;
    DesignDialogs* dialogs_ = nullptr;
    std::function<void(const QString&)> informationSink_;
    Selection selection_;
    bool mouseCaptured_ = false;

    vs::StaticSamplePictures samples_;
    irr::video::ITexture* markerTexture_ = nullptr;
    irr::video::ITexture* frameTarget_ = nullptr;
};
