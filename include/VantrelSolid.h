/*
 * VantrelSolid: the 3D design and visualisation module of the suspended-ceiling designer.
 *
 * A host loads libVantrelSolid.so (dlopen or link), pours its catalogues through the
 * Begin/Add/Post exports, then hands room designs to ShowSolidDesignDialog. Everything is
 * called on the host's user-interface thread, one call at a time.
 *
 * Conventions:
 *   - Lengths are decimillimetres (tenths of a millimetre) unless an argument says millimetres.
 *   - 8-bit strings are in the process locale's code set (LC_CTYPE; the "C" locale counts as
 *     UTF-8). Design and sample XML cross as UTF-16 (char16_t, zero-terminated).
 *   - No export throws or returns an error code: a failing call prints one line on stderr and
 *     returns without effect. ShowSolidDesignDialog then leaves an error variant in `result`.
 *   - Host memory handed to the module (pictures of AddCandyType and AddFacilityModel) must
 *     stay valid until ClearMasterData.
 */
#ifndef VANTREL_SOLID_H
#define VANTREL_SOLID_H

#include <stdint.h>

#if defined(__cplusplus) && __cplusplus >= 201103L
/* char16_t is a keyword in C++11 */
#else
#include <uchar.h>
#endif

#if defined(VANTREL_SOLID_BUILD)
#define VS_API __attribute__((visibility("default")))
#else
#define VS_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t int32;

/** Deepest element nesting a design text may have, the design element being level 1. The
 *  module refuses deeper text before reading anything of it (ShowSolidDesignDialog and
 *  ExportSolidPicture fail with a line on stderr); real designs stay below 20 levels, and the
 *  module's own limit of 64 nested ceiling planes or facility groups needs about 135. */
#define VS_MAX_DESIGN_DEPTH 256

/* ---------------------------------------------------------------------------------------
 * Strings and variants: the same layout as the Windows BSTR and VARIANT, so host code ports
 * unchanged. One allocator is shared by host and module through the helpers below.
 * ------------------------------------------------------------------------------------- */

/** UTF-16 text, zero-terminated, preceded in memory by a 32-bit byte count. */
typedef char16_t* VsBstr;

#define VS_VT_EMPTY 0
#define VS_VT_BSTR 8
#define VS_VT_ERROR 10

typedef struct VsVariant
{
    uint16_t vt; /* VS_VT_EMPTY, VS_VT_BSTR or VS_VT_ERROR */
    uint16_t reserved1, reserved2, reserved3;
    union {
        VsBstr bstrVal;
        int32_t scode;
        int64_t llVal;
        double dblVal;
        void* byref;
        unsigned char pad[16];
    };
} VsVariant; /* 24 bytes */

#define VS_E_OUTOFMEMORY ((int32_t)0x8007000E)
#define VS_E_INVALIDARG ((int32_t)0x80070057)
#define VS_E_FAIL ((int32_t)0x80004005)

/** Allocates a BSTR holding `length` UTF-16 units copied from `text` (uninitialised, but
 *  zero-terminated, when `text` is null). Returns null when memory runs out. */
VS_API VsBstr VsSysAllocStringLen(const char16_t* text, uint32_t length);
/** Frees a BSTR made by VsSysAllocStringLen; null is allowed. */
VS_API void VsSysFreeString(VsBstr text);
/** Returns the number of UTF-16 units of a BSTR (0 for null). */
VS_API uint32_t VsSysStringLen(VsBstr text);
/** Makes a variant empty without freeing anything it held. */
VS_API void VsVariantInit(VsVariant* variant);
/** Frees the BSTR a variant holds, if any, and makes it empty. */
VS_API void VsVariantClear(VsVariant* variant);

/* ---------------------------------------------------------------------------------------
 * Host callbacks. BeginPourMasterData gives fourteen, RenderRoom six; a later call
 * overwrites only the slots it gives. Only RequestCandyType and RequestFacilityModel may be
 * null; the module calls the others without testing.
 * ------------------------------------------------------------------------------------- */

/** Frees a block handed out by VsGetModelData. Called for every block, whatever its format. */
typedef void (*VsFreeModelData)(void* block);
/** Hands out a facility model's mesh: a 32-bit format code (1 = 3DS, 2 = DirectX .x)
 *  followed by the file's bytes; `blockSize` counts the code too. */
typedef void (*VsGetModelData)(int32 modelId, void** block, int32* blockSize);
/** Merges the given `solid` element into the whole design and returns it as a BSTR. */
typedef void (*VsComposeDesignXml)(const char* solidXml, VsVariant* design);
/** A hosted item (lamp, vent) was placed on a ceiling plane: (x, y) are decimillimetres when
 *  `isFree` is 1, else column and row. Returns the new host's id. */
typedef int32 (*VsAddCeilingHost)(int32 planeId, int32 hostTypeId, double x, double y,
                                  int32 rotateDegree, int32 isFree);
/** A host was moved by (dx, dy): decimillimetres when free, cells otherwise. Return non-zero
 *  to accept the move. */
typedef int32 (*VsMoveCeilingHost)(int32 planeId, int32 hostId, double dx, double dy);
/** A host was removed from a ceiling plane. */
typedef void (*VsDeleteCeilingHost)(int32 planeId, int32 hostId);
/** A host was turned by 90 (clockwise) or 270 (counter-clockwise) degrees. */
typedef void (*VsRotateCeilingHost)(int32 planeId, int32 hostId, int32 degrees);
/** Tiles were laid over every combination of a column entry and a row entry. Each range
 *  text is "first,second" followed by ",index,value" for each of its entries. */
typedef void (*VsLayTiles)(int32 planeId, int32 tileTypeId, int32 rotateDegree,
                           const char* colsText, const char* rowsText);
/** Hands out a panel type's two plan pictures (image file bytes; size 0 = none). The bytes
 *  need only stay valid for the duration of the call; the module copies what it decodes. */
typedef void (*VsGetCandyTypeImages)(int32 typeId, const void** data1, int32* size1,
                                     const void** data2, int32* size2);
/** The design dialog's static-sample option changed (1 on, 0 off), or the user asked for the
 *  change-top view without a sample (1). The host may call ApplyStaticSolidSample. */
typedef int32 (*VsChooseStaticSample)(int32 on);
/** Hands out one of a panel type's four side textures (index 0 to 3). */
typedef void (*VsGetCandyTypeTextures)(int32 typeId, int32 index, const void** data, int32* size);
/** A design with a static sample was read; the host answers with ApplyStaticSolidSample. */
typedef void (*VsLoadStaticSample)(int32 sampleId);
/** The user stored a facility's materials (a "customMaterials" element) as its model's. */
typedef void (*VsSaveModelMaterials)(int32 modelId, const char* materialsXml);
/** The user moved a facility model to another category. */
typedef void (*VsSetModelCategory)(int32 modelId, int32 categoryId);
/** The module needs a panel type it does not hold: call AddCandyType for it. */
typedef void (*VsRequestCandyType)(int32 typeId);
/** The module needs a facility model it does not hold (by id, or by type id when non-zero):
 *  call AddFacilityModel for it. */
typedef void (*VsRequestFacilityModel)(int32 modelId, int32 typeId);

/* ---------------------------------------------------------------------------------------
 * Pouring the master data.
 * ------------------------------------------------------------------------------------- */

/** Starts a pour: stores `homeDir` (with a trailing "/"), `catalogueOption` (92 hides the
 *  "all" entry of the dialog's category list), the callbacks, and creates the built-in panel
 *  kinds and facility models. `mode` is accepted and has no effect. */
VS_API void BeginPourMasterData(
    const char* homeDir, int32 catalogueOption, int32 mode, VsFreeModelData freeModelData,
    VsGetModelData getModelData, VsComposeDesignXml composeDesignXml,
    VsAddCeilingHost addCeilingHost, VsMoveCeilingHost moveCeilingHost,
    VsDeleteCeilingHost deleteCeilingHost, VsRotateCeilingHost rotateCeilingHost,
    VsLayTiles layTiles, VsGetCandyTypeImages getCandyTypeImages,
    VsChooseStaticSample chooseStaticSample, VsGetCandyTypeTextures getCandyTypeTextures,
    VsLoadStaticSample loadStaticSample, VsSaveModelMaterials saveModelMaterials,
    VsSetModelCategory setModelCategory);
/** Ends a pour: links the catalogues, sets PIXIEHOME to homeDir and creates homeDir + "Render/"
 *  and homeDir + "Render2/". Returns non-zero when "Render2/" exists afterwards. */
VS_API int32 PostPourMasterData(void);
/** Drops both catalogues. Callbacks and directories are kept. */
VS_API void ClearMasterData(void);
/** Adds a panel category; `parentId` 0 is top level, `order` sorts siblings. */
VS_API void AddCandyCategory(int32 id, const char* name, int32 parentId, int32 order);
/** Adds a panel type of `kind` 1 to 8 (other kinds are ignored). A non-empty `profile` makes it
 *  a section-bar type. `option14` non-zero: the type is placed freely. */
VS_API void AddCandyType(int32 id, const char* name, int32 kind, int32 categoryId,
                         int32 nominalWidth, int32 nominalHeight, int32 width, int32 height,
                         int32 rotateDegree, int32 listed, int32 stripAcross, const void* picture,
                         int32 pictureSize, int32 option14, int32 tower, const char* profile);
/** Adds a facility category; `parentId` <= 0 is top level. */
VS_API void AddFacilityCategory(int32 id, int32 parentId, const char* name);
/** Accepted and ignored. */
VS_API void AddFacilityKind(int32 a, int32 b);
/** Accepted and ignored. */
VS_API void AddFacilityType(int32 a, int32 b, int32 c, int32 d, int32 e);
/** Adds a facility model. Sizes are millimetres; `kindAndFlags` holds the kind in its low and
 *  flag bits in its high 16 bits; `baseRotation` (degrees) and `naturalSize` point to three
 *  floats or are null. */
VS_API void AddFacilityModel(int32 id, const char* name, int32 kindAndFlags, int32 listWidth,
                             int32 listHeight, const void* picture, int32 pictureSize, int32 width,
                             int32 height, const void* texturePicture, int32 texturePictureSize,
                             double modelLength, const float* baseRotation, double scaleX,
                             double scaleY, const float* naturalSize, int32 zUp, int32 categoryId,
                             int32 typeId, int32 option23, const char* defaultMaterials);

/* ---------------------------------------------------------------------------------------
 * Design runs and samples.
 * ------------------------------------------------------------------------------------- */

/** Shows the modal design dialog on `designXml` (null or empty: a default room) and returns
 *  the design's `solid` element as a BSTR in `result`, or an error variant. Needs an earlier
 *  BeginPourMasterData. */
VS_API void ShowSolidDesignDialog(const char16_t* designXml, VsVariant* result);
/** Renders the stored design homeDir + "Render/" + roomName + ".xml" (the render program's
 *  entry). Creates the built-in entries and runs PostPourMasterData itself. */
VS_API void RenderRoom(const char* homeDir, const char* roomName, VsFreeModelData freeModelData,
                       VsGetModelData getModelData, VsRequestCandyType requestCandyType,
                       VsGetCandyTypeImages getCandyTypeImages,
                       VsGetCandyTypeTextures getCandyTypeTextures,
                       VsRequestFacilityModel requestFacilityModel);
/** Maps a stored sample design onto the open room, turned by `sampleRotation` degrees. Only
 *  meaningful during a design run. */
VS_API void ApplySolidSample(int32 reserved, const char16_t* sampleXml, int32 sampleRotation,
                             int32 ceilingScale);
/** Supplies the open design's static sample: the room photo, the mask block (six 32-bit
 *  integers, then an image file; the rectangle is left, top, width, height at [1] to [4]) and
 *  the ceiling polygons as XML. Only meaningful during a design run. The result carries no
 *  information. */
VS_API int32 ApplyStaticSolidSample(int32 sampleId, const void* picture, int32 pictureSize,
                                    const void* block, int32 blockSize, const char16_t* polygonXml);
/** Draws a design into a `width` x `height` JPEG without showing anything (`viewMode` 4 globe,
 *  5 first person, 6 change top). Returns 1 on success, 0 with a line on stderr otherwise (a
 *  design whose outline encloses no area has nothing to draw and fails). The file is replaced
 *  atomically: whatever happens, `jpegPath` holds the earlier picture or the new one. */
VS_API int32 ExportSolidPicture(const char16_t* designXml, const char* jpegPath, int32 width,
                                int32 height, int32 viewMode);
/** Renders a design photo-realistically with the RenderMan renderer beside the host (libri.so
 *  in the home directory), in the calling process, without any window or X display: the scene
 *  and view of ExportSolidPicture, `samplesPerSide` x `samplesPerSide` pixel samples (1..64),
 *  a shadow pass when `shadows` is non-zero, `brightness` 0..100 (50 is the render dialog's
 *  default). The picture goes to `imagePath` as TIFF, PNG or JPEG by its extension, written
 *  whole: a failed render leaves no file and an older one unchanged. A path ending in ".rib"
 *  gets the RenderMan scene instead (the shadow pass as the frame before the main one, the
 *  textures it names beside it; no renderer needed). Needs a completed pour.
 *  Returns 1, or 0 with one line on stderr saying why. */
VS_API int32 ExportSolidRender(const char16_t* designXml, const char* imagePath, int32 width,
                               int32 height, int32 viewMode, int32 samplesPerSide, int32 shadows,
                               int32 brightness);

#ifdef __cplusplus
}
#endif

#endif /* VANTREL_SOLID_H */
