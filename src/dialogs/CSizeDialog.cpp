#include "dialogs/CSizeDialog.h"

#include "dialogs/DialogMessage.h"
#include "dialogs/DialogNumbers.h"

#include "ui/ui_SizeDialog.h"

namespace {

const char* const kWidthError = "宽输入错误！";
const char* const kHeightError = "高输入错误！";
/** Sizes beyond 1000 m (in decimillimetres) are refused. */
constexpr double kLargest = 1000.0 * 10000.0;

struct UseInfo
{
    const char* title;
    int divisor;
    int decimals;
    bool showAllWalls;
};

UseInfo infoOf(CSizeDialog::Use use)
{
    switch (use) {
    case CSizeDialog::Use::WallTiles:
        return {"瓷砖尺寸", 100, 1, true};
    case CSizeDialog::Use::DoorsAndWindows:
        return {"门窗尺寸", 100, 0, false};
    case CSizeDialog::Use::FloorTiles:
        break;
    }
    return {"地砖尺寸", 10, 1, false};
}

} // namespace

CSizeDialog::CSizeDialog(Use use, int width, int height, QWidget* parent)
    : CSizeDialog(QString::fromUtf8(infoOf(use).title), width, height, infoOf(use).divisor,
                  infoOf(use).decimals, infoOf(use).showAllWalls, parent)
{
}

CSizeDialog::CSizeDialog(const QString& title, int width, int height, int divisor, int decimals,
                         bool showAllWalls, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SizeDialog>()), width_(width), height_(height),
      divisor_(divisor > 0 ? divisor : 1)
{
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ui_->sizeGroup->setTitle(title);
    ui_->widthEdit->setText(sizeText(width, divisor_, decimals));
    ui_->heightEdit->setText(sizeText(height, divisor_, decimals));
    ui_->allWallsCheck->setVisible(showAllWalls);
    ui_->widthEdit->setFocus(Qt::OtherFocusReason);
}

CSizeDialog::~CSizeDialog() = default;

QString CSizeDialog::sizeText(int size, int divisor, int decimals)
{
    const bool whole = size % divisor == 0;
    return vs::formatDialogNumber(static_cast<double>(size) / divisor, whole ? 0 : decimals);
}

std::optional<int> CSizeDialog::readField(QLineEdit* edit, const char* message)
{
    double v = 0;
    if (vs::parseDialogNumber(edit->text(), v) && v > 0 && v * divisor_ <= kLargest)
        // Truncated to whole units; the nudge keeps a typed 0.29 from becoming 2.8999... x 10.
        return static_cast<int>(divisor_ * v * (1 + 1e-12));
    vs::showDialogMessage(this, QString::fromUtf8(message), vs::DialogMessageStyle::Exclamation);
    edit->setFocus(Qt::OtherFocusReason);
    return std::nullopt;
}

void CSizeDialog::accept()
{
    const std::optional<int> width = readField(ui_->widthEdit, kWidthError);
    if (!width)
        return;
    const std::optional<int> height = readField(ui_->heightEdit, kHeightError);
    if (!height)
        return;
    width_ = *width;
    height_ = *height;
    allWalls_ = ui_->allWallsCheck->isChecked();
    QDialog::accept();
}

namespace vs {

std::optional<SizeAnswer> askSize(CSizeDialog::Use use, int width, int height, QWidget* parent)
{
    CSizeDialog dialog(use, width, height, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return SizeAnswer{dialog.width(), dialog.height(), dialog.allWalls()};
}

} // namespace vs
