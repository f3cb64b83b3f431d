// Module-side helpers over the BSTR and VARIANT layout of the public header.
#pragma once

#include "VantrelSolid.h"

#include <string>
#include <string_view>

namespace vs {

/** Allocates a BSTR holding `text`; throws std::bad_alloc when memory runs out. */
VsBstr allocBstr(std::u16string_view text);

/** Clears `variant` and stores `text` in it as a BSTR. When the BSTR cannot be allocated the
 *  variant becomes an error variant holding VS_E_OUTOFMEMORY and std::bad_alloc is thrown. */
void setVariantText(VsVariant* variant, std::u16string_view text);

/** Clears `variant` and makes it an error variant holding `code`. */
void setVariantError(VsVariant* variant, int32_t code);

/** The text a BSTR variant holds (empty for any other variant). */
std::u16string variantText(const VsVariant* variant);

} // namespace vs
