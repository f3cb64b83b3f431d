// 8-bit host text in the process locale's code set <-> UTF-16 and UTF-8, through iconv.
// Qt's own local-8-bit conversions are UTF-8 whatever the locale, so host strings never go
// through them. Inside the module every string is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vs {

/** Returns the iconv name of the code set of LC_CTYPE; the "C"/"POSIX" locale counts as UTF-8. */
std::string hostCodeset();

/** Converts host text (locale code set) to UTF-16; null gives an empty string. Bytes that do
 *  not belong to the code set become U+FFFD. */
std::u16string hostToUtf16(const char* text);
std::u16string hostToUtf16(std::string_view text);

/** Converts UTF-16 to host text; null gives an empty string. Characters the code set cannot
 *  hold become '?'. */
std::string utf16ToHost(const char16_t* text);
std::string utf16ToHost(std::u16string_view text);

/** Converts host text to the module's UTF-8; null gives an empty string. */
std::string hostToUtf8(const char* text);
/** Converts the module's UTF-8 to host text. */
std::string utf8ToHost(std::string_view text);

/** UTF-8 <-> UTF-16 without regard to the locale (invalid input becomes U+FFFD). */
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

} // namespace vs
