// The render parameters dialog (resource 106, "渲染"): the light brightness on a slider with
// its value beside it, and whether to render shadows.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class RenderParamsDialog;
}

class CRenderParamsDialog : public QDialog
{
    Q_OBJECT

public:
    /** Shows `brightness` (0..100) and `renderShadows`; nothing changes until OK. */
    CRenderParamsDialog(int brightness, bool renderShadows, QWidget* parent = nullptr);
    ~CRenderParamsDialog() override;

    /** The slider's position (the brightness OK stores). */
    int brightness() const;
    /** Whether the shadows box is ticked. */
    bool renderShadows() const;

private:
    void showValue(int value);

    std::unique_ptr<Ui::RenderParamsDialog> ui_;
};
