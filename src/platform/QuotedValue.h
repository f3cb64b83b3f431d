// Offending values quoted in error messages, cut short so that one line stays one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vs {

/** Most characters of a value an error message quotes. */
constexpr size_t kMaxQuotedChars = 80;

/**
 * Returns `text` in double quotes, cut after `maxChars` UTF-8 characters and then ending in
 * "…" (the cut never splits a character). Line breaks and other control characters are shown
 * as blanks, so the message stays on one line.
 */
std::string quoteValue(std::string_view text, size_t maxChars = kMaxQuotedChars);

} // namespace vs
