// The two names of every element and attribute of the design format. The tables write them as
// one string "longName$_sh": a readable long name, "$", and a short name of an underscore and
// two characters ("viewMode$_dl"). A few names have no "$" and only one form ("fov",
// "visible"). Readers accept both forms, writers use the short one.
#pragma once

#include <pugixml.hpp>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace vs {

/** Returns the name a writer uses: the part after the "$", or the whole name without one. */
const char* writtenName(const char* tableName);

/**
 * Returns the text of the attribute `tableName` of `element`: the long-name attribute's value,
 * or, when that is empty or absent, the short-name attribute's value. A name without "$" is
 * looked up as it is. Gives "" (never null) when neither is there or `element` is not an
 * element.
 */
const char* attributeText(pugi::xml_node element, const char* tableName);

/** Returns true when attributeText(element, tableName) is not empty. */
bool hasAttribute(pugi::xml_node element, const char* tableName);

/**
 * Returns the first child element of `element` whose tag is the long or the short name of
 * `tableName` (exact, case-sensitive), or a null node.
 */
pugi::xml_node childElement(pugi::xml_node element, const char* tableName);

/**
 * Returns the items of the list `tableName` of `element`: every child node of the container, in
 * document order, whatever its tag. A node that is not an element reads as an item whose
 * attributes are all empty. A missing container gives an empty range.
 */
pugi::xml_object_range<pugi::xml_node_iterator> listItems(pugi::xml_node element,
                                                          const char* tableName);

/**
 * A fixed set of table names whose attributes are read together in one pass over an element's
 * attributes: the fast way for the many items of a design (tiles, hosts). Made once, used for
 * every item; at most kMaxNames names.
 */
class AttributeNames
{
public:
    static constexpr size_t kMaxNames = 16;

    /** The values of one element, in the order of the names; "" for empty or absent ones. */
    struct Values
    {
        std::array<const char*, kMaxNames> text{};
        /** Returns the value of name `i`. */
        const char* operator[](size_t i) const { return text[i]; }
    };

    /** Takes the table names ("long$_sh" or a single name); throws std::length_error for more
     *  than kMaxNames. */
    AttributeNames(std::initializer_list<const char*> tableNames);

    /** Returns, for each name, what attributeText(element, name) gives. */
    Values read(pugi::xml_node element) const;

private:
    struct Name
    {
        std::string longName;
        std::string shortName; ///< empty for a name without "$"
    };
    std::array<Name, kMaxNames> names_;
    size_t count_ = 0;
};

} // namespace vs
