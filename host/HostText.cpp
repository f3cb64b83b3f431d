#include "HostText.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <limits>
#include <stdexcept>

namespace vhost {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool localeIsUtf8()
{
    const char* codeset = nl_langinfo(CODESET);
    return codeset == nullptr || std::strcmp(codeset, "UTF-8") == 0 ||
           std::strcmp(codeset, "ANSI_X3.4-1968") == 0 || std::strcmp(codeset, "ASCII") == 0;
}

std::string convert(const std::string& text, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return text;
    std::string out;
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, size_t(dst - buffer));
        if (r == size_t(-1) && errno != E2BIG) { // unconvertible or malformed: skip one byte
            out.push_back('?');
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::u16string utf8ToUtf16(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        char32_t c = s[i];
        int extra = c < 0x80           ? 0
                    : (c >> 5) == 0x6  ? 1
                    : (c >> 4) == 0xE  ? 2
                    : (c >> 3) == 0x1E ? 3
                                       : -1;
        if (extra < 0 || i + size_t(extra) >= n + (extra == 0 ? 1 : 0)) {
            out.push_back(char16_t(kReplacement));
            ++i;
            continue;
        }
        if (extra > 0) {
            c &= 0x3F >> extra;
            bool ok = true;
            for (int k = 1; k <= extra; ++k) {
                if ((s[i + size_t(k)] & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                c = (c << 6) | (s[i + size_t(k)] & 0x3F);
            }
            if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
                out.push_back(char16_t(kReplacement));
                ++i;
                continue;
            }
        }
        i += size_t(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(char16_t(0xD800 + (c >> 10)));
            out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

std::string utf16ToUtf8(const char16_t* text, size_t length)
{
    std::string out;
    if (text == nullptr)
        return out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string toLocale(const std::string& utf8)
{
    return localeIsUtf8() ? utf8 : convert(utf8, nl_langinfo(CODESET), "UTF-8");
}

std::string fromLocale(const char* text)
{
    if (text == nullptr)
        return {};
    return localeIsUtf8() ? std::string(text) : convert(text, "UTF-8", nl_langinfo(CODESET));
}

std::string quoted(const std::string& text)
{
    constexpr size_t kMaxChars = 80;
    std::string out = "\"";
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++chars) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        length = std::min(length, text.size() - i);
        if (chars == kMaxChars) {
            out += "\xE2\x80\xA6"; // …
            break;
        }
        if (lead < 0x20 || lead == 0x7F)
            out += ' ';
        else
            out.append(text, i, length);
        i += length;
    }
    return out + "\"";
}

int32_t parseInt(const std::string& text, const std::string& what)
{
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || end == text.c_str() || *end != '\0' || errno == ERANGE ||
        value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw std::invalid_argument(what + ": " + quoted(text) + " is not a whole number");
    return int32_t(value);
}

double parseNumber(const std::string& text, const std::string& what)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end == text.c_str() || *end != '\0' || !std::isfinite(value))
        throw std::invalid_argument(what + ": " + quoted(text) + " is not a number");
    return value;
}

} // namespace vhost
