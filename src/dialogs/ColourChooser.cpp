#include "dialogs/ColourChooser.h"

#include <QColorDialog>

namespace vs {
namespace {

std::function<std::optional<QColor>(const QColor&)>& chooserHook()
{
    static std::function<std::optional<QColor>(const QColor&)> hook;
    return hook;
}

} // namespace

std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial)
{
    if (chooserHook())
        return chooserHook()(initial);
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

void setColourChooser(std::function<std::optional<QColor>(const QColor&)> chooser)
{
    chooserHook() = std::move(chooser);
}

QColor colourOfColorRef(int colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

int colorRefOfColour(const QColor& colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

} // namespace vs
