// The renderer's RenderMan Interface procedures, resolved by name from the renderer library
// loaded at run time. One module-wide table, never released: a procedure the library does not
// export leaves its slot null.
#pragma once

#include "render/RenderManProcedures.h"
#include "render/RiTypes.h"

#include <array>
#include <string>

namespace vs {

/** Index of each procedure slot, in lookup order. */
enum class RiSlot : int {
#define VS_RI_ENUM(name) name,
    VS_RI_PROCEDURES(VS_RI_ENUM)
#undef VS_RI_ENUM
        Count
};

/** Number of procedures of the RenderMan Interface itself (without our extension). */
constexpr int kRiInterfaceProcedureCount = static_cast<int>(RiSlot::RiProgressHandler);

// The C binding's signatures of the procedures the module calls.
using RiBeginFunc = RtVoid (*)(RtToken name);
using RiVoidFunc = RtVoid (*)();
using RiFormatFunc = RtVoid (*)(RtInt xresolution, RtInt yresolution, RtFloat pixelaspect);
using RiTokenListFunc = RtVoid (*)(RtToken name, ...);
using RiLightSourceFunc = RtLightHandle (*)(RtToken name, ...);
using RiPixelSamplesFunc = RtVoid (*)(RtFloat xsamples, RtFloat ysamples);
using RiPixelFilterFunc = RtVoid (*)(RtFilterFunc filter, RtFloat xwidth, RtFloat ywidth);
using RiDisplayFunc = RtVoid (*)(char* name, RtToken type, RtToken mode, ...);
using RiFloatFunc = RtVoid (*)(RtFloat value);
using RiMatrixFunc = RtVoid (*)(RtMatrix transform);
using RiColorFunc = RtVoid (*)(RtColor color);
using RiIlluminateFunc = RtVoid (*)(RtLightHandle light, RtBoolean onoff);
using RiPolygonFunc = RtVoid (*)(RtInt nvertices, ...);
using RiMakeTextureFunc = RtVoid (*)(char* picturename, char* texturename, RtToken swrap,
                                     RtToken twrap, RtFilterFunc filterfunc, RtFloat swidth,
                                     RtFloat twidth, ...);
using RiMakeShadowFunc = RtVoid (*)(char* picturename, char* texturename, ...);
using RiErrorHandlerFunc = RtVoid (*)(RtErrorHandler handler);
using RiProgressHandlerFunc = RtVoid (*)(RtProgressFunc func, RtPointer data);

class RenderManBinding
{
public:
    /** The module's one binding. */
    static RenderManBinding& instance();

    /** The name of a slot's procedure, as the library exports it. */
    static const char* name(RiSlot slot);

    /**
     * Loads `library` (a name without '/' is looked for in the current directory first, then
     * by the loader's search path) and looks up every procedure in slot order. Returns false,
     * leaving the slots as they were, when the library cannot be loaded. The library is never
     * unloaded; loading it again returns the same handle and looks the slots up again.
     */
    bool load(const std::string& library);

    /** The loaded library, or null before the first successful load. */
    void* handle() const { return handle_; }
    /** The address in `slot`, or null. */
    void* address(RiSlot slot) const { return slots_[static_cast<size_t>(slot)]; }
    /** True when the slot holds an address. */
    bool has(RiSlot slot) const { return address(slot) != nullptr; }
    /** The procedure in `slot` with the signature F; null when the library lacks it. */
    template <class F> F procedure(RiSlot slot) const { return reinterpret_cast<F>(address(slot)); }
    /** The filter procedure in `slot` (RiBoxFilter, RiCatmullRomFilter, ...) as a value. */
    RtFilterFunc filter(RiSlot slot) const { return procedure<RtFilterFunc>(slot); }

    /** Every slot's address, to be put back with restore. */
    using Slots = std::array<void*, static_cast<size_t>(RiSlot::Count)>;
    Slots snapshot() const { return slots_; }
    /** Puts `saved` (from snapshot(), or filled by a writer of RenderMan files) in place. */
    void restore(const Slots& saved) { slots_ = saved; }

    /** Forgets the library and empties every slot (tests only: the library stays loaded). */
    void reset();

private:
    RenderManBinding() = default;

    void* handle_ = nullptr;
    std::array<void*, static_cast<size_t>(RiSlot::Count)> slots_{};
};

} // namespace vs
