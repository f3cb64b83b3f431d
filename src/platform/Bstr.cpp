#include "platform/Bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

// The BSTR layout: a 32-bit byte count, the UTF-16 units, a zero unit. The pointer handed out
// points at the first unit, as on Windows, so hosts may read the length at ptr[-4].

extern "C" VsBstr VsSysAllocStringLen(const char16_t* text, uint32_t length)
{
    const uint64_t bytes = uint64_t(length) * sizeof(char16_t);
    if (bytes > std::numeric_limits<uint32_t>::max() - 16)
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(uint32_t) + bytes + 2));
    if (block == nullptr)
        return nullptr;
    const uint32_t count = static_cast<uint32_t>(bytes);
    std::memcpy(block, &count, sizeof count);
    auto* units = reinterpret_cast<char16_t*>(block + sizeof(uint32_t));
    if (text != nullptr)
        std::memcpy(units, text, bytes);
    units[length] = 0;
    return units;
}

extern "C" void VsSysFreeString(VsBstr text)
{
    if (text != nullptr)
        std::free(reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t));
}

extern "C" uint32_t VsSysStringLen(VsBstr text)
{
    if (text == nullptr)
        return 0;
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<unsigned char*>(text) - sizeof(uint32_t), sizeof bytes);
    return bytes / sizeof(char16_t);
}

extern "C" void VsVariantInit(VsVariant* variant)
{
    if (variant != nullptr)
        std::memset(variant, 0, sizeof *variant);
}

extern "C" void VsVariantClear(VsVariant* variant)
{
    if (variant == nullptr)
        return;
    if (variant->vt == VS_VT_BSTR)
        VsSysFreeString(variant->bstrVal);
    std::memset(variant, 0, sizeof *variant);
}

namespace vs {

VsBstr allocBstr(std::u16string_view text)
{
    if (text.size() > std::numeric_limits<uint32_t>::max() / 2)
        throw std::bad_alloc();
    VsBstr b = VsSysAllocStringLen(text.data(), static_cast<uint32_t>(text.size()));
    if (b == nullptr)
        throw std::bad_alloc();
    return b;
}

void setVariantError(VsVariant* variant, int32_t code)
{
    if (variant == nullptr)
        return;
    VsVariantClear(variant);
    variant->vt = VS_VT_ERROR;
    variant->scode = code;
}

void setVariantText(VsVariant* variant, std::u16string_view text)
{
    if (variant == nullptr)
        return;
    VsVariantClear(variant);
    try {
        VsBstr b = allocBstr(text);
        variant->vt = VS_VT_BSTR;
        variant->bstrVal = b;
    } catch (const std::bad_alloc&) {
        setVariantError(variant, VS_E_OUTOFMEMORY);
        throw;
    }
}

std::u16string variantText(const VsVariant* variant)
{
    if (variant == nullptr || variant->vt != VS_VT_BSTR || variant->bstrVal == nullptr)
        return {};
    return std::u16string(variant->bstrVal, VsSysStringLen(variant->bstrVal));
}

} // namespace vs
