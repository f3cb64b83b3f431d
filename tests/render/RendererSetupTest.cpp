// The renderer's binding and the set-up steps that copy its files into the home directory.
#include "RenderTestSupport.h"

#include "render/RenderManBinding.h"
#include "render/RendererSetup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <dlfcn.h>

namespace fs = std::filesystem;
using vs::RenderManBinding;
using vs::RiSlot;

namespace {

TEST(RenderManBindingTest, SlotsAreTheInterfacesProceduresInLookupOrder)
{
    EXPECT_EQ(vs::kRiInterfaceProcedureCount, 181);
    EXPECT_STREQ(RenderManBinding::name(RiSlot::RiDeclare), "RiDeclare");
    EXPECT_STREQ(RenderManBinding::name(RiSlot::RiBegin), "RiBegin");
    EXPECT_STREQ(RenderManBinding::name(RiSlot::RiReadArchiveV), "RiReadArchiveV");
    EXPECT_EQ(static_cast<int>(RiSlot::RiReadArchiveV), 180);
    EXPECT_STREQ(RenderManBinding::name(RiSlot::RiProgressHandler), "RiProgressHandler");
}

TEST(RenderManBindingTest, PartialRendererLoadsAndItsMissingSlotsStayNull)
{
    RenderManBinding& binding = RenderManBinding::instance();
    binding.reset();
    ASSERT_TRUE(binding.load(VS_RI_PARTIAL));
    EXPECT_NE(binding.handle(), nullptr);
    for (RiSlot present : {RiSlot::RiBegin, RiSlot::RiPolygon, RiSlot::RiMakeTexture,
                           RiSlot::RiBoxFilter, RiSlot::RiGaussianFilter})
        EXPECT_TRUE(binding.has(present)) << RenderManBinding::name(present);
    for (RiSlot missing : {RiSlot::RiDeclare, RiSlot::RiMakeShadow, RiSlot::RiSphere,
                           RiSlot::RiProgressHandler, RiSlot::RiReadArchiveV})
        EXPECT_FALSE(binding.has(missing)) << RenderManBinding::name(missing);
    // The filters are passed as values: the slot holds the library's own procedure.
    EXPECT_EQ(binding.address(RiSlot::RiBoxFilter), ::dlsym(binding.handle(), "RiBoxFilter"));
}

TEST(RenderManBindingTest, LibraryThatDoesNotLoadKeepsTheEarlierSlots)
{
    RenderManBinding& binding = RenderManBinding::instance();
    ASSERT_TRUE(binding.load(VS_RI_RECORDER));
    void* begin = binding.address(RiSlot::RiBegin);
    EXPECT_FALSE(binding.load("/nonexistent/libri.so"));
    EXPECT_EQ(binding.address(RiSlot::RiBegin), begin);
}

TEST(RenderManBindingTest, InitRenderManLoadsTheRendererFromTheCurrentDirectory)
{
    rendertest::TempHome home;
    RenderManBinding& binding = RenderManBinding::instance();
    binding.reset();
    if (::dlopen(vs::kRendererLibrary, RTLD_NOW | RTLD_NOLOAD) == nullptr &&
        ::dlopen(vs::kRendererLibrary, RTLD_LAZY) == nullptr) {
        EXPECT_EQ(vs::InitRenderMan(), 0) << "no renderer anywhere: InitRenderMan fails";
    }
    home.copyIn(VS_RI_PARTIAL, vs::kRendererLibrary);
    EXPECT_EQ(vs::InitRenderMan(), 1);
    EXPECT_TRUE(binding.has(RiSlot::RiBegin));
    // Loaded again for the next render: same handle, slots looked up again.
    void* handle = binding.handle();
    EXPECT_EQ(vs::InitRenderMan(), 1);
    EXPECT_EQ(binding.handle(), handle);
}

class RendererFilesTest : public ::testing::Test
{
protected:
    rendertest::TempHome home;
    const std::string& dir() const { return home.path(); }
};

TEST_F(RendererFilesTest, ShadersAndDriversArriveLowerCasedAndMissingOnesAreSkipped)
{
    home.copyIn(VS_TEST_PR_LIBRARY, vs::kRendererResourceLibrary);
    ASSERT_TRUE(vs::WriteShaders(dir()));
    EXPECT_EQ(rendertest::readFile(dir() + "shaders/plastic.sdr"), "surface plastic\n");
    EXPECT_TRUE(fs::exists(dir() + "shaders/ambientlight.sdr"));
    EXPECT_FALSE(fs::exists(dir() + "shaders/PLASTIC.SDR"));
    EXPECT_FALSE(fs::exists(dir() + "shaders/pointlight.sdr")); // not in the library
    EXPECT_EQ(rendertest::readFile(dir() + "framebuffer.so"), "display driver\n");
    EXPECT_FALSE(fs::exists(dir() + "file.so"));
}

TEST_F(RendererFilesTest, ShadersAreWrittenAgainOverAnExistingFolder)
{
    home.copyIn(VS_TEST_PR_LIBRARY, vs::kRendererResourceLibrary);
    fs::create_directory(dir() + "shaders");
    {
        std::ofstream old(dir() + "shaders/plastic.sdr");
        old << "old";
    }
    ASSERT_TRUE(vs::WriteShaders(dir()));
    EXPECT_EQ(rendertest::readFile(dir() + "shaders/plastic.sdr"), "surface plastic\n");
}

TEST_F(RendererFilesTest, RuntimeFoldersThatExistAreLeftAloneWithoutTheLibrary)
{
    fs::create_directory(dir() + "Microsoft.VC90.DebugCRT");
    fs::create_directory(dir() + "Microsoft.VC90.CRT");
    EXPECT_TRUE(vs::WriteDebugCRT(dir()));
    EXPECT_TRUE(fs::is_empty(dir() + "Microsoft.VC90.CRT"));
}

TEST_F(RendererFilesTest, RuntimeFilesKeepTheirCase)
{
    home.copyIn(VS_TEST_CRT_LIBRARY, vs::kRuntimeResourceLibrary);
    ASSERT_TRUE(vs::WriteDebugCRT(dir()));
    EXPECT_TRUE(fs::exists(dir() + "Microsoft.VC90.DebugCRT/Microsoft.VC90.DebugCRT.manifest"));
    EXPECT_TRUE(fs::exists(dir() + "Microsoft.VC90.CRT/Microsoft.VC90.CRT.manifest"));
    EXPECT_FALSE(fs::exists(dir() + "Microsoft.VC90.CRT/msvcr90.dll"));
}

TEST_F(RendererFilesTest, MissingResourceLibrariesFailTheirSteps)
{
    EXPECT_FALSE(vs::WriteDebugCRT(dir()));
    EXPECT_FALSE(vs::WriteShaders(dir()));
    // The folder was made before the library was looked for.
    EXPECT_TRUE(fs::is_directory(dir() + "shaders"));
}

TEST(RendererSetupTest, FailureMessagesNameTheirStep)
{
    EXPECT_STREQ(vs::kWriteDebugCrtFailed, "WriteDebugCRT 出错！");
    EXPECT_STREQ(vs::kWriteShadersFailed, "WriteShaders 出错！");
    EXPECT_STREQ(vs::kInitRenderManFailed, "InitRenderMan 出错！");
    EXPECT_EQ(vs::lowerCaseFileName("FRAMEBUFFER.SO"), "framebuffer.so");
    EXPECT_EQ(vs::lowerCaseFileName("灯.SDR"), "灯.sdr");
}

} // namespace
