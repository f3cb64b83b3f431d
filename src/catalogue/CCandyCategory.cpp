#include "catalogue/CCandyCategory.h"

#include "catalogue/CCandyType.h"

#include <algorithm>

void CCandyCategory::insertByOrder(std::vector<CCandyCategory*>& list, CCandyCategory* item)
{
    auto at = std::find_if(list.begin(), list.end(), [item](const CCandyCategory* c) {
        return c->order > item->order || (c->order == item->order && c->id > item->id);
    });
    list.insert(at, item);
}

bool CCandyCategory::hasListedTypes() const
{
    if (listedCount > 0)
        return true;
    return std::any_of(children.begin(), children.end(),
                       [](const CCandyCategory* c) { return c->hasListedTypes(); });
}
