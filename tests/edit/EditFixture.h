// The shared fixture of the design-editing tests: a bundled design read with the bundled pack,
// shown in a real 3D window on the engine's null device (offscreen platform) in design mode,
// with an undo stack, a current panel type, and a test host that records every ceiling call
// and mirrors it into its own copy of the design, as the reference host does.
#pragma once

#include "CataloguePack.h"
#include "HostDesign.h"
#include "PackCatalogue.h"

#include "document/CSolidDocument.h"
#include "view/CSolidWnd.h"

#include <QPoint>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <memory>
#include <string>
#include <vector>

namespace edittest {

/** What the test host was told, and how it answers. */
struct TestHost
{
    /** Every ceiling call in order, e.g. "MoveCeilingHost 1 11 2 -1". */
    std::vector<std::string> calls;
    /** MoveCeilingHost answers this (non-zero accepts). */
    int acceptMoves = 1;
    /** The host's own design, mirroring every reported edit; null before a design is open. */
    std::unique_ptr<vhost::HostDesign> design;
    /** Texts the module showed the user. */
    std::vector<std::string> information;
};

/** The test host of the running test. */
TestHost& testHost();

class EditFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /** Reads data/designs/<name>.xml with the bundled pack and shows it in a `size` window in
     *  design mode, globe view, whole room. */
    void open(const std::string& name, QSize size = {800, 600});

    CSolidWnd& wnd() const { return *wnd_; }
    CSolidDocument& doc() const { return *doc_; }
    QUndoStack& stack() const { return *stack_; }
    testsupport::PackCatalogue& catalogue() const { return *catalogue_; }

    /** Makes the panel type with `typeId` the dialog's current panel type (0: none). */
    void setCurrentPanelType(int typeId);

    // Real mouse input delivered to the window as the window system would deliver it.
    void press(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void moveTo(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void release(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    /** Press at `from`, `steps` moves to `to`, release there. */
    void drag(QPoint from, QPoint to, int steps = 4);
    /** A key press and release with modifiers, sent to the window. */
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    /** The client pixel at which room point `room` (facility and light coordinates) is seen
     *  through the active camera. */
    QPoint clientOf(const irr::core::vector3df& room) const;
    /** Room point of plan point (x, y) at `height` (plan minus the room's plan origin). */
    irr::core::vector3df roomOfPlan(double x, double y, double height) const;

    /** Switches to the first-person view with the eye at room point `eye` looking at `at`. */
    void lookFrom(const irr::core::vector3df& eye, const irr::core::vector3df& at);
    /** Puts the active camera (whatever the view) at room point `eye` looking at `at`. */
    void aimCamera(const irr::core::vector3df& eye, const irr::core::vector3df& at);

    /** The document's written solid element. */
    std::string solidText() const;
    /** The host's design text (its ceiling layout and items). */
    std::string hostText() const;
    /** Tiles and hosts of the document's root plane as sorted text, e.g. "t 1101 0 0 3 4". */
    std::string ceilingItems() const;
    /** The same of the host's design. */
    std::string hostItems() const;

private:
    std::unique_ptr<testsupport::PackCatalogue> catalogue_;
    std::unique_ptr<CSolidDocument> doc_;
    std::unique_ptr<QUndoStack> stack_;
    std::unique_ptr<CSolidWnd> wnd_;
    HostCallbacks savedCallbacks_;
    int currentPanelType_ = 0;
};

} // namespace edittest
