// Design text as people read it: indented two blanks a level, but only so deep, so that the
// text of a deeply nested design stays in proportion to its elements.
#pragma once

#include <pugixml.hpp>

#include <string>

namespace vhost {

/** Levels that get their own indentation; deeper elements are written on their ancestor's
 *  line at that level, whole. Real designs stay above it and come out fully indented. */
constexpr int kMaxIndentedLevels = 16;

/**
 * Returns `document` as UTF-8 XML: an XML declaration unless the document has its own, then
 * one node a line, indented two blanks a level, with these exceptions that keep the text
 * exact and its size linear: an element holding text is written whole on its line as parsed,
 * and an element at level kMaxIndentedLevels is written whole on one line.
 */
std::string indentedText(const pugi::xml_document& document);

/**
 * Returns the nesting level of the deepest element of `document` (the document element is
 * level 1), counting no further than limit + 1. Walks without recursion.
 */
int elementDepth(const pugi::xml_document& document, int limit);

} // namespace vhost
