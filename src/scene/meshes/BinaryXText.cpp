#include "scene/meshes/BinaryXText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vs {
namespace {

enum Token : uint16_t {
    kName = 0x01,
    kString = 0x02,
    kInteger = 0x03,
    kGuid = 0x05,
    kIntegerList = 0x06,
    kFloatList = 0x07,
    kOpenBrace = 0x0A,
    kCloseBrace = 0x0B,
    kComma = 0x13,
    kSemicolon = 0x14,
    kTemplate = 0x1F,
};

/** Text of the punctuation and template keyword tokens, by token; null for none. */
const char* fixedTokenText(uint16_t token)
{
    switch (token) {
    case 0x0C:
        return "(";
    case 0x0D:
        return ")";
    case 0x0E:
        return "[";
    case 0x0F:
        return "]";
    case 0x10:
        return "<";
    case 0x11:
        return ">";
    case 0x12:
        return ".";
    case kComma:
        return ",";
    case kSemicolon:
        return ";";
    case 0x28:
        return "WORD";
    case 0x29:
        return "DWORD";
    case 0x2A:
        return "FLOAT";
    case 0x2B:
        return "DOUBLE";
    case 0x2C:
        return "CHAR";
    case 0x2D:
        return "UCHAR";
    case 0x2E:
        return "SWORD";
    case 0x2F:
        return "SDWORD";
    case 0x30:
        return "void";
    case 0x31:
        return "string";
    case 0x32:
        return "unicode";
    case 0x33:
        return "cstring";
    case 0x34:
        return "array";
    default:
        return nullptr;
    }
}

constexpr size_t kHeaderBytes = 16;

bool isDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

/** Bytes a name keeps as they are in the text; every other byte is escaped. */
bool isPlainNameByte(uint8_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_' || c == '-' ||
           c == '.' || c >= 0x80;
}

class BinaryXReader
{
public:
    BinaryXReader(const uint8_t* data, size_t size, size_t floatSize)
        : data_(data), size_(size), pos_(kHeaderBytes), floatSize_(floatSize)
    {
    }

    bool run(std::string& out)
    {
        while (pos_ < size_) {
            uint16_t token = 0;
            if (!readToken(token) || !emit(token, out))
                return false;
        }
        if (depth_ != 0)
            return fail("braces left open at the end of the file");
        return true;
    }

    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& why)
    {
        error_ = why;
        return false;
    }

    bool failAt(const std::string& why, size_t at)
    {
        return fail(why + " at byte " + std::to_string(at));
    }

    size_t left() const { return size_ - pos_; }

    bool readToken(uint16_t& token)
    {
        if (left() < 2)
            return failAt("token cut off", pos_);
        token = uint16_t(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return true;
    }

    bool readDword(uint32_t& value)
    {
        if (left() < 4)
            return failAt("number cut off", pos_);
        value = uint32_t(data_[pos_]) | uint32_t(data_[pos_ + 1]) << 8 |
                uint32_t(data_[pos_ + 2]) << 16 | uint32_t(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return true;
    }

    /** The token after the current one, without reading it; 0 at the end. */
    uint16_t peek(size_t at) const
    {
        return at + 2 <= size_ ? uint16_t(data_[at] | data_[at + 1] << 8) : 0;
    }

    bool emit(uint16_t token, std::string& out)
    {
        if (inTemplate_ && !templateToken(token))
            return false;
        switch (token) {
        case kName:
            return name(out);
        case kString:
            return string(out);
        case kInteger: {
            uint32_t value = 0;
            if (!readDword(value))
                return false;
            out += std::to_string(value);
            out += ' ';
            return true;
        }
        case kGuid:
            if (left() < 16)
                return failAt("GUID cut off", pos_);
            pos_ += 16;
            return true;
        case kIntegerList:
            return integerList(out);
        case kFloatList:
            return floatList(out);
        case kOpenBrace:
            return openBrace(out);
        case kCloseBrace:
            if (depth_ == 0)
                return failAt("closing brace without an opening one", pos_ - 2);
            --depth_;
            out += "}\n";
            return true;
        case kTemplate:
            if (++templates_ > BinaryXText::kMaxTemplates)
                return fail("more than " + std::to_string(BinaryXText::kMaxTemplates) +
                            " templates");
            if (peek(pos_) != kName)
                return failAt("template without a name", pos_);
            inTemplate_ = true;
            templateTokens_ = 0;
            templateOpened_ = false;
            out += "template ";
            return true;
        default:
            if (const char* text = fixedTokenText(token)) {
                out += text;
                out += ' ';
                return true;
            }
            return failAt("unknown token " + std::to_string(token), pos_ - 2);
        }
    }

    /** Inside "template name { ... }": one name, one brace, no nested braces, bounded length. */
    bool templateToken(uint16_t token)
    {
        if (++templateTokens_ > BinaryXText::kMaxTemplateTokens)
            return fail("template longer than " + std::to_string(BinaryXText::kMaxTemplateTokens) +
                        " tokens");
        if (token == kOpenBrace) {
            if (templateOpened_)
                return failAt("brace nested in a template", pos_ - 2);
            templateOpened_ = true;
        } else if (token == kCloseBrace) {
            if (!templateOpened_)
                return failAt("template without an opening brace", pos_ - 2);
            inTemplate_ = false;
        } else if (!templateOpened_ && templateTokens_ > 1) {
            return failAt("template without an opening brace", pos_ - 2);
        }
        return true;
    }

    bool openBrace(std::string& out)
    {
        if (depth_ >= BinaryXText::kMaxDepth)
            return failAt("braces nested deeper than " + std::to_string(BinaryXText::kMaxDepth),
                          pos_ - 2);
        // "{ name }" refers to an object by name; the text checks copy what it names.
        if (!inTemplate_ && peek(pos_) == kName && left() >= 6) {
            const size_t length = uint32_t(data_[pos_ + 2]) | uint32_t(data_[pos_ + 3]) << 8 |
                                  uint32_t(data_[pos_ + 4]) << 16 | uint32_t(data_[pos_ + 5]) << 24;
            if (length <= left() - 6 && peek(pos_ + 6 + length) == kCloseBrace &&
                ++references_ > BinaryXText::kMaxReferences)
                return fail("more than " + std::to_string(BinaryXText::kMaxReferences) +
                            " references");
        }
        ++depth_;
        out += "{\n";
        return true;
    }

    bool name(std::string& out)
    {
        const size_t at = pos_ - 2;
        uint32_t length = 0;
        if (!readDword(length))
            return false;
        if (length > left())
            return failAt("name runs past the end of the file", at);
        if (length == 0)
            return failAt("empty name", at);
        if (length > BinaryXText::kMaxNameBytes)
            return failAt(
                "name longer than " + std::to_string(BinaryXText::kMaxNameBytes) + " bytes", at);
        static const char kHex[] = "0123456789ABCDEF";
        for (uint32_t i = 0; i < length; ++i) {
            const uint8_t c = data_[pos_ + i];
            if (isPlainNameByte(c)) {
                out += char(c);
            } else {
                out += '%';
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            }
        }
        out += ' ';
        pos_ += length;
        return true;
    }

    /** A string and the ',' or ';' that ends it. */
    bool string(std::string& out)
    {
        const size_t at = pos_ - 2;
        uint32_t length = 0;
        if (!readDword(length))
            return false;
        if (length > left())
            return failAt("string runs past the end of the file", at);
        if (length > BinaryXText::kMaxStringBytes)
            return failAt("string longer than " + std::to_string(BinaryXText::kMaxStringBytes) +
                              " bytes",
                          at);
        const uint8_t* text = data_ + pos_;
        for (uint32_t i = 0; i < length; ++i)
            if (text[i] < 0x20 || text[i] == 0x7F || text[i] == '"')
                return failAt("string holding a quote or a control character", at);
        pos_ += length;
        uint16_t end = 0;
        if (!readToken(end))
            return false;
        if (end != kComma && end != kSemicolon)
            return failAt("string not followed by ',' or ';'", at);
        out += '"';
        out.append(reinterpret_cast<const char*>(text), length);
        out += '"';
        out += end == kComma ? ',' : ';';
        out += '\n';
        return true;
    }

    /** Count of a list whose items take itemBytes each, checked against the bytes left. */
    bool listCount(size_t itemBytes, const char* what, uint32_t& count)
    {
        const size_t at = pos_ - 2;
        if (!readDword(count))
            return false;
        if (count > left() / itemBytes)
            return failAt(std::string(what) + " of " + std::to_string(count) +
                              " values runs past the end of the file",
                          at);
        return true;
    }

    bool integerList(std::string& out)
    {
        uint32_t count = 0;
        if (!listCount(4, "integer list", count))
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* p = data_ + pos_ + 4 * size_t(i);
            const uint32_t value =
                uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
            char text[16];
            out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
            out += i + 1 < count ? ',' : ';';
        }
        out += '\n';
        pos_ += 4 * size_t(count);
        return true;
    }

    bool floatList(std::string& out)
    {
        const size_t at = pos_ - 2;
        uint32_t count = 0;
        if (!listCount(floatSize_, "float list", count))
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* p = data_ + pos_ + floatSize_ * size_t(i);
            char text[40];
            char* end = text;
            if (floatSize_ == 4) {
                float value = 0;
                std::memcpy(&value, p, 4);
                if (!std::isfinite(value))
                    return failAt("non-finite number in a float list", at);
                end = std::to_chars(text, text + sizeof text, value).ptr;
            } else {
                double value = 0;
                std::memcpy(&value, p, 8);
                if (!std::isfinite(value))
                    return failAt("non-finite number in a float list", at);
                end = std::to_chars(text, text + sizeof text, value).ptr;
            }
            out.append(text, end);
            out += i + 1 < count ? ',' : ';';
        }
        out += '\n';
        pos_ += floatSize_ * size_t(count);
        return true;
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_;
    size_t floatSize_;
    int depth_ = 0;
    int templates_ = 0;
    int references_ = 0;
    bool inTemplate_ = false;
    bool templateOpened_ = false;
    int templateTokens_ = 0;
    std::string error_;
};

} // namespace

BinaryXText::Encoding BinaryXText::encoding(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < kHeaderBytes || std::memcmp(data, "xof ", 4) != 0)
        return Encoding::NotX;
    for (int i = 4; i < 8; ++i)
        if (!isDigit(data[i]))
            return Encoding::NotX;
    if (std::memcmp(data + 12, "0032", 4) != 0 && std::memcmp(data + 12, "0064", 4) != 0)
        return Encoding::NotX;
    const char* format = reinterpret_cast<const char*>(data + 8);
    if (std::memcmp(format, "txt ", 4) == 0)
        return Encoding::Text;
    if (std::memcmp(format, "bin ", 4) == 0)
        return Encoding::Binary;
    if (std::memcmp(format, "tzip", 4) == 0)
        return Encoding::CompressedText;
    if (std::memcmp(format, "bzip", 4) == 0)
        return Encoding::CompressedBinary;
    return Encoding::NotX;
}

std::string BinaryXText::toText(const uint8_t* data, size_t size, std::string& error)
{
    error.clear();
    if (encoding(data, size) != Encoding::Binary) {
        error = "not a binary X file";
        return {};
    }
    if (size > kMaxFileBytes) {
        error = "binary X file larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB";
        return {};
    }
    const size_t floatSize = std::memcmp(data + 12, "0064", 4) == 0 ? 8 : 4;
    std::string out = "xof ";
    out.append(reinterpret_cast<const char*>(data + 4), 4);
    out += "txt 0032\n";
    out.reserve(size * 2); // numbers take two to four times their bytes as text
    BinaryXReader reader(data, size, floatSize);
    if (!reader.run(out)) {
        error = reader.error();
        return {};
    }
    return out;
}

} // namespace vs
