#include "dialogs/DialogNumbers.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace vs {
namespace {

/** The "C" numeric locale, so that the host's locale never turns '.' into something else. */
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    return c;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

bool parseDialogNumber(const QString& text, double& value)
{
    const QByteArray bytes = text.toUtf8();
    const char* p = bytes.constData();
    while (isBlank(*p))
        ++p;
    char* end = nullptr;
    const double v = strtod_l(p, &end, cLocale());
    if (v == 0 && *p != '0')
        return false;
    while (isBlank(*end))
        ++end;
    if (*end != '\0' || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

QString formatDialogNumber(double value, int decimals)
{
    // The C library's rounding (ties of exact binary values to even), always with '.'.
    const locale_t previous = uselocale(cLocale());
    char text[512];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    uselocale(previous);
    return QString::fromLatin1(text);
}

} // namespace vs
