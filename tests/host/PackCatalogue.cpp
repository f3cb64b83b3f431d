#include "PackCatalogue.h"

#include <cstring>
#include <stdexcept>

namespace testsupport {
namespace {

const vhost::CataloguePack* servedPack = nullptr;

void getImages(int32 id, const void** d1, int32* s1, const void** d2, int32* s2)
{
    const vhost::PackCandyType* t = servedPack ? servedPack->candyType(id) : nullptr;
    *d1 = t ? vhost::bytesData(t->plan) : nullptr;
    *s1 = t ? vhost::bytesSize(t->plan) : 0;
    *d2 = t ? vhost::bytesData(t->plan2) : nullptr;
    *s2 = t ? vhost::bytesSize(t->plan2) : 0;
}

void getTextures(int32 id, int32 index, const void** d, int32* s)
{
    const vhost::PackCandyType* t = servedPack ? servedPack->candyType(id) : nullptr;
    const bool ok = t && index >= 0 && index < 4;
    *d = ok ? vhost::bytesData(t->textures[static_cast<size_t>(index)]) : nullptr;
    *s = ok ? vhost::bytesSize(t->textures[static_cast<size_t>(index)]) : 0;
}

void getModel(int32 id, void** block, int32* size)
{
    const vhost::PackModel* m = servedPack ? servedPack->model(id) : nullptr;
    *block = nullptr;
    *size = 0;
    if (!m || !m->mesh)
        return;
    auto* bytes = new unsigned char[m->mesh->size() + 4];
    const int32_t code = m->meshFormat;
    std::memcpy(bytes, &code, 4);
    std::memcpy(bytes + 4, m->mesh->data(), m->mesh->size());
    *block = bytes;
    *size = static_cast<int32>(m->mesh->size() + 4);
}

void freeModel(void* block)
{
    delete[] static_cast<unsigned char*>(block);
}

} // namespace

std::string bundledPackIndex()
{
    return std::string(VS_TEST_SOURCE_DIR) + "/data/pack/index.xml";
}

PackCatalogue::PackCatalogue(const vhost::CataloguePack& pack)
{
    if (servedPack != nullptr)
        throw std::logic_error("one PackCatalogue at a time");
    servedPack = &pack;
    callbacks.getCandyTypeImages = getImages;
    callbacks.getCandyTypeTextures = getTextures;
    callbacks.getModelData = getModel;
    callbacks.freeModelData = freeModel;
    candies.addBuiltInKinds();
    facilities.addBuiltIns();
    for (const auto& c : pack.candyCategories())
        candies.addCategory(c.id, c.name, c.parentId, c.order);
    for (const auto& t : pack.candyTypes()) {
        CandyTypeInfo info;
        info.id = t.id;
        info.name = t.name;
        info.kind = t.kind;
        info.categoryId = t.categoryId;
        info.nominalWidth = t.nominalWidth;
        info.nominalHeight = t.nominalHeight;
        info.width = t.width;
        info.height = t.height;
        info.rotateDegree = t.rotateDegree;
        info.listed = t.listed;
        info.stripAcross = t.stripAcross;
        info.pictureData = vhost::bytesData(t.plan);
        info.pictureSize = vhost::bytesSize(t.plan);
        info.tower = t.tower;
        info.option14 = t.option14;
        info.profile = t.profile;
        candies.addType(info);
    }
    for (const auto& c : pack.facilityCategories())
        facilities.addCategory(c.id, c.parentId, c.name);
    for (const auto& m : pack.models()) {
        FacilityModelInfo info;
        info.id = m.id;
        info.name = m.name;
        info.kindAndFlags = m.kind | (m.flags << 16);
        info.listWidth = m.listWidth;
        info.listHeight = m.listHeight;
        info.pictureData = vhost::bytesData(m.picture);
        info.pictureSize = vhost::bytesSize(m.picture);
        info.texturePictureData = vhost::bytesData(m.texture);
        info.texturePictureSize = vhost::bytesSize(m.texture);
        info.width = m.width * 10;
        info.height = m.height * 10;
        info.modelLength = m.length * 10;
        if (m.baseRotation)
            info.baseRotation = *m.baseRotation;
        if (m.naturalSize)
            info.naturalSize = {(*m.naturalSize)[0] * 10, (*m.naturalSize)[1] * 10,
                                (*m.naturalSize)[2] * 10};
        info.scaleX = m.scaleX;
        info.scaleY = m.scaleY;
        info.zUp = m.zUp;
        info.categoryId = m.categoryId;
        info.typeId = m.typeId;
        info.option23 = m.option23;
        info.defaultMaterials = m.defaultMaterials;
        facilities.addModel(info);
    }
    candies.link();
    facilities.link();
}

PackCatalogue::~PackCatalogue()
{
    facilities.releaseEngineObjects();
    servedPack = nullptr;
}

} // namespace testsupport
