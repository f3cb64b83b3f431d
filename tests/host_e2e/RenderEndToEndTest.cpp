// Photo-realistic renders through the reference host with the real renderer: vantrel-host
// --render, and RibDaemon rendering a hand-off file to "room.tif" with shadows, a second render
// run ending the first. Skipped while the renderer (target ri) is not built.
#include "HomeDirectory.h"

#include <QImage>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const std::string kSource = VS_TEST_SOURCE_DIR;
const std::string kPack = kSource + "/data/pack/index.xml";

class RenderEndToEndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!fs::exists(VS_RI_LIBRARY))
            GTEST_SKIP() << "the renderer (target ri, " << VS_RI_LIBRARY
                         << ") is not built: no end-to-end render";
        std::string pattern = (fs::temp_directory_path() / "vantrel-render-XXXXXX").string();
        scratch = mkdtemp(pattern.data());
        home = vhost::prepareHomeDirectory(scratch + "/home", vhost::programDirectory(), kPack);
        ::setenv("VANTREL_SOLID_UNATTENDED", "1", 1);
    }
    void TearDown() override
    {
        if (!scratch.empty())
            fs::remove_all(scratch);
    }

    std::string handOff(const std::string& name) const
    {
        // The design run that hands off makes Render/ when it pours; here nothing has poured yet.
        fs::create_directories(home + "Render");
        fs::copy_file(kSource + "/data/designs/kitchen.xml", home + "Render/" + name + ".xml");
        return name;
    }

    /** Starts RibDaemon on a hand-off as the module does: in the home directory, named by
     *  --home only when `homeArgument` is set. */
    pid_t startRibDaemon(const std::string& name, bool homeArgument = true) const
    {
        const std::string program = VS_RIBDAEMON_PROGRAM;
        const std::string homeArg = home;
        std::vector<char*> argv = {const_cast<char*>(program.c_str()),
                                   const_cast<char*>(name.c_str())};
        if (homeArgument) {
            argv.push_back(const_cast<char*>("--home"));
            argv.push_back(const_cast<char*>(homeArg.c_str()));
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, home.c_str());
        pid_t pid = 0;
        EXPECT_EQ(::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    static int exitCode(pid_t pid)
    {
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid)
            return -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string scratch;
    std::string home;
};

bool hasDetail(const QImage& picture)
{
    const QImage small = picture.scaled(16, 16);
    const QRgb first = small.pixel(0, 0);
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            if (small.pixel(x, y) != first)
                return true;
    return false;
}

TEST_F(RenderEndToEndTest, HostRendersTheKitchenWithoutAWindow)
{
    const std::string out = scratch + "/kitchen.png";
    // A relative picture name is the caller's, although the render runs in the render folder.
    const std::string command = "cd '" + scratch + "' && QT_QPA_PLATFORM=offscreen '" +
                                std::string(VS_HOST_PROGRAM) + "' --home '" + home +
                                "' --render kitchen.png --size 160x120 --samples 2 '" + kSource +
                                "/data/designs/kitchen.xml'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const QImage picture(QString::fromStdString(out));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(160, 120));
    EXPECT_TRUE(hasDetail(picture)) << "the render is one flat colour";
}

TEST_F(RenderEndToEndTest, RibDaemonRendersTheHandOffWithShadowsAndANewRunEndsAnOldOne)
{
    // The first as the module starts it: in the home directory, without --home.
    const pid_t first = startRibDaemon(handOff("1000"), false);
    // Wait until the first run has registered, then start the second.
    bool registered = false;
    for (int i = 0; i < 400 && !registered; ++i) {
        for (const auto& entry : fs::directory_iterator(home + "Render"))
            registered = registered || entry.path().extension() == ".rib-run";
        if (!registered)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(registered);
    const pid_t second = startRibDaemon(handOff("1001"));
    EXPECT_EQ(exitCode(first), 0) << "ended by the second run, or done before it";
    EXPECT_EQ(exitCode(second), 0);
    const QImage room(QString::fromStdString(home + "Render/room.tif"));
    ASSERT_FALSE(room.isNull());
    EXPECT_TRUE(hasDetail(room));
    bool shadowMap = false;
    for (const auto& entry : fs::directory_iterator(home + "Render"))
        shadowMap = shadowMap || entry.path().extension() == ".sm";
    EXPECT_TRUE(shadowMap);
}

} // namespace
