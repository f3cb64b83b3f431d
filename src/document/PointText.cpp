#include "PointText.h"

#include "platform/Errors.h"
#include "platform/QuotedValue.h"

#include <charconv>
#include <cstdlib>
#include <locale.h>

namespace vs {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isNumberSeparator(char c)
{
    return c == ',' || isBlank(c);
}

// Splits text at runs of separator characters; empty parts are not returned.
template <typename IsSeparator>
std::vector<std::string> split(const char* text, IsSeparator isSeparator)
{
    std::vector<std::string> parts;
    if (!text)
        return parts;
    const char* p = text;
    while (*p) {
        while (*p && isSeparator(*p))
            ++p;
        const char* start = p;
        while (*p && !isSeparator(*p))
            ++p;
        if (p != start)
            parts.emplace_back(start, p);
    }
    return parts;
}

// The "C" locale, made once; strtod_l with it reads "." decimals whatever LC_NUMERIC says.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return locale;
}

} // namespace

std::string formatFixed(double value, int decimals)
{
    // Room for the widest fixed form of a double (309 integer digits) and the decimals.
    char buffer[400];
    if (decimals < 0)
        decimals = 0;
    if (decimals > 60)
        decimals = 60;
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

std::string formatPoint(const RPoint& point)
{
    return formatFixed(point.x, 6) + ',' + formatFixed(point.y, 6);
}

std::string formatPointList(const std::vector<RPoint>& points)
{
    std::string text;
    for (const RPoint& point : points) {
        if (!text.empty())
            text += ' ';
        text += formatPoint(point);
    }
    return text;
}

std::string formatRect(const RRect& rect)
{
    return formatFixed(rect.left, 6) + ',' + formatFixed(rect.top, 6) + ',' +
           formatFixed(rect.right, 6) + ',' + formatFixed(rect.bottom, 6);
}

RPoint parsePoint(const std::string& text, double scale)
{
    std::vector<std::string> parts = split(text.c_str(), [](char c) { return c == ','; });
    if (parts.size() < 2)
        throw InvalidInput("point without its y: " + quoteValue(text));
    return {parseDouble(parts[0].c_str()) * scale, parseDouble(parts[1].c_str()) * scale};
}

std::vector<RPoint> parsePointList(const char* text, double scale)
{
    std::vector<RPoint> points;
    for (const std::string& pointText : split(text, isBlank))
        points.push_back(parsePoint(pointText, scale));
    return points;
}

RRect parseRect(const char* text, double scale)
{
    std::vector<double> v = parseNumberList(text);
    if (v.size() < 4)
        throw InvalidInput("a rectangle needs four numbers");
    return {v[0] * scale, v[1] * scale, v[2] * scale, v[3] * scale};
}

std::vector<double> parseNumberList(const char* text)
{
    std::vector<double> numbers;
    for (const std::string& part : split(text, isNumberSeparator))
        numbers.push_back(parseDouble(part.c_str()));
    return numbers;
}

double parseDouble(const char* text)
{
    if (!text)
        return 0;
    locale_t locale = cLocale();
    if (locale == locale_t(0))
        return std::strtod(text, nullptr);
    return strtod_l(text, nullptr, locale);
}

} // namespace vs
