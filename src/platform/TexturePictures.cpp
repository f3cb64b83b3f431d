#include "platform/TexturePictures.h"

#include <map>
#include <mutex>

namespace vs {

namespace {

struct Registry
{
    std::mutex mutex; // the render worker reads while the dialog thread may not write
    std::map<std::string, QImage> pictures;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

void rememberTexturePicture(const std::string& name, const QImage& picture)
{
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.pictures[name] = picture;
}

QImage texturePicture(const std::string& name)
{
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    const auto it = r.pictures.find(name);
    return it == r.pictures.end() ? QImage() : it->second;
}

void forgetTexturePictures()
{
    Registry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.pictures.clear();
}

} // namespace vs
