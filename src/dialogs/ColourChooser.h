// Choosing a colour in the setup dialogs: the platform's colour dialog, fully open, or, for
// tests and hidden runs, a function that answers instead. Also the COLORREF layout the
// preferences and lights keep colours in (red in the low byte).
#pragma once

#include <QColor>

#include <functional>
#include <optional>

class QWidget;

namespace vs {

/** Opens the colour dialog on `initial`; the chosen colour, or nothing on Cancel. */
std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial);

/** Replaces the colour dialog; an empty function restores it. */
void setColourChooser(std::function<std::optional<QColor>(const QColor& initial)> chooser);

/** The colour of a COLORREF value: red = value & 0xFF, green the next byte, blue the third. */
QColor colourOfColorRef(int colorRef);
/** The COLORREF value of a colour (alpha dropped). */
int colorRefOfColour(const QColor& colour);

} // namespace vs
