// The design dialog's "精细渲染" in an interactive run: the design goes through the host's
// ComposeDesignXml into a hand-off file, and the render program starts in the home directory
// with its name.
#include "RenderTestSupport.h"

#include "VantrelSolid.h"
#include "document/CurrentDocument.h"
#include "platform/FileSystem.h"
#include "plugin/CVantrelSolidApp.h"
#include "plugin/DesignRun.h"
#include "plugin/RenderRun.h"
#include "view/CVantrelSolidView.h"

#include <QPushButton>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

std::string g_composedFrom;

void compose(const char* solidXml, VsVariant* design)
{
    g_composedFrom = solidXml ? solidXml : "";
    const std::u16string text = u"<design>composed</design>";
    design->vt = VS_VT_BSTR;
    design->bstrVal = VsSysAllocStringLen(text.c_str(), static_cast<uint32_t>(text.size()));
}

TEST(FineRenderTest, InteractiveRunWritesTheHandOffAndStartsTheRenderProgram)
{
    rendertest::TempHome home;
    CVantrelSolidApp& app = CVantrelSolidApp::instance();
    app.clearMasterData();
    app.beginPour(home.path().c_str(), 0);
    app.addBuiltIns();
    app.postPour();
    app.renderRoomName.clear();
    const VsComposeDesignXml kept = app.callbacks.composeDesignXml;
    app.callbacks.composeDesignXml = compose;
    {
        std::ofstream script(home.path() + "RibDaemon");
        script << "#!/bin/sh\necho \"$1\" > started.txt\npwd >> started.txt\n";
    }
    ::chmod((home.path() + "RibDaemon").c_str(), 0755);
    fs::create_directory(home.path() + "elsewhere");
    vs::changeDirectory(home.path() + "elsewhere");

    CSolidDocument& document = vs::openCurrentDocument(std::string());
    {
        CVantrelSolidView dialog(document);
        vs::connectRenderButtons(dialog);
        dialog.startEngine();
        auto* button = dialog.findChild<QPushButton*>("fineRenderButton");
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isEnabled());
        button->click();
    }
    EXPECT_EQ(vs::currentDirectory(), home.path() + "elsewhere/");
    EXPECT_EQ(g_composedFrom.rfind("<_dg", 0), 0u) << g_composedFrom.substr(0, 80);
    std::string name;
    for (const auto& entry : fs::directory_iterator(home.path() + "Render"))
        if (entry.path().extension() == ".xml")
            name = entry.path().stem().string();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_not_of("-0123456789"), std::string::npos) << name;
    EXPECT_EQ(rendertest::readFile(home.path() + "Render/" + name + ".xml"),
              "<design>composed</design>");
    std::string started;
    for (int i = 0; i < 100 && started.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        started = rendertest::readFile(home.path() + "started.txt");
    }
    EXPECT_EQ(started, name + "\n" + home.path().substr(0, home.path().size() - 1) + "\n");

    vs::closeCurrentDocument();
    app.callbacks.composeDesignXml = kept;
    app.clearMasterData();
}

} // namespace
