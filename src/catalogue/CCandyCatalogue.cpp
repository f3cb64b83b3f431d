#include "catalogue/CCandyCatalogue.h"

#include "catalogue/CSectionBarType.h"
#include "catalogue/HostCallbacks.h"

void CCandyCatalogue::addBuiltInKinds()
{
    kinds_.push_back(std::make_unique<CCandyKind>(1, "扣板"));
    kinds_.push_back(std::make_unique<CCandyKind>(2, "条扣板"));
    kinds_.push_back(std::make_unique<CCandyKind>(3, "电器"));
    kinds_.push_back(std::make_unique<CCandyKind>(4, "电器"));
    kinds_.push_back(std::make_unique<CCandyKind>(6, "艺术天花"));
}

void CCandyCatalogue::addCategory(int id, std::string name, int parentId, int order)
{
    auto c = std::make_unique<CCandyCategory>();
    c->id = id;
    c->name = std::move(name);
    c->parentId = parentId;
    c->order = order;
    categories_.push_back(std::move(c));
}

CCandyType* CCandyCatalogue::addType(const CandyTypeInfo& info)
{
    if (info.kind < 1 || info.kind > 8)
        return nullptr;
    std::unique_ptr<CCandyType> type;
    if (!info.profile.empty())
        type = std::make_unique<CSectionBarType>(info, callbacks_);
    else
        type = std::make_unique<CCandyType>(info, callbacks_);
    types_.push_back(std::move(type));
    return types_.back().get();
}

CCandyCategory* CCandyCatalogue::findCategory(int id) const
{
    for (const auto& c : categories_)
        if (c->id == id)
            return c.get();
    return nullptr;
}

CCandyKind* CCandyCatalogue::findKind(int id) const
{
    for (const auto& k : kinds_)
        if (k->id == id)
            return k.get();
    return nullptr;
}

CCandyKind* CCandyCatalogue::tabList(int index) const
{
    if (index < 0 || index >= 5 || static_cast<size_t>(index) >= kinds_.size())
        return nullptr;
    return kinds_[static_cast<size_t>(index)].get();
}

CCandyType* CCandyCatalogue::findType(int id)
{
    if (id == 0)
        return nullptr;
    for (const auto& t : types_)
        if (t->id == id)
            return t.get();
    if (callbacks_ == nullptr || callbacks_->requestCandyType == nullptr)
        return nullptr;
    callbacks_->requestCandyType(id);
    if (!types_.empty() && types_.back()->id == id)
        return types_.back().get();
    return nullptr;
}

void CCandyCatalogue::resetLinks()
{
    for (auto& c : categories_) {
        c->parent = nullptr;
        c->children.clear();
    }
    for (auto& t : types_)
        t->category = nullptr;
    for (auto& k : kinds_) {
        auto fresh = std::make_unique<CCandyKind>(k->id, k->name);
        k = std::move(fresh);
    }
}

void CCandyCatalogue::linkCategories()
{
    for (auto& c : categories_) {
        if (c->parentId == 0)
            continue;
        CCandyCategory* parent = findCategory(c->parentId);
        // A category that would become its own ancestor stays at the top level: a cycle in
        // the tree would make every walk over it endless.
        for (CCandyCategory* up = parent; up != nullptr; up = up->parent)
            if (up == c.get()) {
                parent = nullptr;
                break;
            }
        if (parent == nullptr)
            continue;
        c->parent = parent;
        parent->insertChild(c.get());
    }
}

void CCandyCatalogue::linkTypes()
{
    for (auto& t : types_) {
        t->category = t->categoryId != 0 ? findCategory(t->categoryId) : nullptr;
        if (t->kind == 5) {
            if (CCandyKind* k = findKind(3))
                k->addType(t.get());
            if (CCandyKind* k = findKind(4))
                k->addType(t.get());
        } else if (CCandyKind* k = findKind(t->kind)) {
            k->addType(t.get());
        }
    }
}

void CCandyCatalogue::link()
{
    resetLinks();
    linkCategories();
    linkTypes();
}

void CCandyCatalogue::clear()
{
    types_.clear();
    categories_.clear();
    kinds_.clear();
}
