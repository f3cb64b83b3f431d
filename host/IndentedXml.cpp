#include "IndentedXml.h"

#include <sstream>

namespace vhost {
namespace {

void appendEscaped(std::string& out, const char* value)
{
    for (const char* p = value; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            if (c < 0x20) {
                out += "&#";
                out += std::to_string(int(c));
                out += ';';
            } else {
                out += char(c);
            }
        }
    }
}

/** The node and everything under it exactly as pugixml writes it, without line breaks. */
std::string rawText(const pugi::xml_node& node)
{
    std::ostringstream text;
    node.print(text, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return text.str();
}

bool holdsText(const pugi::xml_node& element)
{
    for (pugi::xml_node c : element.children())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
            return true;
    return false;
}

class Writer
{
public:
    std::string out;

    void node(const pugi::xml_node& n, int level)
    {
        indent(level);
        if (n.type() != pugi::node_element || level >= kMaxIndentedLevels || holdsText(n)) {
            out += rawText(n);
            out += '\n';
            return;
        }
        out += '<';
        out += n.name();
        for (pugi::xml_attribute a : n.attributes()) {
            out += ' ';
            out += a.name();
            out += "=\"";
            appendEscaped(out, a.value());
            out += '"';
        }
        if (!n.first_child()) {
            out += " />\n";
            return;
        }
        out += ">\n";
        for (pugi::xml_node c : n.children())
            node(c, level + 1); // at most kMaxIndentedLevels deep
        indent(level);
        out += "</";
        out += n.name();
        out += ">\n";
    }

private:
    void indent(int level) { out.append(size_t(2 * level), ' '); }
};

} // namespace

std::string indentedText(const pugi::xml_document& document)
{
    Writer writer;
    bool declared = false;
    for (pugi::xml_node c : document.children())
        declared = declared || c.type() == pugi::node_declaration;
    if (!declared)
        writer.out += "<?xml version=\"1.0\"?>\n";
    for (pugi::xml_node c : document.children())
        writer.node(c, 0);
    return writer.out;
}

int elementDepth(const pugi::xml_document& document, int limit)
{
    int deepest = 0;
    int depth = 0;
    pugi::xml_node at = document.first_child();
    while (at) {
        if (at.type() == pugi::node_element) {
            ++depth;
            if (depth > deepest && (deepest = depth) > limit)
                return deepest;
            if (at.first_child()) {
                at = at.first_child();
                continue;
            }
            --depth;
        }
        while (at && !at.next_sibling()) {
            at = at.parent();
            if (at.type() == pugi::node_element)
                --depth;
        }
        if (at)
            at = at.next_sibling();
    }
    return deepest;
}

} // namespace vhost
