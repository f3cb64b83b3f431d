#include "XmlNames.h"

#include <cstring>
#include <stdexcept>

namespace vs {
namespace {

// Splits "long$_sh" into its two names; a name without "$" gives itself twice.
struct NamePair
{
    std::string longName;
    const char* shortName;
};

NamePair splitName(const char* tableName)
{
    const char* dollar = std::strchr(tableName, '$');
    if (!dollar)
        return {tableName, tableName};
    return {std::string(tableName, dollar), dollar + 1};
}

bool isElement(pugi::xml_node node)
{
    return node.type() == pugi::node_element;
}

} // namespace

const char* writtenName(const char* tableName)
{
    const char* dollar = std::strchr(tableName, '$');
    return dollar ? dollar + 1 : tableName;
}

const char* attributeText(pugi::xml_node element, const char* tableName)
{
    if (!isElement(element))
        return "";
    // One pass over the attributes, matching both names without building strings: this runs
    // for every value of every item of a design.
    const char* dollar = std::strchr(tableName, '$');
    size_t longLength = dollar ? static_cast<size_t>(dollar - tableName) : std::strlen(tableName);
    const char* shortName = dollar ? dollar + 1 : nullptr;
    const char* shortValue = nullptr;
    bool longSeen = false;
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        if (!longSeen && std::strncmp(name, tableName, longLength) == 0 &&
            name[longLength] == '\0') {
            if (*a.value())
                return a.value();
            longSeen = true;
        } else if (shortName && !shortValue && std::strcmp(name, shortName) == 0) {
            shortValue = a.value();
        }
    }
    return shortValue ? shortValue : "";
}

bool hasAttribute(pugi::xml_node element, const char* tableName)
{
    return *attributeText(element, tableName) != '\0';
}

pugi::xml_node childElement(pugi::xml_node element, const char* tableName)
{
    if (!isElement(element))
        return pugi::xml_node();
    NamePair names = splitName(tableName);
    for (pugi::xml_node child : element.children()) {
        if (!isElement(child))
            continue;
        if (names.longName == child.name() || std::strcmp(names.shortName, child.name()) == 0)
            return child;
    }
    return pugi::xml_node();
}

pugi::xml_object_range<pugi::xml_node_iterator> listItems(pugi::xml_node element,
                                                          const char* tableName)
{
    return childElement(element, tableName).children();
}

AttributeNames::AttributeNames(std::initializer_list<const char*> tableNames)
{
    if (tableNames.size() > kMaxNames)
        throw std::length_error("too many attribute names");
    for (const char* tableName : tableNames) {
        const char* dollar = std::strchr(tableName, '$');
        Name& name = names_[count_++];
        name.longName = dollar ? std::string(tableName, dollar) : std::string(tableName);
        name.shortName = dollar ? std::string(dollar + 1) : std::string();
    }
}

AttributeNames::Values AttributeNames::read(pugi::xml_node element) const
{
    Values values;
    values.text.fill("");
    if (!isElement(element))
        return values;
    std::array<bool, kMaxNames> longSeen{};
    std::array<bool, kMaxNames> shortSeen{};
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        const char* value = a.value();
        for (size_t i = 0; i < count_; ++i) {
            const Name& n = names_[i];
            if (!longSeen[i] && n.longName[0] == name[0] &&
                std::strcmp(n.longName.c_str(), name) == 0) {
                longSeen[i] = true;
                if (*value)
                    values.text[i] = value;
                break;
            }
            if (!shortSeen[i] && !n.shortName.empty() && n.shortName[0] == name[0] &&
                std::strcmp(n.shortName.c_str(), name) == 0) {
                shortSeen[i] = true;
                // The long name's value wins wherever it stands; the short one only fills in.
                if (!*values.text[i])
                    values.text[i] = value;
                break;
            }
        }
    }
    return values;
}

} // namespace vs
