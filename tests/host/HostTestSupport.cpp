#include "HostTestSupport.h"

#include <QBuffer>
#include <QImage>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace hosttest {
namespace fs = std::filesystem;

ScratchDir::ScratchDir()
{
    std::string pattern = (fs::temp_directory_path() / "vantrel-host-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchDir::write(const std::string& relative, const std::string& bytes) const
{
    const fs::path file = fs::path(path_) / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

std::string smallIndex(const std::string& extraTypes, const std::string& extraModels)
{
    return R"(<pack>
  <panelKinds><kind id="1" name="Clip-in"/><kind id="7" name="Bars"/></panelKinds>
  <panelCategories><category id="10" name="Panels" order="1"/></panelCategories>
  <panelTypes>
    <type id="1101" name="Panel" kind="1" category="10" nominalWidth="3000" nominalHeight="3000"
          width="3000" height="3000" plan="p/plan.png" plan2="p/plan2.png" texture0="p/side.png"
          texture2="p/side.png"/>
)" + extraTypes +
           R"(  </panelTypes>
  <facilityCategories><category id="1" name="Furniture"><category id="11" name="Brand"/></category></facilityCategories>
  <models>
    <model id="5101" name="Table" kind="1" flags="4" category="11" width="1200" height="800"
           picture="p/plan.png" texture="p/side.png" mesh="m/table.x" naturalSize="1,2,3"/>
)" + extraModels +
           R"(  </models>
  <staticSamples>
    <sample id="1" name="Room" photo="p/plan.png" mask="p/side.png" maskRect="1,2,30,40" polygons="s/poly.xml"/>
  </staticSamples>
</pack>
)";
}

std::string writeSmallPack(const ScratchDir& dir, const std::string& extraTypes,
                           const std::string& extraModels)
{
    dir.write("pack/p/plan.png", pngBytes(8, 8));
    dir.write("pack/p/plan2.png", pngBytes(6, 6));
    dir.write("pack/p/side.png", pngBytes(2, 2));
    dir.write("pack/m/table.x", "xof 0303txt 0032\nMesh m { 0;; 0;; }\n");
    dir.write("pack/s/poly.xml", "<s><polygons><p points=\"0,0 1,0 1,1\"/></polygons></s>");
    return dir.write("pack/index.xml", smallIndex(extraTypes, extraModels));
}

// ---- The stand-in module -----------------------------------------------------------------

namespace {

ModuleLog g_log;

void beginPour(const char* home, int32, int32, VsFreeModelData, VsGetModelData, VsComposeDesignXml,
               VsAddCeilingHost, VsMoveCeilingHost, VsDeleteCeilingHost, VsRotateCeilingHost,
               VsLayTiles, VsGetCandyTypeImages, VsChooseStaticSample, VsGetCandyTypeTextures,
               VsLoadStaticSample, VsSaveModelMaterials, VsSetModelCategory)
{
    g_log.calls.push_back("BeginPourMasterData");
    g_log.homeDirs.push_back(home ? home : "");
}
int32 postPour()
{
    g_log.calls.push_back("PostPourMasterData");
    return 1;
}
void clearMaster()
{
    g_log.calls.push_back("ClearMasterData");
}
void addCandyCategory(int32, const char*, int32, int32)
{
    g_log.calls.push_back("AddCandyCategory");
}
void addCandyType(int32 id, const char*, int32, int32, int32, int32, int32, int32, int32, int32,
                  int32, const void* picture, int32 size, int32, int32, const char* profile)
{
    g_log.calls.push_back("AddCandyType");
    g_log.candyTypeIds.push_back(id);
    g_log.candyTypePictures.push_back(picture);
    g_log.candyTypePictureSizes.push_back(size);
    g_log.candyTypeProfiles.push_back(profile ? profile : "");
}
void addFacilityCategory(int32, int32, const char*)
{
    g_log.calls.push_back("AddFacilityCategory");
}
void addFacilityModel(int32 id, const char*, int32 kindAndFlags, int32, int32, const void* picture,
                      int32, int32, int32, const void*, int32, double, const float*, double, double,
                      const float*, int32, int32 categoryId, int32, int32, const char* materials)
{
    g_log.calls.push_back("AddFacilityModel");
    g_log.modelIds.push_back(id);
    g_log.modelCategories.push_back(categoryId);
    g_log.modelMaterials.push_back(materials ? materials : "");
    g_log.modelPictures.push_back(picture);
    g_log.modelKindAndFlags.push_back(kindAndFlags);
}

VsBstr allocString(const char16_t* text, uint32_t length)
{
    auto* block = static_cast<uint32_t*>(std::malloc(4 + 2 * (size_t(length) + 1)));
    block[0] = length * 2;
    auto* chars = reinterpret_cast<char16_t*>(block + 1);
    if (text)
        std::memcpy(chars, text, 2 * size_t(length));
    chars[length] = 0;
    return chars;
}
uint32_t stringLen(VsBstr s)
{
    return s ? reinterpret_cast<uint32_t*>(s)[-1] / 2 : 0;
}
void variantInit(VsVariant* v)
{
    std::memset(v, 0, sizeof *v);
}
void variantClear(VsVariant* v)
{
    if (v->vt == VS_VT_BSTR && v->bstrVal)
        std::free(reinterpret_cast<uint32_t*>(v->bstrVal) - 1);
    std::memset(v, 0, sizeof *v);
}

void showDialog(const char16_t* design, VsVariant* result)
{
    g_log.calls.push_back("ShowSolidDesignDialog");
    g_log.designText = design ? design : u"";
    variantClear(result);
    if (g_log.returnError) {
        result->vt = VS_VT_ERROR;
        result->scode = VS_E_INVALIDARG;
        return;
    }
    result->vt = VS_VT_BSTR;
    result->bstrVal = allocString(g_log.returnedSolid.data(), uint32_t(g_log.returnedSolid.size()));
}
void renderRoom(const char*, const char*, VsFreeModelData, VsGetModelData, VsRequestCandyType,
                VsGetCandyTypeImages, VsGetCandyTypeTextures, VsRequestFacilityModel)
{
    g_log.calls.push_back("RenderRoom");
}
int32 applyStatic(int32 id, const void*, int32 pictureSize, const void* block, int32 blockSize,
                  const char16_t* polygons)
{
    g_log.calls.push_back("ApplyStaticSolidSample");
    g_log.sampleIds.push_back(id);
    g_log.samplePictureSize = pictureSize;
    const auto* b = static_cast<const uint8_t*>(block);
    g_log.sampleBlocks.emplace_back(b, b + blockSize);
    g_log.samplePolygons.push_back(polygons ? polygons : u"");
    return 0;
}
void applySolid(int32, const char16_t* sampleXml, int32 rotation, int32 ceilingScale)
{
    g_log.calls.push_back("ApplySolidSample");
    g_log.solidSamples.push_back({sampleXml ? sampleXml : u"", rotation, ceilingScale});
}

} // namespace

ModuleLog& moduleLog()
{
    return g_log;
}

vhost::ModuleExports fakeModule()
{
    g_log = ModuleLog();
    vhost::ModuleExports m;
    m.BeginPourMasterData = beginPour;
    m.PostPourMasterData = postPour;
    m.ClearMasterData = clearMaster;
    m.AddCandyCategory = addCandyCategory;
    m.AddCandyType = addCandyType;
    m.AddFacilityCategory = addFacilityCategory;
    m.AddFacilityModel = addFacilityModel;
    m.ShowSolidDesignDialog = showDialog;
    m.RenderRoom = renderRoom;
    m.ApplyStaticSolidSample = applyStatic;
    m.ApplySolidSample = applySolid;
    m.VsSysAllocStringLen = allocString;
    m.VsSysStringLen = stringLen;
    m.VsVariantInit = variantInit;
    m.VsVariantClear = variantClear;
    return m;
}

} // namespace hosttest
