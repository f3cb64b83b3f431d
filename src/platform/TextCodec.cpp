#include "platform/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <stdexcept>

namespace vs {
namespace {

const char* const kUtf16 = "UTF-16LE";
const char* const kUtf8 = "UTF-8";

bool isUtf8Name(const std::string& name)
{
    return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8";
}

using SkipRule = size_t (*)(const char* at, size_t left);

size_t skipByte(const char*, size_t)
{
    return 1;
}

size_t skipUtf8(const char* at, size_t left)
{
    unsigned char lead = static_cast<unsigned char>(*at);
    size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    // Only skip continuation bytes that really follow.
    size_t i = 1;
    while (i < n && i < left && (static_cast<unsigned char>(at[i]) & 0xC0) == 0x80)
        ++i;
    return i;
}

size_t skipUtf16(const char* at, size_t left)
{
    if (left >= 4) {
        unsigned unit =
            static_cast<unsigned char>(at[0]) | (static_cast<unsigned char>(at[1]) << 8);
        unsigned next =
            static_cast<unsigned char>(at[2]) | (static_cast<unsigned char>(at[3]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && next >= 0xDC00 && next < 0xE000)
            return 4;
    }
    return 2;
}

/** One iconv descriptor for the length of a conversion. */
class Converter
{
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::invalid_argument(std::string("no conversion from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    /** Converts `in`; a character that is invalid or cannot be represented is skipped (its
     *  length in bytes given by `skip`) and `replacement` (already in the target encoding) is
     *  written in its place. */
    std::string run(const char* in, size_t inLeft, SkipRule skip, std::string_view replacement)
    {
        std::string out;
        out.resize(inLeft * 4 + 16);
        char* outPtr = out.data();
        size_t outLeft = out.size();
        char* inPtr = const_cast<char*>(in);
        while (inLeft > 0) {
            size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            if (r != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                size_t used = out.size() - outLeft;
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = out.size() - used;
                continue;
            }
            // EILSEQ (cannot be represented or invalid) or EINVAL (truncated at the end).
            size_t n = std::min(std::max<size_t>(skip(inPtr, inLeft), 1), inLeft);
            inPtr += n;
            inLeft -= n;
            if (outLeft < replacement.size() + 8) {
                size_t used = out.size() - outLeft;
                out.resize(out.size() * 2 + replacement.size());
                outPtr = out.data() + used;
                outLeft = out.size() - used;
            }
            std::memcpy(outPtr, replacement.data(), replacement.size());
            outPtr += replacement.size();
            outLeft -= replacement.size();
        }
        iconv(cd_, nullptr, nullptr, &outPtr, &outLeft); // flush shift state
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t cd_;
};

std::u16string bytesToU16(const std::string& bytes)
{
    std::u16string result(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return result;
}

std::string u16ToBytes(std::u16string_view text)
{
    std::string bytes(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

const std::string_view kReplacementUtf16("\xFD\xFF", 2); // U+FFFD little-endian
const std::string_view kReplacementUtf8("\xEF\xBF\xBD", 3);

size_t u16Length(const char16_t* text)
{
    size_t n = 0;
    while (text[n] != 0)
        ++n;
    return n;
}

} // namespace

std::string hostCodeset()
{
    const char* name = nl_langinfo(CODESET);
    if (name == nullptr || *name == 0 || std::strcmp(name, "ANSI_X3.4-1968") == 0 ||
        std::strcmp(name, "ASCII") == 0)
        return kUtf8;
    return name;
}

std::u16string hostToUtf16(std::string_view text)
{
    if (text.empty())
        return {};
    std::string codeset = hostCodeset();
    Converter c(kUtf16, codeset.c_str());
    return bytesToU16(c.run(text.data(), text.size(), isUtf8Name(codeset) ? skipUtf8 : skipByte,
                            kReplacementUtf16));
}

std::u16string hostToUtf16(const char* text)
{
    return text ? hostToUtf16(std::string_view(text)) : std::u16string();
}

std::string utf16ToHost(std::u16string_view text)
{
    if (text.empty())
        return {};
    std::string bytes = u16ToBytes(text);
    Converter c(hostCodeset().c_str(), kUtf16);
    return c.run(bytes.data(), bytes.size(), skipUtf16, "?");
}

std::string utf16ToHost(const char16_t* text)
{
    return text ? utf16ToHost(std::u16string_view(text, u16Length(text))) : std::string();
}

std::u16string utf8ToUtf16(std::string_view text)
{
    if (text.empty())
        return {};
    Converter c(kUtf16, kUtf8);
    return bytesToU16(c.run(text.data(), text.size(), skipUtf8, kReplacementUtf16));
}

std::string utf16ToUtf8(std::u16string_view text)
{
    if (text.empty())
        return {};
    std::string bytes = u16ToBytes(text);
    Converter c(kUtf8, kUtf16);
    return c.run(bytes.data(), bytes.size(), skipUtf16, kReplacementUtf8);
}

std::string hostToUtf8(const char* text)
{
    if (text == nullptr || *text == 0)
        return {};
    std::string codeset = hostCodeset();
    if (isUtf8Name(codeset)) {
        // Still pass it through iconv so that invalid bytes are replaced, not carried inside.
        Converter c(kUtf8, kUtf8);
        return c.run(text, std::strlen(text), skipUtf8, kReplacementUtf8);
    }
    Converter c(kUtf8, codeset.c_str());
    return c.run(text, std::strlen(text), skipByte, kReplacementUtf8);
}

std::string utf8ToHost(std::string_view text)
{
    if (text.empty())
        return {};
    std::string codeset = hostCodeset();
    if (isUtf8Name(codeset))
        return std::string(text);
    Converter c(codeset.c_str(), kUtf8);
    return c.run(text.data(), text.size(), skipUtf8, "?");
}

} // namespace vs
