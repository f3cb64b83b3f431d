#include "XmlValues.h"

#include "HexDigit.h"
#include "PointText.h"
#include "platform/Errors.h"
#include "platform/QuotedValue.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string_view>

namespace vs {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

int clampToInt(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// A digit's value in any base up to 16; above every base for a character that is no digit.
int digitValue(char c)
{
    const int d = hexDigitValue(c);
    return d < 0 ? 99 : d;
}

// Reads an integer at text like strtol with `base` (0: the "%i" rule: "0x" hexadecimal,
// leading-zero octal, else decimal), clamped to the int range; false when there is none.
// Written out rather than calling strtoll: it runs for every number of every item.
bool parseInteger(const char* text, int base, int& value)
{
    if (!text)
        return false;
    const char* p = text;
    while (isBlank(*p))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if ((base == 0 || base == 16) && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
        digitValue(p[2]) < 16) {
        p += 2;
        base = 16;
    } else if (base == 0) {
        base = *p == '0' ? 8 : 10;
    }
    if (digitValue(*p) >= base)
        return false;
    long long v = 0;
    for (; digitValue(*p) < base; ++p) {
        if (v <= static_cast<long long>(INT_MAX) + 1)
            v = v * base + digitValue(*p);
    }
    value = clampToInt(negative ? -v : v);
    return true;
}

// The parts of text between commas (empty parts kept, like a plain split).
std::vector<std::string> splitAtCommas(const char* text)
{
    std::vector<std::string> parts;
    const char* start = text;
    for (const char* p = text;; ++p) {
        if (*p == ',' || *p == '\0') {
            parts.emplace_back(start, p);
            if (*p == '\0')
                break;
            start = p + 1;
        }
    }
    return parts;
}

bool isEmpty(const char* text)
{
    return !text || !*text;
}

std::string toChars(double value, std::chars_format format, int precision = -1)
{
    char buffer[400];
    auto result = precision < 0
                      ? std::to_chars(buffer, buffer + sizeof buffer, value, format)
                      : std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

} // namespace

int readInt(const char* text, int fallback)
{
    int value = fallback;
    return parseInteger(text, 0, value) ? value : fallback;
}

double readDouble(const char* text, double fallback)
{
    if (!text)
        return fallback;
    char* end = nullptr;
    float value = strtof_l(text, &end, cLocale());
    if (end == text)
        return fallback;
    return value;
}

bool readBool(const char* text, bool fallback)
{
    if (!text)
        return fallback;
    std::string_view t(text);
    if (t == "true" || t == "TRUE")
        return true;
    if (t == "false" || t == "FALSE")
        return false;
    return fallback;
}

IntSize readIntPair(const char* text, IntSize fallback)
{
    if (isEmpty(text))
        return fallback;
    std::vector<std::string> parts = splitAtCommas(text);
    IntSize size;
    parseInteger(parts[0].c_str(), 10, size.width);
    if (parts.size() > 1)
        parseInteger(parts[1].c_str(), 10, size.height);
    return size;
}

Vec3f readVector(const char* text, float scale)
{
    if (isEmpty(text))
        return Vec3f();
    std::vector<double> v = parseNumberList(text);
    if (v.size() < 3)
        throw InvalidInput("a vector needs three numbers: " + quoteValue(text));
    return {static_cast<float>(v[0] * scale), static_cast<float>(v[1] * scale),
            static_cast<float>(v[2] * scale)};
}

std::array<float, 4> readFourFloats(const char* text)
{
    std::vector<double> v = parseNumberList(text);
    if (v.size() < 4)
        throw InvalidInput("four numbers expected: " + quoteValue(text ? text : ""));
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2]),
            static_cast<float>(v[3])};
}

std::array<double, 3> readTriple(const char* text)
{
    if (isEmpty(text))
        return {0, 0, 0};
    std::vector<std::string> parts = splitAtCommas(text);
    if (parts.size() < 3)
        throw InvalidInput("a triple needs three numbers: " + quoteValue(text));
    return {parseDouble(parts[0].c_str()), parseDouble(parts[1].c_str()),
            parseDouble(parts[2].c_str())};
}

std::vector<std::pair<int, int>> readIndexSizeList(const char* text, int sizeScale)
{
    std::vector<std::pair<int, int>> entries;
    if (isEmpty(text))
        return entries;
    std::vector<int> numbers;
    const char* p = text;
    while (*p) {
        while (*p && (*p == ',' || isBlank(*p)))
            ++p;
        const char* start = p;
        while (*p && *p != ',' && !isBlank(*p))
            ++p;
        if (p != start)
            numbers.push_back(readInt(std::string(start, p).c_str()));
    }
    for (size_t i = 0; i + 1 < numbers.size(); i += 2)
        entries.emplace_back(numbers[i], scaleInt(numbers[i + 1], sizeScale));
    return entries;
}

int scaleInt(double value, double scale)
{
    double v = std::trunc(value * scale);
    if (std::isnan(v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

std::string formatInt(int value)
{
    return std::to_string(value);
}

std::string formatDouble(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? "-nan" : "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    // A value that came through single precision is written in its shortest single-precision
    // form ("1.35" rather than "1.350000023841858"); it reads back as the same float.
    float single = static_cast<float>(value);
    if (static_cast<double>(single) == value) {
        char buffer[400];
        auto result =
            std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::fixed);
        if (result.ec == std::errc())
            return std::string(buffer, result.ptr);
    }
    return toChars(value, std::chars_format::fixed);
}

std::string formatBool(bool value)
{
    return value ? "true" : "";
}

std::string formatIntPair(IntSize size)
{
    return std::to_string(size.width) + ',' + std::to_string(size.height);
}

std::string formatVector(const Vec3f& vector)
{
    return formatFixed(vector.x, 12) + ',' + formatFixed(vector.y, 12) + ',' +
           formatFixed(vector.z, 12);
}

std::string formatFourFloats(float a, float b, float c, float d)
{
    return formatFixed(a, 6) + ',' + formatFixed(b, 6) + ',' + formatFixed(c, 6) + ',' +
           formatFixed(d, 6);
}

} // namespace vs
