#include "support/TestLocales.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <set>

namespace testsupport {

bool switchToBuiltLocale(int category, const std::string& source, const std::string& charmap)
{
    static std::set<std::string> built;
    const std::string dir = ::testing::TempDir() + "vs-locales";
    const std::string name = source + "." + charmap;
    if (!built.count(name)) {
        const std::string make = "mkdir -p '" + dir + "' && localedef -i " + source + " -f " +
                                 charmap + " '" + dir + "/" + name + "' >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0)
            return false;
        built.insert(name);
    }
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(category, name.c_str()) != nullptr;
}

void restoreCLocale()
{
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

} // namespace testsupport
