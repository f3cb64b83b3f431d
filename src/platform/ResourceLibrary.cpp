#include "platform/ResourceLibrary.h"

#include <dlfcn.h>

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsNoCase(const char* a, const std::string& b)
{
    if (!a)
        return false;
    size_t i = 0;
    for (; a[i] != '\0'; ++i) {
        if (i >= b.size() || lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return i == b.size();
}

void* loadLibrary(const std::string& path)
{
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

std::unique_ptr<ResourceLibrary> ResourceLibrary::open(const std::string& fileName)
{
    if (fileName.empty())
        return nullptr;
    std::string path = fileName;
    void* handle = nullptr;
    if (fileName.find('/') == std::string::npos) {
        path = "./" + fileName;
        handle = loadLibrary(path);
        if (!handle) {
            path = fileName;
            handle = loadLibrary(path);
        }
    } else {
        handle = loadLibrary(path);
    }
    if (!handle)
        return nullptr;

    auto tableFunction =
        reinterpret_cast<VsResourceTableFunction>(dlsym(handle, VS_RESOURCE_TABLE_SYMBOL));
    if (!tableFunction) {
        dlclose(handle);
        return nullptr;
    }
    uint32_t count = 0;
    const VsResourceEntry* table = tableFunction(&count);
    if (!table)
        count = 0;
    return std::unique_ptr<ResourceLibrary>(new ResourceLibrary(handle, path, table, count));
}

ResourceLibrary::ResourceLibrary(void* handle, std::string path, const VsResourceEntry* table,
                                 size_t count)
    : handle_(handle), path_(std::move(path)), table_(table), count_(count)
{
}

ResourceLibrary::~ResourceLibrary()
{
    dlclose(handle_);
}

const VsResourceEntry* ResourceLibrary::find(const std::string& type, const std::string& name) const
{
    for (size_t i = 0; i < count_; ++i) {
        const VsResourceEntry& entry = table_[i];
        if (equalsNoCase(entry.type, type) && equalsNoCase(entry.name, name))
            return &entry;
    }
    return nullptr;
}

std::vector<const VsResourceEntry*> ResourceLibrary::entries(const std::string& type) const
{
    std::vector<const VsResourceEntry*> found;
    for (size_t i = 0; i < count_; ++i) {
        if (equalsNoCase(table_[i].type, type))
            found.push_back(&table_[i]);
    }
    return found;
}
