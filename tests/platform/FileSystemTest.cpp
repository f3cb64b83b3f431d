#include "platform/FileSystem.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {

std::string freshDir(const char* name)
{
    std::string dir = ::testing::TempDir() + name + std::to_string(::getpid()) + "/";
    std::system(("rm -rf '" + dir + "'").c_str());
    vs::createDirectory(dir);
    return dir;
}

} // namespace

TEST(FileSystemTest, EnsureDirectoryCreatesOnceAndRefusesAFileOfThatName)
{
    const std::string dir = freshDir("vs-fs-");
    EXPECT_TRUE(vs::ensureDirectory(dir + "Render/"));
    EXPECT_TRUE(vs::isDirectory(dir + "Render/"));
    EXPECT_TRUE(vs::ensureDirectory(dir + "Render/")); // already there
    std::ofstream(dir + "Render2") << "not a directory";
    EXPECT_FALSE(vs::ensureDirectory(dir + "Render2/"));
    EXPECT_TRUE(vs::pathExists(dir + "Render2/"));
    EXPECT_FALSE(vs::ensureDirectory(dir + "missing/parent/"));
}

TEST(FileSystemTest, WholeFileRoundTripKeepsBinaryBytes)
{
    const std::string dir = freshDir("vs-fs-");
    const std::string bytes("a\0b\xFF\r\n", 6);
    vs::writeWholeFile(dir + "f.bin", bytes);
    EXPECT_EQ(vs::readWholeFile(dir + "f.bin"), bytes);
    vs::writeWholeFile(dir + "f.bin", std::string("new"));
    EXPECT_EQ(vs::readWholeFile(dir + "f.bin"), "new");
}

TEST(FileSystemTest, ReadErrorsNameThePath)
{
    const std::string dir = freshDir("vs-fs-");
    try {
        vs::readWholeFile(dir + "absent.xml");
        FAIL() << "no error";
    } catch (const vs::FileError& e) {
        EXPECT_NE(std::string(e.what()).find("absent.xml"), std::string::npos);
    }
    EXPECT_THROW(vs::readWholeFile(dir), vs::FileError); // a directory is no file
    EXPECT_THROW(vs::writeWholeFile(dir + "no/such/dir/f", std::string("x")), vs::FileError);
}

TEST(FileSystemTest, EnvironmentIsSetForTheProcess)
{
    vs::setEnvironment("VS_FS_TEST", "/home/x/");
    EXPECT_EQ(vs::environment("VS_FS_TEST"), "/home/x/");
    EXPECT_STREQ(std::getenv("VS_FS_TEST"), "/home/x/");
    EXPECT_EQ(vs::environment("VS_FS_TEST_UNSET_NAME"), "");
}
