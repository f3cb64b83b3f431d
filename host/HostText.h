// Text conversions at the module boundary: the pack and the designs are UTF-8, design XML
// crosses as UTF-16, and 8-bit strings are in the process locale's code set.
#pragma once

#include <cstdint>
#include <string>

namespace vhost {

/** Converts UTF-8 to UTF-16; malformed bytes become U+FFFD. */
std::u16string utf8ToUtf16(const std::string& text);
/** Converts UTF-16 to UTF-8; unpaired surrogates become U+FFFD. */
std::string utf16ToUtf8(const char16_t* text, size_t length);
/** Converts UTF-8 to the locale's code set (LC_CTYPE; "C" counts as UTF-8). Characters the
 *  code set lacks become '?'. */
std::string toLocale(const std::string& utf8);
/** Converts a string in the locale's code set to UTF-8; null gives "". */
std::string fromLocale(const char* text);
/** Returns `text` in double quotes for an error message, cut after 80 UTF-8 characters and
 *  then ending in "…"; control characters become blanks so the message stays one line. */
std::string quoted(const std::string& text);
/** Parses a whole decimal int32; throws std::invalid_argument naming `what` otherwise. */
int32_t parseInt(const std::string& text, const std::string& what);
/** Parses a whole finite number; throws std::invalid_argument naming `what` otherwise. */
double parseNumber(const std::string& text, const std::string& what);

} // namespace vhost
