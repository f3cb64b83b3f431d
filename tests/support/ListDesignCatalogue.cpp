#include "support/ListDesignCatalogue.h"

namespace testsupport {

CCandyType* ListDesignCatalogue::addType(int id, int width, int height, int kind)
{
    CandyTypeInfo info;
    info.id = id;
    info.kind = kind;
    info.width = width;
    info.height = height;
    types.push_back(std::make_unique<CCandyType>(info, nullptr));
    return types.back().get();
}

CFacilityModel* ListDesignCatalogue::addModel(int id, int typeId, int width, int height, int kind)
{
    FacilityModelInfo info;
    info.id = id;
    info.typeId = typeId;
    info.width = width;
    info.height = height;
    info.kindAndFlags = kind;
    models.push_back(std::make_unique<CFacilityModel>(info, nullptr));
    return models.back().get();
}

void ListDesignCatalogue::addBuiltInModels()
{
    addModel(-1, -1, 0, 0, 0);
    addModel(-2, -2, 6000, 6000, 4);
    addModel(-3, -3, 6000, 2000, 5);
    addModel(-4, -4, 3000, 3000, 4);
    addModel(-5, -5, 3000, 3000, 3);
    addModel(-6, -4, 3000, 3000, 4);
    addModel(-7, -5, 4400, 2960, 3);
}

CCandyType* ListDesignCatalogue::candyType(int id)
{
    for (auto& type : types)
        if (id != 0 && type->id == id)
            return type.get();
    return nullptr;
}

CFacilityModel* ListDesignCatalogue::facilityModel(int id, int typeId)
{
    for (auto& model : models)
        if (model->id == id || (typeId != 0 && model->typeId == typeId))
            return model.get();
    return nullptr;
}

CFacilityModel* ListDesignCatalogue::builtInModel(size_t position)
{
    return position >= 1 && position <= models.size() ? models[position - 1].get() : nullptr;
}

} // namespace testsupport
