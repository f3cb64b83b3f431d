// The design dialog's mode radios and check boxes, the change-top sample request, Escape, the
// maximise button and the design run around the dialog.
#include "DialogTestFixture.h"

#include "document/CGridMapping.h"
#include "document/SolidCeiling.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <unistd.h>

using dialogtest::DialogTest;
using dialogtest::hostLog;

namespace {

const QColor kBlue(0, 0, 255);

bool isBlue(const QRadioButton* radio)
{
    return radio->palette().color(QPalette::WindowText) == kBlue;
}

/** A disabled radio draws its text in the disabled grey, not in an enabled colour. */
void expectGreyedOut(const QRadioButton* radio)
{
    EXPECT_FALSE(radio->isEnabled());
    const QPalette& p = radio->palette();
    const QColor text = p.color(QPalette::Disabled, QPalette::WindowText);
    EXPECT_EQ(text, radio->window()->palette().color(QPalette::Disabled, QPalette::WindowText));
    EXPECT_NE(text, p.color(QPalette::Active, QPalette::WindowText));
    EXPECT_NE(text, kBlue);
}

/** Keeps a picture of the dialog in build/pixels/ to be looked at. */
void keepPicture(QWidget& dialog, const char* name)
{
    const QString dir = QStringLiteral(VS_TEST_BINARY_DIR "/pixels");
    QDir().mkpath(dir);
    dialog.grab().save(dir + QStringLiteral("/") + QLatin1String(name) + QStringLiteral(".png"));
}

} // namespace

TEST_F(DialogTest, ModeRadiosSetTheWindowsModesAndTheActiveTextIsBlue)
{
    CVantrelSolidView& view = openDialog();
    auto* design = child<QRadioButton>("designRadio");
    auto* globe = child<QRadioButton>("globeRadio");
    auto* firstPerson = child<QRadioButton>("firstPersonRadio");
    CSolidWnd* wnd = view.solidWnd();

    // Without a saved view state: globe viewing of the whole room.
    EXPECT_TRUE(globe->isChecked());
    EXPECT_EQ(wnd->workMode(), 4);
    EXPECT_EQ(wnd->viewMode(), 4);
    EXPECT_TRUE(wnd->displayFull());
    EXPECT_TRUE(isBlue(globe));
    EXPECT_FALSE(isBlue(design));

    design->click();
    EXPECT_EQ(wnd->workMode(), 5);
    EXPECT_EQ(wnd->viewMode(), 4) << "design keeps the camera";
    EXPECT_TRUE(isBlue(design));
    EXPECT_FALSE(isBlue(globe));

    firstPerson->click();
    EXPECT_EQ(wnd->workMode(), 4);
    EXPECT_EQ(wnd->viewMode(), 5);
    EXPECT_TRUE(isBlue(firstPerson));

    // Design from first person keeps the first-person camera.
    design->click();
    EXPECT_EQ(wnd->workMode(), 5);
    EXPECT_EQ(wnd->viewMode(), 5);
}

TEST_F(DialogTest, WholeRoomBoxIsTheUsersOnlyInGlobeViewingAndTickedInFirstPerson)
{
    CVantrelSolidView& view = openDialog();
    auto* full = child<QCheckBox>("displayFullCheck");
    CSolidWnd* wnd = view.solidWnd();

    EXPECT_TRUE(full->isEnabled());
    full->click();
    EXPECT_FALSE(wnd->displayFull());
    EXPECT_FALSE(view.displayFull());

    child<QRadioButton>("firstPersonRadio")->click();
    EXPECT_FALSE(full->isEnabled());
    EXPECT_TRUE(full->isChecked()) << "first person always shows the whole room";

    // The tick shown in first person must not leak back into the globe view.
    child<QRadioButton>("globeRadio")->click();
    EXPECT_TRUE(full->isEnabled());
    EXPECT_FALSE(full->isChecked());
    EXPECT_FALSE(wnd->displayFull());

    child<QRadioButton>("designRadio")->click();
    EXPECT_FALSE(full->isEnabled());
}

TEST_F(DialogTest, DisplayBoxesReachTheWindowAndTheViewState)
{
    CVantrelSolidView& view = openDialog();
    CSolidDocument& doc = *vs::currentDocument();
    child<QCheckBox>("lightPositionsCheck")->click();
    EXPECT_TRUE(view.solidWnd()->showLightPositions());
    // A later mode change keeps the markers.
    child<QRadioButton>("designRadio")->click();
    EXPECT_TRUE(view.solidWnd()->showLightPositions());

    child<QCheckBox>("invertTopCheck")->click();
    ASSERT_TRUE(doc.viewState);
    EXPECT_TRUE(doc.viewState->invertTop);
    child<QCheckBox>("invertTopCheck")->click();
    EXPECT_FALSE(doc.viewState->invertTop);
    EXPECT_FALSE(doc.inverted) << "inverted twice is upright again";

    child<QCheckBox>("vividColoursCheck")->click();
    EXPECT_TRUE(doc.viewState->gammaCorrection);
}

TEST_F(DialogTest, ModesComeFromTheSavedViewStateAndBadValuesFallBackToGlobe)
{
    vs::openCurrentDocument(std::string());
    CSolidDocument& doc = *vs::currentDocument();
    doc.viewState = std::make_unique<SolidViewState>();
    doc.viewState->workMode = 5;
    doc.viewState->viewMode = 5;
    doc.viewState->displayFull = false;
    doc.viewState->invertTop = true;
    doc.viewState->gammaCorrection = true;
    openDialog(false);
    EXPECT_TRUE(child<QRadioButton>("designRadio")->isChecked());
    EXPECT_EQ(view_->viewMode(), 5);
    EXPECT_TRUE(child<QCheckBox>("invertTopCheck")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("vividColoursCheck")->isChecked());
    view_.reset();

    // A change-top state without a sample, and nonsense values, start in globe viewing.
    doc.viewState->workMode = 4;
    doc.viewState->viewMode = 6;
    openDialog(false);
    EXPECT_TRUE(child<QRadioButton>("globeRadio")->isChecked());
    view_.reset();
    doc.viewState->workMode = 77;
    doc.viewState->viewMode = -3;
    openDialog(false);
    EXPECT_EQ(view_->workMode(), 4);
    EXPECT_EQ(view_->viewMode(), 4);
}

TEST_F(DialogTest, ChangeTopWithoutASampleFromTheHostSelectsThePreviousModeAgain)
{
    CVantrelSolidView& view = openDialog();
    child<QRadioButton>("designRadio")->click();
    auto* changeTop = child<QRadioButton>("changeTopRadio");
    changeTop->click();

    ASSERT_EQ(hostLog().chooseStaticSample, std::vector<int>{1});
    EXPECT_EQ(vs::currentDocument()->staticSolidSampleId, 0);
    EXPECT_FALSE(changeTop->isChecked());
    EXPECT_TRUE(child<QRadioButton>("designRadio")->isChecked());
    EXPECT_EQ(view.solidWnd()->workMode(), 5);
    EXPECT_EQ(view.solidWnd()->viewMode(), 4);
    EXPECT_FALSE(child<QCheckBox>("clipCheck")->isVisible());
}

TEST_F(DialogTest, ChangeTopWithASampleShowsClipAndPhotoAndDisablesDesign)
{
    hostLog().sampleToApply = 9;
    CVantrelSolidView& view = openDialog();
    auto* clip = child<QCheckBox>("clipCheck");
    auto* photo = child<QCheckBox>("photoCheck");
    EXPECT_FALSE(clip->isVisible());
    EXPECT_FALSE(photo->isVisible());

    child<QRadioButton>("changeTopRadio")->click();
    EXPECT_EQ(hostLog().chooseStaticSample, std::vector<int>{1});
    EXPECT_EQ(view.solidWnd()->viewMode(), 6);
    EXPECT_TRUE(clip->isVisible());
    EXPECT_TRUE(photo->isVisible());
    expectGreyedOut(child<QRadioButton>("designRadio"));
    EXPECT_FALSE(child<QCheckBox>("displayFullCheck")->isEnabled());
    keepPicture(view, "dialog-change-top");

    clip->click();
    EXPECT_TRUE(view.solidWnd()->clip());
    photo->click();
    EXPECT_TRUE(view.solidWnd()->plainPhoto());

    // With a sample in place the host is not asked again.
    child<QRadioButton>("globeRadio")->click();
    child<QRadioButton>("changeTopRadio")->click();
    EXPECT_EQ(hostLog().chooseStaticSample.size(), 1u);
    EXPECT_EQ(view.solidWnd()->viewMode(), 6);
}

TEST_F(DialogTest, TemplateButtonTellsTheHostWhetherChangeTopIsSelected)
{
    openDialog();
    auto* button = child<QPushButton>("templateButton");
    button->click();
    vs::currentDocument()->staticSolidSampleId = 3;
    child<QRadioButton>("changeTopRadio")->click();
    button->click();
    EXPECT_EQ(hostLog().chooseStaticSample, (std::vector<int>{0, 1}));
}

TEST_F(DialogTest, ChangeTopIsDisabledWhenTheCeilingHasSubElements)
{
    vs::openCurrentDocument(std::string());
    CSolidDocument& doc = *vs::currentDocument();
    if (!doc.ceiling || !doc.ceiling->root)
        GTEST_SKIP() << "the default room has no ceiling plane";
    doc.ceiling->root->children.push_back(
        std::make_unique<CGridMapping>(doc.ceiling.get(), doc.ceiling->root.get()));
    CVantrelSolidView& view = openDialog(false);
    expectGreyedOut(child<QRadioButton>("changeTopRadio"));
    child<QRadioButton>("designRadio")->click(); // the mode texts are set again on each change
    expectGreyedOut(child<QRadioButton>("changeTopRadio"));
    keepPicture(view, "dialog-sub-planes");
}

TEST_F(DialogTest, EscapeNeverClosesTheDialogAndAsksToLeaveFirstPerson)
{
    CVantrelSolidView& view = openDialog();
    int rejected = 0;
    QObject::connect(&view, &QDialog::rejected, [&rejected] { ++rejected; });
    child<QRadioButton>("designRadio")->click();

    dialogtest::keyClick(&view, Qt::Key_Escape);
    dialogtest::keyClick(child<QComboBox>("classificationCombo"), Qt::Key_Escape);
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(rejected, 0);
    EXPECT_EQ(leaveQuestions_, 0) << "design mode has nothing to leave";

    child<QRadioButton>("firstPersonRadio")->click();
    leaveAnswer_ = false;
    dialogtest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(leaveQuestions_, 1);
    EXPECT_TRUE(child<QRadioButton>("firstPersonRadio")->isChecked());

    leaveAnswer_ = true;
    dialogtest::keyClick(child<QComboBox>("classificationCombo"), Qt::Key_Escape);
    EXPECT_EQ(leaveQuestions_, 2);
    EXPECT_TRUE(child<QRadioButton>("designRadio")->isChecked());
    EXPECT_EQ(view.workMode(), 5);
    EXPECT_EQ(view.solidWnd()->workMode(), 5);
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(rejected, 0);
}

TEST_F(DialogTest, MaximiseButtonTogglesAndNamesTheOtherState)
{
    CVantrelSolidView& view = openDialog();
    auto* button = child<QPushButton>("maximiseButton");
    EXPECT_EQ(button->text(), QString::fromUtf8("窗口最大化"));
    button->click();
    dialogtest::wait(20);
    EXPECT_TRUE(view.isMaximized());
    EXPECT_EQ(button->text(), QString::fromUtf8("标准窗口"));
    button->click();
    dialogtest::wait(20);
    EXPECT_FALSE(view.isMaximized());
    EXPECT_EQ(button->text(), QString::fromUtf8("窗口最大化"));

    // A maximise that does not come from the button keeps the text in step too.
    view.showMaximized();
    dialogtest::wait(20);
    EXPECT_EQ(button->text(), QString::fromUtf8("标准窗口"));
}

TEST_F(DialogTest, ResizingRebuildsTheEngineForTheNewSize)
{
    CVantrelSolidView& view = openDialog();
    dialogtest::wait(20);
    CSolidWnd* wnd = view.solidWnd();
    const QSize before = wnd->size();
    view.resize(800, 560);
    dialogtest::wait(20);
    EXPECT_NE(wnd->size(), before);
    if (wnd->device() == nullptr)
        GTEST_SKIP() << "no engine device on this platform";
    const auto size = wnd->device()->getVideoDriver()->getScreenSize();
    EXPECT_EQ(int(size.Width), wnd->width());
    EXPECT_EQ(int(size.Height), wnd->height());
}

TEST_F(DialogTest, DesignRunBuildsTheDialogOnTheDocumentAndLetsGoOfIt)
{
    CVantrelSolidApp::instance().candies.link();
    CVantrelSolidApp::instance().facilities.link();
    CSolidDocument& doc = vs::openCurrentDocument(std::string());
    // Without a screen the run cannot wait for a user: it builds the dialog and returns. On a
    // screen the modal dialog runs until the user (here a timer) closes it.
    int closed = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&closed, &doc] {
        if (auto* shown = qobject_cast<CVantrelSolidView*>(QApplication::activeModalWidget())) {
            EXPECT_EQ(doc.view, shown);
            shown->reject();
            ++closed;
        }
    });
    closer.start(50);
    vs::runDesignDialog(false);
    const bool headless = QGuiApplication::platformName() == QLatin1String("offscreen");
    EXPECT_EQ(closed, headless ? 0 : 1);
    EXPECT_EQ(doc.view, nullptr);
    vs::runDesignDialog(true);
    EXPECT_EQ(doc.view, nullptr);
    EXPECT_FALSE(vs::serialiseCurrentDocument().empty());

    vs::closeCurrentDocument();
    vs::runDesignDialog(false); // no document: nothing to show
}

TEST_F(DialogTest, AnExportThatFailsSaysWhyAndWritesNothing)
{
    openDialog();
    const QString dir = QDir::temp().filePath(QStringLiteral("vs-export-fail-%1").arg(getpid()));
    QDir(dir).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir));

    // The null driver of the offscreen platform draws no frame, so there is nothing to write.
    QString warning;
    QTimer::singleShot(0, [&] {
        auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (files == nullptr)
            return;
        files->setDirectory(dir);
        if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(QStringLiteral("room"));
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                warning = box->text();
                box->done(QMessageBox::Ok);
            }
        });
        static_cast<QDialog*>(files)->accept();
    });
    child<QPushButton>("exportPictureButton")->click();

    EXPECT_TRUE(warning.startsWith(QStringLiteral("图片未能导出："))) << warning.toStdString();
    EXPECT_GT(warning.size(), 8) << "the reason follows";
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/room.jpg")));
    QDir(dir).removeRecursively();
}

TEST_F(DialogTest, ExportPictureAsksBeforeReplacingAFileNamedWithoutItsSuffix)
{
    openDialog();
    const QString dir = QDir::temp().filePath(QStringLiteral("vs-export-%1").arg(getpid()));
    QDir(dir).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString existing = dir + QStringLiteral("/pic.jpg");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept");
    }

    QString dialogSuffix;
    QString question;
    bool stillAsking = false;
    // The user types "pic" and accepts; the question that follows is answered No.
    QTimer::singleShot(0, [&] {
        auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (files == nullptr)
            return;
        dialogSuffix = files->defaultSuffix();
        files->setDirectory(dir);
        if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(QStringLiteral("pic"));
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question = box->text();
                box->done(QMessageBox::No);
            }
        });
        static_cast<QDialog*>(files)->accept(); // as the Save button does
        stillAsking = files->isVisible();
        files->reject();
    });
    child<QPushButton>("exportPictureButton")->click();

    EXPECT_EQ(dialogSuffix, QStringLiteral("jpg"));
    EXPECT_TRUE(question.contains(QStringLiteral("pic.jpg"))) << question.toStdString();
    EXPECT_TRUE(stillAsking) << "No keeps the file dialog open";
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("kept"));
    QDir(dir).removeRecursively();
}
