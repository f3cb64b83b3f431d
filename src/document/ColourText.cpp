#include "ColourText.h"

#include "HexDigit.h"
#include "PointText.h"
#include "platform/Errors.h"
#include "platform/QuotedValue.h"

#include <cmath>
#include <cstring>
#include <string>

namespace vs {
namespace {

// The low 8 bits of the number truncated to an integer, computed without a float-to-int
// conversion so that values beyond the integer range cannot overflow.
uint32_t lowByte(double value)
{
    if (!std::isfinite(value))
        return 0;
    double byte = std::fmod(std::trunc(value), 256.0);
    if (byte < 0)
        byte += 256.0;
    return static_cast<uint32_t>(byte);
}

bool hasRgbPrefix(const char* text)
{
    static const char prefix[] = "rgb(";
    for (int i = 0; i < 4; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

uint32_t parseRgb(const char* text)
{
    std::string inner(text + 4);
    if (!inner.empty() && inner.back() == ')')
        inner.pop_back();
    std::vector<double> v = parseNumberList(inner.c_str());
    if (v.size() < 3)
        throw InvalidInput("colour " + quoteValue(text) + " needs three numbers");
    return lowByte(v[0]) | lowByte(v[1]) << 8 | lowByte(v[2]) << 16;
}

uint32_t parseHex(const char* text)
{
    uint32_t digits[6];
    for (int i = 0; i < 6; ++i) {
        int d = hexDigitValue(text[1 + i]); // stops at the terminator, which is no digit
        if (d < 0)
            return 0;
        digits[i] = static_cast<uint32_t>(d);
    }
    uint32_t red = digits[0] << 4 | digits[1];
    uint32_t green = digits[2] << 4 | digits[3];
    uint32_t blue = digits[4] << 4 | digits[5];
    return red | green << 8 | blue << 16;
}

} // namespace

uint32_t parseColourText(const char* text)
{
    if (!text)
        return 0;
    if (std::strlen(text) >= 4 && hasRgbPrefix(text))
        return parseRgb(text);
    if (text[0] == '#')
        return parseHex(text);
    return 0;
}

} // namespace vs
