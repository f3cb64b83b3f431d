// The wait dialog of a render (resource 105, "精细渲染"): "正在渲染，请稍候..." with the render's
// progress and elapsed time. It writes its window id to "Owner.dat" when it opens, and closes
// when the render worker says it has finished, even when that happens before it opened.
// Closing it while the render runs asks whether to stop the render.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace Ui {
class WaitDialog;
}

class CWaitDialog : public QDialog
{
    Q_OBJECT

public:
    /** Text of the question asked when the dialog is closed during a render. */
    static const char* const kStopQuestion;

    explicit CWaitDialog(QWidget* parent = nullptr);
    ~CWaitDialog() override;

    /** Any thread: the finished fraction of the running frame (0..1). */
    void reportProgress(float fraction);
    /** Any thread: the render is over; the dialog closes as soon as its loop runs. */
    void finish();
    /** Any thread: true once the user chose to stop the render. */
    bool stopRequested() const { return stopRequested_.load(); }
    /** True once finish was called. */
    bool finished() const { return finished_.load(); }

    /** Replaces the stop question (tests); it returns true to stop. Null restores it. */
    void setStopQuestion(std::function<bool()> ask) { stopQuestion_ = std::move(ask); }

    /** The window id last written to "Owner.dat" (0 before the dialog opened). */
    uint32_t ownerWindowId() const { return ownerWindowId_; }
    /** The progress bar's value, 0..1000 (tests). */
    int progressValue() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void writeOwnerFile();
    void updateElapsed();
    bool askToStop();

    std::unique_ptr<Ui::WaitDialog> ui_;
    std::atomic<bool> finished_{false};
    std::atomic<bool> stopRequested_{false};
    std::function<bool()> stopQuestion_;
    QElapsedTimer elapsed_;
    QTimer clock_;
    uint32_t ownerWindowId_ = 0;
};
