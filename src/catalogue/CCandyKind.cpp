#include "catalogue/CCandyKind.h"

#include "catalogue/CCandyType.h"

#include <algorithm>

namespace {

void addSizeOnce(std::vector<IntSize>& sizes, IntSize size)
{
    if (std::find(sizes.begin(), sizes.end(), size) == sizes.end())
        sizes.push_back(size);
}

} // namespace

CCandyKind::CCandyKind(int kindId, std::string kindName) : id(kindId), name(std::move(kindName))
{
    auto root = std::make_unique<CCandyCategory>();
    root->id = 0;
    root->name = name;
    categories.push_back(std::move(root));
}

CCandyCategory* CCandyKind::findCategory(int categoryId) const
{
    for (const auto& c : categories)
        if (c->id == categoryId)
            return c.get();
    return nullptr;
}

IntSize CCandyKind::sizePairOf(const CCandyType& type) const
{
    if (id == 2)
        return {0, type.stripAcross ? type.width : type.height};
    return {type.width, type.height};
}

CCandyCategory* CCandyKind::copyOf(const CCandyCategory& source)
{
    auto copy = std::make_unique<CCandyCategory>();
    copy->id = source.id;
    copy->name = source.name;
    copy->parentId = source.parentId;
    copy->order = source.order;
    CCandyCategory* made = copy.get();

    if (source.parent != nullptr) {
        // Only one level of parents is copied: the parent's copy always sits at the top.
        CCandyCategory* parentCopy = findCategory(source.parentId);
        if (parentCopy == nullptr) {
            auto p = std::make_unique<CCandyCategory>();
            p->id = source.parent->id;
            p->name = source.parent->name;
            p->parentId = source.parent->parentId;
            p->order = source.parent->order;
            parentCopy = p.get();
            CCandyCategory::insertByOrder(topCategories, parentCopy);
            categories.push_back(std::move(p));
        }
        made->parent = parentCopy;
        parentCopy->insertChild(made);
    } else {
        CCandyCategory::insertByOrder(topCategories, made);
    }
    categories.push_back(std::move(copy));
    return made;
}

void CCandyKind::addType(CCandyType* type)
{
    const IntSize pair = sizePairOf(*type);
    types.push_back(type);
    if (type->listed) {
        ++listedCount;
        addSizeOnce(sizes, pair);
    }

    CCandyCategory* c = rootCategory();
    if (type->category != nullptr) {
        c = findCategory(type->category->id);
        if (c == nullptr)
            c = copyOf(*type->category);
    }
    c->types.push_back(type);
    if (type->listed) {
        ++c->listedCount;
        addSizeOnce(c->sizes, pair);
    }
}
