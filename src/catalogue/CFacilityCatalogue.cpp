#include "catalogue/CFacilityCatalogue.h"

#include "catalogue/HostCallbacks.h"
#include "platform/ModuleResource.h"

#include <algorithm>

namespace {

struct BuiltInModel
{
    int id;
    const char* name;
    int kind;
    int listWidth, listHeight;
    int resource;
    int widthMm, heightMm;
    int categoryId;
    int typeId;
};

// The order matters: defaults take built-in models by their position in the list.
const BuiltInModel kBuiltIns[] = {
    {-1, "灯泡.jpg", 0, 0, 0, 136, 0, 0, -1, -1},
    {-2, "欧式瓷砖.bmp", 4, 50, 50, 137, 600, 600, 0, -2},
    {-3, "腰花.jpg", 5, 60, 20, 138, 600, 200, 0, -3},
    {-4, "华丽瓷砖.bmp", 4, 50, 50, 139, 300, 300, 0, -4},
    {-5, "地砖.jpg", 3, 50, 50, 140, 300, 300, 0, -5},
    {-6, "19729.jpg", 4, 50, 50, 2011, 300, 300, 0, -4},
    {-7, "33507.jpg", 3, 50, 50, 2012, 440, 296, 0, -5},
};

bool matches(const CFacilityModel& m, int id, int typeId)
{
    return m.id == id || (typeId != 0 && m.typeId == typeId);
}

} // namespace

void CFacilityCatalogue::addBuiltIns()
{
    addCategory(-1, 0, "光源");
    for (const BuiltInModel& b : kBuiltIns) {
        builtInPictures_.push_back(vs::moduleResource("IMG", b.resource));
        const QByteArray& bytes = builtInPictures_.back();
        FacilityModelInfo info;
        info.id = b.id;
        info.name = b.name;
        info.kindAndFlags = b.kind;
        info.listWidth = b.listWidth;
        info.listHeight = b.listHeight;
        info.pictureData = bytes.constData();
        info.pictureSize = static_cast<int>(bytes.size());
        if (b.id != -1) {
            info.texturePictureData = bytes.constData();
            info.texturePictureSize = static_cast<int>(bytes.size());
        }
        info.width = b.widthMm * 10;
        info.height = b.heightMm * 10;
        info.modelLength = 10; // 1 mm
        info.categoryId = b.categoryId;
        info.typeId = b.typeId;
        addModel(info);
    }
}

void CFacilityCatalogue::addCategory(int id, int parentId, std::string name)
{
    auto c = std::make_unique<CFacilityCategory>();
    c->id = id;
    c->parentId = parentId;
    c->name = std::move(name);
    categories_.push_back(std::move(c));
}

CFacilityModel* CFacilityCatalogue::addModel(const FacilityModelInfo& info)
{
    models_.push_back(std::make_unique<CFacilityModel>(info, callbacks_));
    return models_.back().get();
}

CFacilityCategory* CFacilityCatalogue::findCategory(int id) const
{
    for (const auto& c : categories_)
        if (c->id == id)
            return c.get();
    return nullptr;
}

void CFacilityCatalogue::link()
{
    topCategories_.clear();
    for (auto& c : categories_) {
        c->parent = nullptr;
        c->children.clear();
        c->models.clear();
    }
    for (auto& c : categories_) {
        CFacilityCategory* parent = c->parentId > 0 ? findCategory(c->parentId) : nullptr;
        // A category that would become its own ancestor stays at the top level.
        for (CFacilityCategory* up = parent; up != nullptr; up = up->parent)
            if (up == c.get()) {
                parent = nullptr;
                break;
            }
        if (parent != nullptr) {
            parent->children.push_back(c.get());
            c->parent = parent;
        } else {
            topCategories_.push_back(c.get());
        }
    }
    for (auto& m : models_) {
        m->category = findCategory(m->categoryId);
        if (m->category != nullptr)
            m->category->models.push_back(m.get());
    }
}

void CFacilityCatalogue::clear()
{
    models_.clear();
    topCategories_.clear();
    categories_.clear();
    builtInPictures_.clear();
}

CFacilityModel* CFacilityCatalogue::findModel(int id, int typeId)
{
    for (const auto& m : models_)
        if (matches(*m, id, typeId))
            return m.get();
    if (callbacks_ == nullptr || callbacks_->requestFacilityModel == nullptr)
        return nullptr;
    callbacks_->requestFacilityModel(id, typeId);
    if (!models_.empty() && matches(*models_.back(), id, typeId))
        return models_.back().get();
    return nullptr;
}

CFacilityModel* CFacilityCatalogue::modelAt(size_t position) const
{
    if (position < 1 || position > models_.size())
        return nullptr;
    return models_[position - 1].get();
}

void CFacilityCatalogue::moveModelToCategory(CFacilityModel* model, int categoryId)
{
    if (model == nullptr)
        return;
    const int current = model->category != nullptr ? model->category->id : model->categoryId;
    if (current == categoryId)
        return;
    if (callbacks_ != nullptr && callbacks_->setModelCategory != nullptr)
        callbacks_->setModelCategory(model->id, categoryId);
    CFacilityCategory* target = findCategory(categoryId);
    if (target != nullptr)
        target->models.push_back(model);
    if (model->category != nullptr) {
        auto& list = model->category->models;
        list.erase(std::remove(list.begin(), list.end(), model), list.end());
    }
    model->category = target;
    model->categoryId = categoryId;
}

void CFacilityCatalogue::releaseEngineObjects()
{
    for (auto& m : models_)
        m->releaseEngineObjects();
}
