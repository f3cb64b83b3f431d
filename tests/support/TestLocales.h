// Locales for tests that must run under a host's code set or number format. Debian machines
// come with only C and C.UTF-8, so the locale is built with localedef into a temporary folder.
#pragma once

#include <string>

namespace testsupport {

/** Builds `name` (for example "zh_CN.GBK" from source "zh_CN" and charmap "GBK") once per
 *  process and switches `category` to it. Returns false when the machine cannot build it. */
bool switchToBuiltLocale(int category, const std::string& source, const std::string& charmap);

/** Switches every category back to "C". */
void restoreCLocale();

} // namespace testsupport
