// The render job: the worker's passes, files and outcomes, the hand-off, render runs ending
// older ones, the Kerkythea template and the headless ExportSolidRender, against the
// recording stand-in (which leaves a grey TIFF where a display would write the picture).
#include "RenderTestSupport.h"

#include "document/CSolidDocument.h"
#include "document/CurrentDocument.h"
#include "platform/Picture.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/RenderRun.h"
#include "render/RenderHandOff.h"
#include "render/RenderJob.h"
#include "render/RenderManBinding.h"
#include "render/RenderSettings.h"
#include "render/RendererSetup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <csignal>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using rirecorder::Call;

namespace {

int count(const std::vector<Call>& calls, const std::string& name)
{
    int n = 0;
    for (const Call& c : calls)
        n += c.name == name ? 1 : 0;
    return n;
}

class RenderWorkerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        vs::RenderSettings::instance() = vs::RenderSettings{};
        vs::RenderSettings::instance().displayDriver = "file";
        calls = &rendertest::loadRecorder();
        view.document = &document;
        view.width = 40;
        view.height = 30;
        view.orbit = false;
        std::ofstream stale("room.tif");
        stale << "an older render";
    }

    rendertest::TempHome home;
    CSolidDocument document;
    vs::RenderView view;
    std::vector<Call>* calls = nullptr;
};

TEST_F(RenderWorkerTest, ShadowsMakeTwoPassesNamedForThisProcessAndJob)
{
    const int before = vs::renderCounter();
    const vs::RenderResult result = vs::RenderWorker(view);
    EXPECT_EQ(result.outcome, vs::RenderOutcome::Done) << result.message;
    EXPECT_EQ(vs::renderCounter(), before + 1);
    EXPECT_EQ(count(*calls, "RiBegin"), 2);
    EXPECT_EQ(count(*calls, "RiMakeShadow"), 1);
    const std::string expected = vs::shadowFileName(before + 1, ".sm");
    EXPECT_EQ(vs::RenderSettings::instance().shadowMapFile, expected);
    EXPECT_NE(expected.find(std::to_string(::getpid())), std::string::npos);
    EXPECT_NE(rendertest::readFile("room.tif").substr(0, 4), "an o");
    EXPECT_FALSE(vs::RenderSettings::instance().shadowPass);
}

TEST_F(RenderWorkerTest, WithoutShadowsOnePassAndTheCounterStillAdvances)
{
    vs::RenderSettings::instance().renderShadows = false;
    const int before = vs::renderCounter();
    EXPECT_EQ(vs::RenderWorker(view).outcome, vs::RenderOutcome::Done);
    EXPECT_EQ(vs::renderCounter(), before + 1);
    EXPECT_EQ(count(*calls, "RiBegin"), 1);
    EXPECT_EQ(count(*calls, "RiMakeShadow"), 0);
    EXPECT_TRUE(vs::RenderSettings::instance().shadowDepthFile.empty());
}

TEST_F(RenderWorkerTest, ProgressCoversBothPassesAndStoppingLeavesNoPicture)
{
    std::vector<float> seen;
    EXPECT_EQ(vs::RenderWorker(view,
                               [&](float f) {
                                   seen.push_back(f);
                                   return true;
                               })
                  .outcome,
              vs::RenderOutcome::Done);
    EXPECT_EQ(seen, (std::vector<float>{0.0f, 0.1f, 0.1f, 1.0f}));

    calls->clear();
    {
        std::ofstream stale("room.tif");
    }
    const vs::RenderResult stopped = vs::RenderWorker(view, [](float f) { return f < 0.5f; });
    EXPECT_EQ(stopped.outcome, vs::RenderOutcome::Stopped);
    EXPECT_FALSE(fs::exists("room.tif"));
}

TEST_F(RenderWorkerTest, AFailedShadowPassSkipsTheMainPassAndLeavesNoPicture)
{
    ASSERT_TRUE(vs::RenderManBinding::instance().load(VS_RI_PARTIAL)); // lacks RiMakeShadow
    auto partialCalls = reinterpret_cast<decltype(&RiRecorderCalls)>(
        ::dlsym(vs::RenderManBinding::instance().handle(), "RiRecorderCalls"));
    partialCalls()->clear();
    const vs::RenderResult result = vs::RenderWorker(view);
    EXPECT_EQ(result.outcome, vs::RenderOutcome::Failed);
    EXPECT_NE(result.message.find("RiMakeShadow"), std::string::npos);
    EXPECT_EQ(count(*partialCalls(), "RiBegin"), 1);
    EXPECT_FALSE(fs::exists("room.tif"));
}

TEST(RenderHandOffTest, NameIsTheTimesLowBitsAndTheFileHoldsTheTextAsGiven)
{
    EXPECT_EQ(vs::handOffName(1700000000), "1700000000");
    EXPECT_EQ(vs::handOffName(static_cast<std::time_t>(0xFFFFFFFFll)), "-1");
    EXPECT_EQ(vs::handOffName(static_cast<std::time_t>(0x100000005ll)), "5");
    rendertest::TempHome home;
    const std::string text("<design>\xc4\xe3</design>", 19);
    const std::string name = vs::writeHandOff(home.path(), text);
    EXPECT_EQ(rendertest::readFile(home.path() + name + ".xml"), text);
}

TEST(RenderRunRegistryTest, ANewRunEndsAnOlderOneWithExitCodeZeroAndIgnoresStaleRecords)
{
    rendertest::TempHome home;
    const std::string dir = home.path();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t older = ::fork();
    ASSERT_GE(older, 0);
    if (older == 0) {
        vs::installEndRequestHandler();
        vs::registerRenderRun(dir);
        char c = 1;
        (void)!::write(ready[1], &c, 1);
        for (;;)
            ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    // A record whose process id is alive but names another process (its start time differs).
    {
        std::ofstream stale(dir + "run-1.rib-run");
        stale << vs::kRenderRunTitle << "\n12345\n";
    }
    EXPECT_EQ(vs::endOlderRenderRuns(dir, 200), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(older, &status, 0), older);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(vs::endOlderRenderRuns(dir, 10), 0);
    EXPECT_FALSE(fs::exists(dir + "run-1.rib-run"));
    EXPECT_FALSE(fs::exists(dir + "run-" + std::to_string(older) + ".rib-run"));
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(TemplateSceneTest, SameHeadAndTailWhateverTheDesign)
{
    rendertest::TempHome home;
    ASSERT_TRUE(vs::ExportTemplateScene(home.path()));
    const std::string first = rendertest::readFile(home.path() + "1.xml");
    EXPECT_EQ(first.rfind("<?xml", 0), 0u);
    EXPECT_NE(first.find("<Root Label=\"Default Kernel\" Name=\"\" Type=\"Kernel\">"),
              std::string::npos);
    EXPECT_NE(first.find("Value=\"Null Camera\""), std::string::npos);
    EXPECT_EQ(first.substr(first.size() - 8), "</Root>\n");
    ASSERT_TRUE(vs::ExportTemplateScene(home.path()));
    EXPECT_EQ(rendertest::readFile(home.path() + "1.xml"), first);
    EXPECT_FALSE(vs::ExportTemplateScene("/nonexistent/"));
}

class ExportSolidRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CVantrelSolidApp& app = CVantrelSolidApp::instance();
        app.clearMasterData();
        app.beginPour(home.path().c_str(), 0);
        app.addBuiltIns();
        app.postPour();
        home.copyIn(VS_TEST_PR_LIBRARY, vs::kRendererResourceLibrary);
        home.copyIn(VS_TEST_CRT_LIBRARY, vs::kRuntimeResourceLibrary);
        design =
            rendertest::readFile(std::string(VS_TEST_SOURCE_DIR) + "/data/designs/kitchen.xml");
    }
    void TearDown() override { CVantrelSolidApp::instance().clearMasterData(); }

    rendertest::TempHome home;
    std::string design;
};

TEST_F(ExportSolidRenderTest, WritesThePictureInTheFormatOfItsExtension)
{
    home.copyIn(VS_RI_RECORDER, vs::kRendererLibrary);
    const std::string out = home.path() + "kitchen.png";
    vs::exportSolidRender(design, out, 64, 48, 4, 2, true, 50);
    const std::string bytes = rendertest::readFile(out);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    const Picture picture = Picture::decode(bytes.data(), bytes.size());
    EXPECT_EQ(picture.image().width(), 64);
    EXPECT_EQ(picture.image().height(), 48);
    EXPECT_TRUE(fs::exists(home.path() + "shaders/plastic.sdr"));
    EXPECT_EQ(vs::currentDocument(), nullptr);
    // The render folder keeps no picture of its own.
    for (const auto& entry : fs::directory_iterator(home.path() + "Render"))
        EXPECT_EQ(entry.path().string().find("_export.tif"), std::string::npos);
}

TEST_F(ExportSolidRenderTest, AFailedRenderKeepsTheOlderFileAndBadArgumentsAreRefused)
{
    home.copyIn(VS_RI_PARTIAL, vs::kRendererLibrary);
    const std::string out = home.path() + "kitchen.jpg";
    {
        std::ofstream older(out);
        older << "older";
    }
    EXPECT_THROW(vs::exportSolidRender(design, out, 64, 48, 4, 2, true, 50), std::runtime_error);
    EXPECT_EQ(rendertest::readFile(out), "older");
    EXPECT_THROW(vs::exportSolidRender(design, out, 0, 48, 4, 2, true, 50), std::invalid_argument);
    EXPECT_THROW(vs::exportSolidRender(design, out, 64, 48, 4, 0, true, 50), std::invalid_argument);
    EXPECT_THROW(vs::exportSolidRender(design, out, 64, 48, 4, 2, true, 101),
                 std::invalid_argument);
    EXPECT_THROW(vs::exportSolidRender(design, home.path() + "kitchen.bmp", 64, 48, 4, 2, true, 50),
                 std::invalid_argument);
}

TEST_F(ExportSolidRenderTest, WithoutARendererItSaysSo)
{
    try {
        vs::exportSolidRender(design, home.path() + "k.tif", 64, 48, 4, 1, false, 50);
        FAIL() << "rendered without a renderer";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), vs::kInitRenderManFailed);
    }
}

} // namespace

namespace {

TEST_F(ExportSolidRenderTest, RibPathGetsTheSceneWithItsTexturesBesideItAndNoRenderer)
{
    // No renderer in the home directory: a RIB file needs none.
    fs::create_directory(home.path() + "farm");
    const std::string rib = home.path() + "farm/kitchen.rib";
    void* polygonBefore = vs::RenderManBinding::instance().address(vs::RiSlot::RiPolygon);
    vs::exportSolidRender(design, rib, 80, 60, 4, 3, true, 50);
    // The binding is the renderer's again.
    EXPECT_EQ(vs::RenderManBinding::instance().address(vs::RiSlot::RiPolygon), polygonBefore);
    const std::string text = rendertest::readFile(rib);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.rfind("##RenderMan RIB\n", 0), 0u);
    const size_t shadowFrame = text.find("FrameBegin 1\n");
    const size_t mainFrame = text.find("FrameBegin 2\n");
    ASSERT_NE(shadowFrame, std::string::npos);
    ASSERT_NE(mainFrame, std::string::npos);
    EXPECT_LT(text.find("MakeShadow \"kitchen-shadow.z\" \"kitchen-shadow.sm\""), mainFrame);
    EXPECT_NE(text.find("Display \"kitchen.tif\" \"file\" \"rgb\""), std::string::npos);
    EXPECT_NE(text.find("PixelSamples 3 3"), std::string::npos);
    EXPECT_NE(text.find("Format 80 60 1"), std::string::npos);
    EXPECT_NE(text.find("LightSource \"ambientlight\" 1 \"intensity\" [0.5]"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 9), "FrameEnd\n");
    // Every texture the scene names lies beside the file.
    size_t at = 0;
    int textures = 0;
    while ((at = text.find("MakeTexture \"", at)) != std::string::npos) {
        at += 13;
        const std::string picture = text.substr(at, text.find('"', at) - at);
        EXPECT_TRUE(fs::exists(home.path() + "farm/" + picture)) << picture;
        ++textures;
    }
    EXPECT_GT(textures, 0);
    EXPECT_FALSE(fs::exists(rib + ".part"));
}

} // namespace
