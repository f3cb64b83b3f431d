// The 3D window hands its input to the design-mode receiver in design mode, and only then.
#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "edit/DesignModeController.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "view/CSolidWnd.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

/** Records the name of every call it gets. */
class RecordingInput : public DesignInput
{
public:
    explicit RecordingInput(std::vector<std::string>& calls) : calls_(calls) {}
    void press(QMouseEvent&) override { calls_.push_back("press"); }
    void move(QMouseEvent&) override { calls_.push_back("move"); }
    void release(QMouseEvent&) override { calls_.push_back("release"); }
    void wheel(QWheelEvent&) override { calls_.push_back("wheel"); }
    void key(QKeyEvent&) override { calls_.push_back("key"); }
    void contextMenu(const QPoint&) override { calls_.push_back("contextMenu"); }
    void dropFacilityModel(const QPoint&, CFacilityModel&) override { calls_.push_back("drop"); }
    void dropCatalogueItem(const QPoint&, CCandyType&, const QSize&) override
    {
        calls_.push_back("drop");
    }

private:
    std::vector<std::string>& calls_;
};

class DesignInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CVantrelSolidApp& app = CVantrelSolidApp::instance();
        app.clearMasterData();
        app.addBuiltIns();
        app.candies.link();
        app.facilities.link();
        doc_ = &vs::openCurrentDocument(std::string()); // the default room
        wnd_ = std::make_unique<CSolidWnd>(*doc_);
        wnd_->setLeaveQuestion([] { return false; });
        wnd_->resize(400, 300);
        wnd_->CreateEngine();
        ASSERT_NE(wnd_->device(), nullptr);
        wnd_->setDesignInput(std::make_unique<RecordingInput>(calls_));
    }

    void TearDown() override
    {
        wnd_.reset();
        vs::closeCurrentDocument();
        CVantrelSolidApp::instance().clearMasterData();
    }

    /** Sends a press, a move, a release, a wheel turn, a key and a context-menu request. */
    void sendEveryKind()
    {
        const QPointF at(200, 150);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent move(QEvent::MouseMove, at + QPointF(30, 0), at + QPointF(30, 0), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at + QPointF(30, 0), at + QPointF(30, 0),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QWheelEvent wheel(at, at, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(200, 150), QPoint(200, 150),
                               Qt::NoModifier);
        for (QEvent* e :
             std::initializer_list<QEvent*>{&press, &move, &release, &wheel, &key, &menu})
            QCoreApplication::sendEvent(wnd_.get(), e);
    }

    CSolidDocument* doc_ = nullptr;
    std::unique_ptr<CSolidWnd> wnd_;
    std::vector<std::string> calls_;
};

TEST_F(DesignInputTest, DesignModeHandsItsInputOnInOrderWhileTheGlobeKeepsTheWheel)
{
    wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::Globe, false);
    sendEveryKind();
    EXPECT_EQ(calls_, (std::vector<std::string>{"press", "move", "release", "key", "contextMenu"}));

    // Without the globe to zoom, the wheel goes on too.
    calls_.clear();
    wnd_->SetModes(CSolidWnd::Designing, CSolidWnd::FirstPerson, false);
    sendEveryKind();
    EXPECT_EQ(calls_, (std::vector<std::string>{"press", "move", "release", "wheel", "key",
                                                "contextMenu"}));
}

TEST_F(DesignInputTest, ViewingKeepsItsInputAndStillTurnsTheRoom)
{
    wnd_->SetModes(CSolidWnd::Viewing, CSolidWnd::Globe, false);
    const Quat4f before = wnd_->trackball(0).rotation();
    sendEveryKind();
    EXPECT_TRUE(calls_.empty());
    EXPECT_FALSE(wnd_->trackball(0).rotation() == before);
}

TEST_F(DesignInputTest, NoReceiverGivesBackADesignModeController)
{
    wnd_->setDesignInput(nullptr);
    EXPECT_NE(dynamic_cast<DesignModeController*>(&wnd_->designInput()), nullptr);
}

} // namespace
