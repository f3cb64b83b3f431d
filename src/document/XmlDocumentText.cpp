#include "XmlDocumentText.h"

#include <sstream>

namespace vs {

std::string elementText(pugi::xml_node element)
{
    std::ostringstream out;
    element.print(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

} // namespace vs
