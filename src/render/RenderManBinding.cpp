#include "render/RenderManBinding.h"

#include <climits>
#include <dlfcn.h>
#include <unistd.h>

namespace vs {

namespace {

const char* const kNames[] = {
#define VS_RI_NAME(name) #name,
    VS_RI_PROCEDURES(VS_RI_NAME)
#undef VS_RI_NAME
};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == static_cast<size_t>(RiSlot::Count),
              "one name per slot");

void* openLibrary(const std::string& library)
{
    if (library.find('/') == std::string::npos) {
        // By its full path: the loader takes a name it has loaded before ("./libri.so" of
        // another directory) for the library it already holds.
        char directory[PATH_MAX];
        if (::getcwd(directory, sizeof directory) != nullptr) {
            const std::string local = std::string(directory) + "/" + library;
            if (::access(local.c_str(), F_OK) == 0)
                return ::dlopen(local.c_str(), RTLD_NOW | RTLD_LOCAL);
        }
    }
    return ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
}

} // namespace

RenderManBinding& RenderManBinding::instance()
{
    static RenderManBinding binding;
    return binding;
}

const char* RenderManBinding::name(RiSlot slot)
{
    const auto index = static_cast<size_t>(slot);
    return index < static_cast<size_t>(RiSlot::Count) ? kNames[index] : "";
}

bool RenderManBinding::load(const std::string& library)
{
    void* handle = openLibrary(library);
    if (handle == nullptr)
        return false;
    handle_ = handle;
    for (size_t i = 0; i < slots_.size(); ++i)
        slots_[i] = ::dlsym(handle, kNames[i]);
    return true;
}

void RenderManBinding::reset()
{
    handle_ = nullptr;
    slots_.fill(nullptr);
}

} // namespace vs
