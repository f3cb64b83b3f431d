// The number fields of the setup dialogs: how their text is read and how a value is shown.
#pragma once

#include <QString>

namespace vs {

/**
 * Reads a number typed into a dialog field. Leading blanks and tabs are skipped and the number
 * is read as the C library reads a double (always with '.' as the decimal point). The text is
 * not a number when nothing but blanks and tabs may follow it, and something else does; when
 * the value is 0 but the first non-blank character is not '0' ("-0", "+0", ".0", "" are not
 * numbers); or when the value is not finite. Returns true and sets `value` for a number.
 */
bool parseDialogNumber(const QString& text, double& value);

/** The value in fixed-point notation with `decimals` decimals ("%.<decimals>f"). */
QString formatDialogNumber(double value, int decimals);

} // namespace vs
