// The exported C interface. Each export converts its arguments, runs its body through
// guardExport (no exception reaches the host) and leaves the work to the module's classes.
#include "VantrelSolid.h"

#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "platform/Bstr.h"
#include "platform/ExportGuard.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "plugin/PictureExport.h"
#include "plugin/RenderRun.h"
#include "plugin/SolidSample.h"
#include "plugin/StaticSample.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace {

CVantrelSolidApp& app()
{
    return CVantrelSolidApp::instance();
}

std::array<float, 3> threeFloats(const float* p, float scale)
{
    if (p == nullptr)
        return {0, 0, 0};
    return {p[0] * scale, p[1] * scale, p[2] * scale};
}

} // namespace

extern "C" {

void BeginPourMasterData(const char* homeDir, int32 catalogueOption, int32 /*mode*/,
                         VsFreeModelData freeModelData, VsGetModelData getModelData,
                         VsComposeDesignXml composeDesignXml, VsAddCeilingHost addCeilingHost,
                         VsMoveCeilingHost moveCeilingHost, VsDeleteCeilingHost deleteCeilingHost,
                         VsRotateCeilingHost rotateCeilingHost, VsLayTiles layTiles,
                         VsGetCandyTypeImages getCandyTypeImages,
                         VsChooseStaticSample chooseStaticSample,
                         VsGetCandyTypeTextures getCandyTypeTextures,
                         VsLoadStaticSample loadStaticSample,
                         VsSaveModelMaterials saveModelMaterials,
                         VsSetModelCategory setModelCategory)
{
    vs::guardExport("BeginPourMasterData", [&] {
        app().ensureUserInterface();
        app().beginPour(homeDir, catalogueOption);
        app().callbacks.setPourSlots(
            freeModelData, getModelData, composeDesignXml, addCeilingHost, moveCeilingHost,
            deleteCeilingHost, rotateCeilingHost, layTiles, getCandyTypeImages, chooseStaticSample,
            getCandyTypeTextures, loadStaticSample, saveModelMaterials, setModelCategory);
        app().addBuiltIns();
    });
}

int32 PostPourMasterData(void)
{
    int32 result = 0;
    vs::guardExport("PostPourMasterData", [&] { result = app().postPour() ? 1 : 0; });
    return result;
}

void ClearMasterData(void)
{
    vs::guardExport("ClearMasterData", [] { app().clearMasterData(); });
}

void AddCandyCategory(int32 id, const char* name, int32 parentId, int32 order)
{
    vs::guardExport("AddCandyCategory",
                    [&] { app().candies.addCategory(id, vs::hostToUtf8(name), parentId, order); });
}

void AddCandyType(int32 id, const char* name, int32 kind, int32 categoryId, int32 nominalWidth,
                  int32 nominalHeight, int32 width, int32 height, int32 rotateDegree, int32 listed,
                  int32 stripAcross, const void* picture, int32 pictureSize, int32 option14,
                  int32 tower, const char* profile)
{
    vs::guardExport("AddCandyType", [&] {
        CandyTypeInfo info;
        info.id = id;
        info.name = vs::hostToUtf8(name);
        info.kind = kind;
        info.categoryId = categoryId;
        info.nominalWidth = nominalWidth;
        info.nominalHeight = nominalHeight;
        info.width = width;
        info.height = height;
        info.rotateDegree = rotateDegree;
        info.listed = listed != 0;
        info.stripAcross = stripAcross != 0;
        info.pictureData = picture;
        info.pictureSize = pictureSize;
        info.option14 = option14;
        info.tower = tower;
        info.profile = vs::hostToUtf8(profile);
        app().candies.addType(info);
    });
}

void AddFacilityCategory(int32 id, int32 parentId, const char* name)
{
    vs::guardExport("AddFacilityCategory",
                    [&] { app().facilities.addCategory(id, parentId, vs::hostToUtf8(name)); });
}

void AddFacilityKind(int32, int32)
{
}

void AddFacilityType(int32, int32, int32, int32, int32)
{
}

void AddFacilityModel(int32 id, const char* name, int32 kindAndFlags, int32 listWidth,
                      int32 listHeight, const void* picture, int32 pictureSize, int32 width,
                      int32 height, const void* texturePicture, int32 texturePictureSize,
                      double modelLength, const float* baseRotation, double scaleX, double scaleY,
                      const float* naturalSize, int32 zUp, int32 categoryId, int32 typeId,
                      int32 option23, const char* defaultMaterials)
{
    vs::guardExport("AddFacilityModel", [&] {
        FacilityModelInfo info;
        info.id = id;
        info.name = vs::hostToUtf8(name);
        info.kindAndFlags = kindAndFlags;
        info.listWidth = listWidth;
        info.listHeight = listHeight;
        info.pictureData = picture;
        info.pictureSize = pictureSize;
        // Sizes arrive in millimetres and are kept in decimillimetres.
        info.width = static_cast<int32>(static_cast<int64_t>(width) * 10);
        info.height = static_cast<int32>(static_cast<int64_t>(height) * 10);
        info.texturePictureData = texturePicture;
        info.texturePictureSize = texturePictureSize;
        info.modelLength = modelLength * 10;
        info.baseRotation = threeFloats(baseRotation, 1.0f);
        info.scaleX = scaleX;
        info.scaleY = scaleY;
        info.naturalSize = threeFloats(naturalSize, 10.0f);
        info.zUp = zUp != 0;
        info.categoryId = categoryId;
        info.typeId = typeId;
        info.option23 = option23 != 0;
        info.defaultMaterials = vs::hostToUtf8(defaultMaterials);
        app().facilities.addModel(info);
    });
}

void ShowSolidDesignDialog(const char16_t* designXml, VsVariant* result)
{
    vs::ExportOutcome outcome = vs::guardExport("ShowSolidDesignDialog", [&] {
        app().ensureUserInterface();
        vs::CurrentDocumentScope scope;
        vs::openCurrentDocument(vs::utf16ToUtf8(designXml ? designXml : u""));
        vs::runDesignDialog(false);
        const std::string solid = vs::serialiseCurrentDocument();
        vs::setVariantText(result, vs::utf8ToUtf16(solid));
    });
    switch (outcome) {
    case vs::ExportOutcome::Done:
        break;
    case vs::ExportOutcome::InvalidInput:
        vs::setVariantError(result, VS_E_INVALIDARG);
        break;
    case vs::ExportOutcome::OutOfMemory:
        vs::setVariantError(result, VS_E_OUTOFMEMORY);
        break;
    case vs::ExportOutcome::Failed:
        vs::setVariantError(result, VS_E_FAIL);
        break;
    }
}

void RenderRoom(const char* homeDir, const char* roomName, VsFreeModelData freeModelData,
                VsGetModelData getModelData, VsRequestCandyType requestCandyType,
                VsGetCandyTypeImages getCandyTypeImages,
                VsGetCandyTypeTextures getCandyTypeTextures,
                VsRequestFacilityModel requestFacilityModel)
{
    vs::guardExport("RenderRoom", [&] {
        app().ensureUserInterface();
        app().homeDir = homeDir ? homeDir : "";
        app().renderRoomName = roomName ? roomName : "";
        app().callbacks.setRenderSlots(freeModelData, getModelData, requestCandyType,
                                       getCandyTypeImages, getCandyTypeTextures,
                                       requestFacilityModel);
        app().addBuiltIns();
        app().postPour();
        const std::string design =
            vs::readWholeFile(app().renderDir + app().renderRoomName + ".xml");
        vs::CurrentDocumentScope scope;
        // The stored file is the host's design text in its own code set.
        vs::openCurrentDocument(vs::hostToUtf8(design.c_str()));
        vs::runDesignDialog(true);
    });
}

void ApplySolidSample(int32 /*reserved*/, const char16_t* sampleXml, int32 sampleRotation,
                      int32 ceilingScale)
{
    vs::guardExport("ApplySolidSample", [&] {
        CSolidDocument* doc = vs::currentDocument();
        if (doc == nullptr)
            throw std::logic_error("no design is open");
        vs::applySolidSample(*doc, vs::utf16ToUtf8(sampleXml ? sampleXml : u""), sampleRotation,
                             ceilingScale);
    });
}

int32 ApplyStaticSolidSample(int32 sampleId, const void* picture, int32 pictureSize,
                             const void* block, int32 blockSize, const char16_t* polygonXml)
{
    vs::guardExport("ApplyStaticSolidSample", [&] {
        CSolidDocument* doc = vs::currentDocument();
        if (doc == nullptr)
            throw std::logic_error("no design is open");
        vs::applyStaticSample(*doc, sampleId, picture, pictureSize, block, blockSize,
                              vs::utf16ToUtf8(polygonXml ? polygonXml : u""));
    });
    return 0;
}

int32 ExportSolidPicture(const char16_t* designXml, const char* jpegPath, int32 width, int32 height,
                         int32 viewMode)
{
    const vs::ExportOutcome outcome = vs::guardExport("ExportSolidPicture", [&] {
        vs::exportSolidPicture(vs::utf16ToUtf8(designXml ? designXml : u""),
                               jpegPath ? std::string(jpegPath) : std::string(), width, height,
                               viewMode);
    });
    return outcome == vs::ExportOutcome::Done ? 1 : 0;
}

int32 ExportSolidRender(const char16_t* designXml, const char* imagePath, int32 width, int32 height,
                        int32 viewMode, int32 samplesPerSide, int32 shadows, int32 brightness)
{
    const vs::ExportOutcome outcome = vs::guardExport("ExportSolidRender", [&] {
        vs::exportSolidRender(vs::utf16ToUtf8(designXml ? designXml : u""),
                              imagePath ? std::string(imagePath) : std::string(), width, height,
                              viewMode, samplesPerSide, shadows != 0, brightness);
    });
    return outcome == vs::ExportOutcome::Done ? 1 : 0;
}

} // extern "C"
