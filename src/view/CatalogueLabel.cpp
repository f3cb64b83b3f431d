#include "view/CatalogueLabel.h"

#include <algorithm>
#include <cctype>

std::string catalogueLabel(const std::string& name)
{
    static const char* const kExtensions[] = {".jpg", ".jpeg", ".bmp", ".png",
                                              ".gif", ".tif",  ".tiff"};
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return name;
    std::string extension = name.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const char* known : kExtensions)
        if (extension == known)
            return name.substr(0, dot);
    return name;
}
