// The design dialog's bridge from the context menus' size entries to the size dialog: the
// dialog opens with the size in use, and its OK is one undo step that undo takes back.
#include "ceiling/SolidWriter.h"
#include "dialogs/CSizeDialog.h"
#include "document/CSolidDocument.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "view/CDesignDialogs.h"
#include "view/CSolidWnd.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTimer>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <memory>

namespace {

class DesignDialogsBridgeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CVantrelSolidApp& app = CVantrelSolidApp::instance();
        app.clearMasterData();
        app.addBuiltIns();
        app.candies.link();
        app.facilities.link();
        doc_ = &vs::openCurrentDocument(
            "<design name=\"room\" squareRoom=\"true\" gridWidth=\"3000\" gridHeight=\"3000\" "
            "outlinePoints=\"0,0 40000,0 40000,30000 0,30000\" realGridOffset=\"0,0\"/>");
        wnd_ = std::make_unique<CSolidWnd>(*doc_);
        wnd_->setUndoStack(&stack_);
        wnd_->resize(400, 300);
        wnd_->CreateEngine();
        dialogs_ = std::make_unique<CDesignDialogs>(*wnd_, &stack_, nullptr);
        ASSERT_GE(doc_->walls.size(), 2u);
    }

    void TearDown() override
    {
        stack_.clear();
        dialogs_.reset();
        wnd_.reset();
        vs::closeCurrentDocument();
        CVantrelSolidApp::instance().clearMasterData();
    }

    /** Answers the next size dialog: records what it showed, types `width` and `height`,
     *  ticks "修改所有墙面" when asked, and presses OK (or Cancel). */
    void answerSizeDialog(const QString& width, const QString& height, bool allWalls = false,
                          bool ok = true)
    {
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<CSizeDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no size dialog";
                return;
            }
            title_ = dialog->findChild<QGroupBox*>("sizeGroup")->title();
            auto* w = dialog->findChild<QLineEdit*>("widthEdit");
            auto* h = dialog->findChild<QLineEdit*>("heightEdit");
            shown_ = w->text() + " x " + h->text();
            w->setText(width);
            h->setText(height);
            if (allWalls)
                dialog->findChild<QCheckBox*>("allWallsCheck")->setChecked(true);
            ok ? dialog->accept() : dialog->reject();
        });
    }

    CSolidDocument* doc_ = nullptr;
    QUndoStack stack_;
    std::unique_ptr<CSolidWnd> wnd_;
    std::unique_ptr<CDesignDialogs> dialogs_;
    QString title_;
    QString shown_;
};

TEST_F(DesignDialogsBridgeTest, TileSizesOfOneWallOrOfEveryWallAreOneStep)
{
    CWall& wall = *doc_->walls[0];
    CWallPart& part = *wall.wallParts[0];
    const IntSize before = doc_->walls[1]->wallParts[0]->ceramicTileSize;
    const std::string start = vs::writeSolid(*doc_);

    answerSizeDialog("45", "15");
    dialogs_->wallTileSize(wall, part);
    EXPECT_EQ(title_, QStringLiteral("瓷砖尺寸"));
    EXPECT_EQ(part.ceramicTileSize, (IntSize{4500, 1500}));
    EXPECT_EQ(doc_->walls[1]->wallParts[0]->ceramicTileSize, before);
    ASSERT_EQ(stack_.count(), 1);
    EXPECT_EQ(stack_.undoText(), QStringLiteral("瓷砖尺寸"));

    answerSizeDialog("20", "20", true);
    dialogs_->wallTileSize(wall, part);
    for (const auto& w : doc_->walls)
        EXPECT_EQ(w->wallParts[0]->ceramicTileSize, (IntSize{2000, 2000}));
    stack_.undo();
    stack_.undo();
    EXPECT_EQ(vs::writeSolid(*doc_), start);

    answerSizeDialog("99", "99", false, false); // Cancel: no step
    dialogs_->wallTileSize(wall, part);
    EXPECT_EQ(stack_.index(), 0);
}

TEST_F(DesignDialogsBridgeTest, DoorAndFloorSizesShowTheSizeInUseAndAreOneStep)
{
    CWall& wall = *doc_->walls[1];
    auto flat = std::make_unique<CFlatFacility>();
    flat->flatSize = IntSize{9000, 21000};
    flat->position = RPoint{5000, -21000};
    CFlatFacility& door = *flat;
    wall.flatFacilities.push_back(std::move(flat));
    const std::string start = vs::writeSolid(*doc_);

    answerSizeDialog("80", "200");
    dialogs_->doorWindowSize(wall, door);
    EXPECT_EQ(title_, QStringLiteral("门窗尺寸"));
    EXPECT_EQ(shown_, QStringLiteral("90 x 210"));
    EXPECT_EQ(door.flatSize, (IntSize{8000, 20000}));

    ASSERT_TRUE(doc_->floor);
    answerSizeDialog("400", "400");
    dialogs_->floorTileSize();
    EXPECT_EQ(title_, QStringLiteral("地砖尺寸"));
    EXPECT_EQ(doc_->floor->ceramicTileSize, (IntSize{4000, 4000}));
    EXPECT_NE(doc_->floor->scene, nullptr);
    EXPECT_EQ(stack_.count(), 2);
    stack_.undo();
    stack_.undo();
    EXPECT_EQ(vs::writeSolid(*doc_), start);
}

} // namespace
