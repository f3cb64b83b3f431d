#include "dialogs/CWaitDialog.h"

#include "ui/ui_WaitDialog.h"

#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <cstdint>

const char* const CWaitDialog::kStopQuestion = "停止渲染吗？";

CWaitDialog::CWaitDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::WaitDialog>())
{
    ui_->setupUi(this);
    clock_.setInterval(500);
    connect(&clock_, &QTimer::timeout, this, &CWaitDialog::updateElapsed);
}

CWaitDialog::~CWaitDialog() = default;

void CWaitDialog::reportProgress(float fraction)
{
    if (!std::isfinite(fraction))
        return;
    const int value = static_cast<int>(std::lround(std::clamp(fraction, 0.0f, 1.0f) * 1000));
    QMetaObject::invokeMethod(
        this, [this, value] { ui_->progressBar->setValue(value); }, Qt::QueuedConnection);
}

void CWaitDialog::finish()
{
    finished_ = true;
    // Queued: delivered by the dialog's own loop, or at once by showEvent when the render
    // ended before the loop started.
    QMetaObject::invokeMethod(
        this, [this] { done(Accepted); }, Qt::QueuedConnection);
}

int CWaitDialog::progressValue() const
{
    return ui_->progressBar->value();
}

void CWaitDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    writeOwnerFile();
    elapsed_.start();
    clock_.start();
    if (finished_)
        QTimer::singleShot(0, this, [this] { done(Accepted); });
}

void CWaitDialog::writeOwnerFile()
{
    // The native window id, 32-bit little-endian, in the current directory (the render folder).
    const auto id = static_cast<uint32_t>(winId());
    ownerWindowId_ = id;
    const char bytes[4] = {char(id & 0xFF), char((id >> 8) & 0xFF), char((id >> 16) & 0xFF),
                           char((id >> 24) & 0xFF)};
    QFile file(QStringLiteral("Owner.dat"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes, 4);
}

void CWaitDialog::updateElapsed()
{
    const qint64 seconds = elapsed_.elapsed() / 1000;
    ui_->elapsedLabel->setText(
        QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

bool CWaitDialog::askToStop()
{
    if (stopQuestion_)
        return stopQuestion_();
    return QMessageBox::question(this, QString(), QString::fromUtf8(kStopQuestion)) ==
           QMessageBox::Yes;
}

void CWaitDialog::closeEvent(QCloseEvent* event)
{
    if (finished_) {
        QDialog::closeEvent(event);
        return;
    }
    // The render goes on until it stops cleanly; the worker's finish closes the dialog.
    event->ignore();
    if (!stopRequested_ && askToStop()) {
        stopRequested_ = true;
        ui_->waitText->setText(QStringLiteral("正在停止..."));
    }
}

void CWaitDialog::reject()
{
    // Escape behaves as the close button.
    if (finished_) {
        QDialog::reject();
        return;
    }
    close();
}
