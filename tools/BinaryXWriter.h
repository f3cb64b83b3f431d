// Writes a DirectX text X file in the binary encoding, token for token, as exporters do: names,
// strings (with their ',' or ';'), runs of integers as one integer list, runs of numbers with a
// '.' or an exponent as one float list, braces, GUIDs and "template". Other separators are left
// out. Shared by the sample data generator, the tests and the benchmarks; header only.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vs::xfile {

namespace detail {

inline void put16(std::string& out, uint16_t v)
{
    out += char(v & 0xFF);
    out += char(v >> 8);
}

inline void put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

inline bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

inline bool endsWord(char c)
{
    return isSpace(c) || c == '{' || c == '}' || c == ',' || c == ';' || c == '"';
}

inline bool isNumber(const std::string& w, bool& isFloat)
{
    size_t i = w[0] == '-' || w[0] == '+' ? 1 : 0;
    bool digits = false;
    isFloat = false;
    for (; i < w.size(); ++i) {
        const char c = w[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if (c == '.' || c == 'e' || c == 'E' || ((c == '-' || c == '+') && isFloat))
            isFloat = true;
        else
            return false;
    }
    return digits;
}

inline int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/** "<xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx>" as the 16 bytes of a GUID token. */
inline bool guidBytes(const std::string& w, std::string& out)
{
    if (w.size() != 38 || w.front() != '<' || w.back() != '>')
        return false;
    std::vector<uint8_t> digits;
    for (size_t i = 1; i + 1 < w.size(); ++i) {
        if (w[i] == '-')
            continue;
        const int h = hexValue(w[i]);
        const int l = i + 2 < w.size() ? hexValue(w[i + 1]) : -1;
        if (h < 0 || l < 0)
            return false;
        digits.push_back(uint8_t(h << 4 | l));
        ++i;
    }
    if (digits.size() != 16)
        return false;
    // Data1 (32 bits), Data2 and Data3 (16 bits) little-endian, Data4 as written.
    const uint8_t order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (uint8_t k : order)
        out += char(digits[k]);
    return true;
}

} // namespace detail

/** The binary form of the text X file `text` ("xof 0303txt 0032" or "...0064": floats are
 *  written with that size). Returns an empty string when `text` has no text X header. */
inline std::string binaryFromText(const std::string& text)
{
    using namespace detail;
    if (text.size() < 16 || text.compare(0, 4, "xof ") != 0 || text.compare(8, 4, "txt ") != 0)
        return {};
    const bool wide = text.compare(12, 4, "0064") == 0;
    std::string out = text.substr(0, 16);
    out.replace(8, 4, "bin ");

    std::vector<std::string> numbers;
    bool floats = false;
    auto flush = [&] {
        if (numbers.empty())
            return;
        put16(out, floats ? 0x07 : 0x06);
        put32(out, uint32_t(numbers.size()));
        for (const std::string& n : numbers) {
            if (!floats) {
                put32(out, uint32_t(std::stoul(n)));
            } else if (wide) {
                const double d = std::stod(n);
                char b[8];
                std::memcpy(b, &d, 8);
                out.append(b, 8);
            } else {
                const float f = std::stof(n);
                char b[4];
                std::memcpy(b, &f, 4);
                out.append(b, 4);
            }
        }
        numbers.clear();
    };

    size_t p = 16;
    while (p < text.size()) {
        const char c = text[p];
        if (isSpace(c)) {
            ++p;
        } else if (c == '#' || (c == '/' && p + 1 < text.size() && text[p + 1] == '/')) {
            while (p < text.size() && text[p] != '\n')
                ++p;
        } else if (c == ',' || c == ';') {
            ++p; // binary lists need no separators; strings take theirs below
        } else if (c == '{' || c == '}') {
            flush();
            put16(out, c == '{' ? 0x0A : 0x0B);
            ++p;
        } else if (c == '"') {
            flush();
            const size_t end = text.find('"', p + 1);
            const std::string s = text.substr(p + 1, end - p - 1);
            put16(out, 0x02);
            put32(out, uint32_t(s.size()));
            out += s;
            p = end == std::string::npos ? text.size() : end + 1;
            while (p < text.size() && isSpace(text[p]))
                ++p;
            const bool comma = p < text.size() && text[p] == ',';
            put16(out, comma ? 0x13 : 0x14);
            if (p < text.size() && (text[p] == ',' || text[p] == ';'))
                ++p;
        } else {
            size_t end = p;
            while (end < text.size() && !endsWord(text[end]))
                ++end;
            const std::string word = text.substr(p, end - p);
            p = end;
            bool isFloat = false;
            if (isNumber(word, isFloat)) {
                if (!numbers.empty() && isFloat != floats)
                    flush();
                floats = isFloat;
                numbers.push_back(word);
                continue;
            }
            flush();
            std::string guid;
            if (word == "template") {
                put16(out, 0x1F);
            } else if (guidBytes(word, guid)) {
                put16(out, 0x05);
                out += guid;
            } else {
                put16(out, 0x01);
                put32(out, uint32_t(word.size()));
                out += word;
            }
        }
    }
    flush();
    return out;
}

} // namespace vs::xfile
