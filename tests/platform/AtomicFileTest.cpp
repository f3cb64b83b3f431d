// Files replaced whole: a failed or killed writer leaves the earlier file as it was.
#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <QImage>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("vs-atomic-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        path_ = (folder_ / "picture.jpg").string();
        write(path_, "earlier picture");
    }
    void TearDown() override { fs::remove_all(folder_); }

    static void write(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    size_t filesInFolder() const
    {
        return size_t(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
    std::string path_;
};

} // namespace

TEST_F(AtomicFileTest, ReplacesTheFileAndLeavesNothingElseBehind)
{
    std::string handed;
    vs::replaceFileAtomically(path_, [&](const std::string& temporary) {
        handed = temporary;
        write(temporary, "new picture");
        return true;
    });
    EXPECT_EQ(read(path_), "new picture");
    EXPECT_EQ(filesInFolder(), 1u);
    // Beside the target, with its extension, for writers that pick a format by it.
    EXPECT_EQ(fs::path(handed).parent_path(), folder_);
    EXPECT_EQ(fs::path(handed).extension(), ".jpg");
}

TEST_F(AtomicFileTest, AFailingWriterLeavesTheEarlierFile)
{
    auto halfThenFalse = [](const std::string& temporary) {
        write(temporary, "half");
        return false;
    };
    EXPECT_THROW(vs::replaceFileAtomically(path_, halfThenFalse), vs::FileError);
    auto halfThenThrow = [](const std::string& temporary) -> bool {
        write(temporary, "half");
        throw std::runtime_error("encoder failed");
    };
    EXPECT_THROW(vs::replaceFileAtomically(path_, halfThenThrow), std::runtime_error);
    EXPECT_EQ(read(path_), "earlier picture");
    EXPECT_EQ(filesInFolder(), 1u);
    EXPECT_THROW(vs::replaceFileAtomically((folder_ / "missing/x.jpg").string(),
                                           [](const std::string&) { return true; }),
                 vs::FileError);
}

TEST_F(AtomicFileTest, AKillDuringTheWriteLeavesTheEarlierFileWhole)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            vs::replaceFileAtomically(path_, [](const std::string& temporary) {
                write(temporary, std::string(100000, 'p'));
                ::raise(SIGKILL);
                return true;
            });
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(read(path_), "earlier picture");
    }
}

TEST_F(AtomicFileTest, KeepsTheEarlierFilesPermissions)
{
    ::chmod(path_.c_str(), 0640);
    vs::replaceFileAtomically(path_, [](const std::string& temporary) {
        write(temporary, "new");
        return true;
    });
    struct stat info
    {
    };
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(AtomicFileTest, SavesAPictureThatReadsBack)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    vs::savePictureAtomically(image, path_, "JPG", 90);
    const QImage back(QString::fromStdString(path_));
    ASSERT_EQ(back.size(), QSize(64, 48));
    EXPECT_GT(qRed(back.pixel(30, 20)), 150);
    EXPECT_THROW(vs::savePictureAtomically(QImage(), path_, "JPG"), vs::FileError);
    EXPECT_EQ(filesInFolder(), 1u);
}
