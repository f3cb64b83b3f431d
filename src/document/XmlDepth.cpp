#include "document/XmlDepth.h"

namespace vs {

int elementDepth(pugi::xml_node node, int limit)
{
    int deepest = 0;
    int depth = 0;
    pugi::xml_node at = node.first_child();
    while (at && at != node) {
        if (at.type() == pugi::node_element) {
            ++depth;
            if (depth > deepest) {
                deepest = depth;
                if (deepest > limit)
                    return deepest;
            }
            if (at.first_child()) {
                at = at.first_child();
                continue;
            }
            --depth;
        }
        // Up until a node with a next sibling, leaving each element passed.
        while (at != node && !at.next_sibling()) {
            at = at.parent();
            if (at != node && at.type() == pugi::node_element)
                --depth;
        }
        if (at != node)
            at = at.next_sibling();
    }
    return deepest;
}

} // namespace vs
