#include "platform/QuotedValue.h"

namespace vs {

std::string quoteValue(std::string_view text, size_t maxChars)
{
    std::string out = "\"";
    size_t chars = 0;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        if (lead >= 0xF0)
            length = 4;
        else if (lead >= 0xE0)
            length = 3;
        else if (lead >= 0xC0)
            length = 2;
        if (length > text.size() - i)
            length = text.size() - i;
        if (chars == maxChars) {
            out += "\xE2\x80\xA6"; // …
            break;
        }
        if (lead < 0x20 || lead == 0x7F)
            out += ' ';
        else
            out.append(text.substr(i, length));
        i += length;
        ++chars;
    }
    out += '"';
    return out;
}

} // namespace vs
