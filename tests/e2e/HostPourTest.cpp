// Drives the built library exactly as a host does: dlopen, dlsym by name, recording callbacks.
// Nothing of the module is linked in.
#include "VantrelSolid.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Log
{
    std::vector<std::string> calls;
    void add(const std::string& c) { calls.push_back(c); }
    bool has(const std::string& prefix) const
    {
        for (const auto& c : calls)
            if (c.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
};
Log hostLog;

void freeModelData(void*)
{
    hostLog.add("FreeModelData");
}
void getModelData(int32, void** b, int32* s)
{
    hostLog.add("GetModelData");
    *b = nullptr;
    *s = 0;
}
void composeDesignXml(const char*, VsVariant*)
{
    hostLog.add("ComposeDesignXml");
}
int32 addCeilingHost(int32, int32, double, double, int32, int32)
{
    hostLog.add("AddCeilingHost");
    return 1;
}
int32 moveCeilingHost(int32, int32, double, double)
{
    hostLog.add("MoveCeilingHost");
    return 1;
}
void deleteCeilingHost(int32, int32)
{
    hostLog.add("DeleteCeilingHost");
}
void rotateCeilingHost(int32, int32, int32)
{
    hostLog.add("RotateCeilingHost");
}
void layTiles(int32, int32, int32, const char*, const char*)
{
    hostLog.add("LayTiles");
}
void getCandyTypeImages(int32, const void**, int32*, const void**, int32*)
{
    hostLog.add("GetCandyTypeImages");
}
int32 chooseStaticSample(int32)
{
    hostLog.add("ChooseStaticSample");
    return 0;
}
void getCandyTypeTextures(int32, int32, const void**, int32*)
{
    hostLog.add("GetCandyTypeTextures");
}
decltype(&ApplyStaticSolidSample) applyStaticSample = nullptr;
void loadStaticSample(int32 id)
{
    hostLog.add("LoadStaticSample " + std::to_string(id));
    // The host answers from inside the callback, as the contract asks.
    if (applyStaticSample != nullptr)
        applyStaticSample(id, nullptr, 0, nullptr, 0,
                          u"<r><polygons><p points='0,0 10,0 10,10'/></polygons></r>");
}
void saveModelMaterials(int32, const char*)
{
    hostLog.add("SaveModelMaterials");
}
void setModelCategory(int32, int32)
{
    hostLog.add("SetModelCategory");
}
void requestCandyType(int32 id)
{
    hostLog.add("RequestCandyType " + std::to_string(id));
}
void requestFacilityModel(int32 id, int32 typeId)
{
    hostLog.add("RequestFacilityModel " + std::to_string(id) + " " + std::to_string(typeId));
}

std::string utf8(const VsVariant& v, decltype(&VsSysStringLen) length)
{
    std::string out;
    if (v.vt != VS_VT_BSTR)
        return out;
    for (uint32_t i = 0; i < length(v.bstrVal); ++i)
        out += v.bstrVal[i] < 0x80 ? static_cast<char>(v.bstrVal[i]) : '?';
    return out;
}

/** The module as a host sees it: a handle and the exports looked up by name. */
class Module
{
public:
    Module()
    {
        handle = dlopen(VS_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
            ADD_FAILURE() << dlerror();
    }
    ~Module()
    {
        if (handle != nullptr)
            dlclose(handle);
    }
    template <class F> F get(const char* name)
    {
        void* p = handle ? dlsym(handle, name) : nullptr;
        EXPECT_NE(p, nullptr) << name;
        return reinterpret_cast<F>(p);
    }
    void* handle = nullptr;
};

std::string freshHome()
{
    char pattern[] = "/tmp/vs-home-XXXXXX";
    std::string dir = mkdtemp(pattern);
    return dir + "/";
}

bool isDir(const std::string& p)
{
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void pour(Module& m, const char* home)
{
    auto begin = m.get<decltype(&BeginPourMasterData)>("BeginPourMasterData");
    begin(home, 0, 0, freeModelData, getModelData, composeDesignXml, addCeilingHost,
          moveCeilingHost, deleteCeilingHost, rotateCeilingHost, layTiles, getCandyTypeImages,
          chooseStaticSample, getCandyTypeTextures, loadStaticSample, saveModelMaterials,
          setModelCategory);
}

} // namespace

TEST(HostPourTest, ExportsExactlyTheHostInterface)
{
    const std::string command = std::string("nm -D --defined-only '") + VS_LIBRARY_PATH + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string l(line);
        const size_t space = l.rfind(' ');
        std::string name = l.substr(space + 1);
        name.erase(name.find_last_not_of("\n") + 1);
        if (l.find(" T ") != std::string::npos || l.find(" D ") != std::string::npos ||
            l.find(" B ") != std::string::npos)
            names.insert(name);
    }
    pclose(pipe);
    const std::set<std::string> expected = {
        "BeginPourMasterData",    "PostPourMasterData", "ClearMasterData",
        "AddCandyCategory",       "AddCandyType",       "AddFacilityCategory",
        "AddFacilityKind",        "AddFacilityType",    "AddFacilityModel",
        "ShowSolidDesignDialog",  "RenderRoom",         "ApplySolidSample",
        "ApplyStaticSolidSample", "ExportSolidPicture", "ExportSolidRender",
        "VsSysAllocStringLen",    "VsSysFreeString",    "VsSysStringLen",
        "VsVariantInit",          "VsVariantClear"};
    EXPECT_EQ(names, expected);
}

TEST(HostPourTest, PourPreparesDirectoriesAndAsksTheHostForNothingYet)
{
    Module m;
    hostLog = Log();
    const std::string home = freshHome();
    pour(m, home.c_str());
    m.get<decltype(&AddCandyCategory)>("AddCandyCategory")(1, "扣板类", 0, 0);
    m.get<decltype(&AddCandyType)>("AddCandyType")(100, "白色扣板", 1, 1, 3000, 3000, 0, 0, 0, 1, 0,
                                                   nullptr, 0, 0, 0, nullptr);
    m.get<decltype(&AddCandyType)>("AddCandyType")(101, "bad kind", 42, 1, 3000, 3000, 0, 0, 0, 1,
                                                   0, nullptr, 0, 0, 0, nullptr);
    m.get<decltype(&AddFacilityCategory)>("AddFacilityCategory")(5, 0, "厨房");
    const float rotation[3] = {0, 90, 0};
    m.get<decltype(&AddFacilityModel)>("AddFacilityModel")(10, "fridge", 0, 0, 0, nullptr, 0, 600,
                                                           1800, nullptr, 0, 600.0, rotation, 1.0,
                                                           1.0, nullptr, 1, 5, 0, 0, "");
    m.get<decltype(&AddFacilityKind)>("AddFacilityKind")(1, 2);
    m.get<decltype(&AddFacilityType)>("AddFacilityType")(1, 2, 3, 4, 5);

    EXPECT_EQ(m.get<decltype(&PostPourMasterData)>("PostPourMasterData")(), 1);
    EXPECT_TRUE(isDir(home + "Render/"));
    EXPECT_TRUE(isDir(home + "Render2/"));
    ASSERT_NE(std::getenv("PIXIEHOME"), nullptr);
    EXPECT_EQ(std::string(std::getenv("PIXIEHOME")), home);
    // Pictures and meshes are fetched on first use, never during the pour.
    EXPECT_TRUE(hostLog.calls.empty()) << hostLog.calls.front();

    m.get<decltype(&ClearMasterData)>("ClearMasterData")();
    EXPECT_EQ(m.get<decltype(&PostPourMasterData)>("PostPourMasterData")(), 1);
}

TEST(HostPourTest, NullHomeDirectoryUsesTheCurrentDirectory)
{
    Module m;
    const std::string home = freshHome();
    const std::string saved = get_current_dir_name();
    ASSERT_EQ(chdir(home.c_str()), 0);
    pour(m, nullptr);
    EXPECT_EQ(m.get<decltype(&PostPourMasterData)>("PostPourMasterData")(), 1);
    EXPECT_TRUE(isDir(home + "Render"));
    EXPECT_TRUE(isDir(home + "Render2"));
    EXPECT_EQ(std::string(std::getenv("PIXIEHOME")), "");
    ASSERT_EQ(chdir(saved.c_str()), 0);
}

TEST(HostPourTest, ARender2FileIsReportedAsFailure)
{
    Module m;
    const std::string home = freshHome();
    std::ofstream(home + "Render2") << "in the way";
    pour(m, home.c_str());
    EXPECT_EQ(m.get<decltype(&PostPourMasterData)>("PostPourMasterData")(), 0);
}

TEST(HostPourTest, DesignRunReturnsTextAndSamplesOutsideARunAreRefused)
{
    Module m;
    const std::string home = freshHome();
    pour(m, home.c_str());
    m.get<decltype(&PostPourMasterData)>("PostPourMasterData")();

    auto init = m.get<decltype(&VsVariantInit)>("VsVariantInit");
    auto clear = m.get<decltype(&VsVariantClear)>("VsVariantClear");
    VsVariant result;
    init(&result);
    m.get<decltype(&ShowSolidDesignDialog)>("ShowSolidDesignDialog")(nullptr, &result);
    EXPECT_EQ(result.vt, VS_VT_BSTR);
    clear(&result);

    // Outside a design run there is no document: nothing happens and nothing crashes.
    const char16_t polygons[] = u"<r><polygons><p points='0,0 1,0 1,1'/></polygons></r>";
    EXPECT_EQ(m.get<decltype(&ApplyStaticSolidSample)>("ApplyStaticSolidSample")(
                  1, nullptr, 0, nullptr, 0, polygons),
              0);
    m.get<decltype(&ApplySolidSample)>("ApplySolidSample")(0, u"<x/>", 90, 1);
    // A picture that cannot be written is a failure, with or without a display to draw on.
    EXPECT_EQ(m.get<decltype(&ExportSolidPicture)>("ExportSolidPicture")(
                  nullptr, "/nonexistent-folder/never.jpg", 64, 64, 4),
              0);
}

TEST(HostPourTest, RenderRoomWithoutItsFileFailsQuietlyAndKeepsEarlierSlots)
{
    Module m;
    hostLog = Log();
    const std::string home = freshHome();
    pour(m, home.c_str());
    m.get<decltype(&RenderRoom)>("RenderRoom")(home.c_str(), "12345", freeModelData, getModelData,
                                               requestCandyType, getCandyTypeImages,
                                               getCandyTypeTextures, requestFacilityModel);
    // RenderRoom prepared the directories itself before it looked for the file.
    EXPECT_TRUE(isDir(home + "Render/"));
    std::ofstream(home + "Render/12345.xml") << "<design/>";
    m.get<decltype(&RenderRoom)>("RenderRoom")(home.c_str(), "12345", freeModelData, getModelData,
                                               requestCandyType, getCandyTypeImages,
                                               getCandyTypeTextures, requestFacilityModel);
    EXPECT_FALSE(hostLog.has("ComposeDesignXml"));
}

TEST(HostPourTest, ModuleSurvivesUnloadAndReload)
{
    {
        Module first;
        pour(first, freshHome().c_str());
    }
    Module second;
    pour(second, freshHome().c_str());
    EXPECT_EQ(second.get<decltype(&PostPourMasterData)>("PostPourMasterData")(), 1);
}

TEST(HostPourTest, RenderRoomAsksTheHostForWhatTheStoredDesignNeeds)
{
    Module m;
    hostLog = Log();
    const std::string home = freshHome();
    pour(m, home.c_str());
    mkdir((home + "Render").c_str(), 0777);
    std::ofstream(home + "Render/42.xml")
        << "<design id='1' gridWidth='3000' gridHeight='3000' "
           "outlinePoints='0,0 9000,0 9000,6000 0,6000' realGridOffset='0,0'>"
           "<tiles><tile tileTypeId='777' gx='0' gy='0'/></tiles></design>";
    m.get<decltype(&RenderRoom)>("RenderRoom")(home.c_str(), "42", freeModelData, getModelData,
                                               requestCandyType, getCandyTypeImages,
                                               getCandyTypeTextures, requestFacilityModel);
    EXPECT_TRUE(hostLog.has("RequestCandyType 777"));
}

TEST(HostPourTest, DesignRunHandsBackTheSolidElementWithTheSampleTheHostApplied)
{
    Module m;
    hostLog = Log();
    pour(m, freshHome().c_str());
    m.get<decltype(&PostPourMasterData)>("PostPourMasterData")();
    applyStaticSample = m.get<decltype(&ApplyStaticSolidSample)>("ApplyStaticSolidSample");
    VsVariant result;
    m.get<decltype(&VsVariantInit)>("VsVariantInit")(&result);
    const char16_t design[] =
        u"<design id='1' gridWidth='3000' gridHeight='3000' "
        u"outlinePoints='0,0 9000,0 9000,6000 0,6000' realGridOffset='0,0'>"
        u"<solid decimillimeter='1' staticSolidSampleId='3' "
        u"outlinePoints='0,0 9000,0 9000,6000 0,6000'>"
        u"<walls><wall index='0'/><wall index='1'/><wall index='2'/><wall index='3'/></walls>"
        u"<viewState viewMode='4'><trackball currentQuaternion='0,0,0,1'/></viewState>"
        u"</solid></design>";
    m.get<decltype(&ShowSolidDesignDialog)>("ShowSolidDesignDialog")(design, &result);
    applyStaticSample = nullptr;
    EXPECT_TRUE(hostLog.has("LoadStaticSample 3"));
    const std::string solid = utf8(result, m.get<decltype(&VsSysStringLen)>("VsSysStringLen"));
    EXPECT_EQ(solid.rfind("<_dg", 0), 0u) << solid;
    EXPECT_NE(solid.find("_g8=\"3\""), std::string::npos) << solid;
    m.get<decltype(&VsVariantClear)>("VsVariantClear")(&result);

    // Text that is no XML at all is not an error: the default room comes back.
    m.get<decltype(&ShowSolidDesignDialog)>("ShowSolidDesignDialog")(u"not xml <<", &result);
    EXPECT_EQ(result.vt, VS_VT_BSTR);
    m.get<decltype(&VsVariantClear)>("VsVariantClear")(&result);
}
