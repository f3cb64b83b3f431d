// The render parameters dialog and the render's wait dialog.
#include "dialogs/CRenderParamsDialog.h"
#include "dialogs/CWaitDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(RenderParamsDialogTest, ShowsTheSettingsAndOkReadsThemBack)
{
    CRenderParamsDialog dialog(37, false);
    auto* slider = dialog.findChild<QSlider*>("brightnessSlider");
    auto* value = dialog.findChild<QLabel*>("brightnessValue");
    auto* shadows = dialog.findChild<QCheckBox*>("shadowsCheck");
    auto* rayTrace = dialog.findChild<QCheckBox*>("rayTraceShadowsCheck");
    ASSERT_TRUE(slider && value && shadows && rayTrace);
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(value->text(), "37");
    EXPECT_FALSE(shadows->isChecked());
    EXPECT_FALSE(rayTrace->isEnabled());
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("渲染"));
    slider->setValue(80);
    EXPECT_EQ(value->text(), "80");
    shadows->setChecked(true);
    EXPECT_EQ(dialog.brightness(), 80);
    EXPECT_TRUE(dialog.renderShadows());
}

class WaitDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = QDir::currentPath();
        ASSERT_TRUE(dir.isValid());
        QDir::setCurrent(dir.path());
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QTemporaryDir dir;
    QString previous;
};

TEST_F(WaitDialogTest, WorkerFinishingBeforeTheLoopStillClosesItAndOwnerDatHoldsTheWindow)
{
    CWaitDialog wait;
    std::thread worker([&] { wait.finish(); });
    worker.join(); // finished before exec
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(5000, &wait, [&] { wait.done(QDialog::Rejected); }); // a safety net
    EXPECT_EQ(wait.exec(), QDialog::Accepted);
    EXPECT_LT(clock.elapsed(), 4000);
    QFile owner(dir.path() + "/Owner.dat");
    ASSERT_TRUE(owner.open(QIODevice::ReadOnly));
    const QByteArray bytes = owner.readAll();
    ASSERT_EQ(bytes.size(), 4);
    const uint32_t id = wait.ownerWindowId();
    EXPECT_NE(id, 0u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), id & 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[3]), (id >> 24) & 0xFF);
}

TEST_F(WaitDialogTest, ClosingWhileRenderingAsksAndStopsOnlyOnYes)
{
    CWaitDialog wait;
    int asked = 0;
    bool answer = false;
    wait.setStopQuestion([&] {
        ++asked;
        return answer;
    });
    wait.show();
    wait.close();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(wait.isVisible());
    EXPECT_FALSE(wait.stopRequested());
    answer = true;
    wait.close();
    EXPECT_TRUE(wait.stopRequested());
    EXPECT_TRUE(wait.isVisible()) << "it stays until the render has stopped";
    wait.reportProgress(0.25f);
    wait.finish();
    QApplication::processEvents();
    EXPECT_EQ(wait.progressValue(), 250);
    EXPECT_FALSE(wait.isVisible());
}

} // namespace
