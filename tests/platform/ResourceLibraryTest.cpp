#include "platform/ResourceLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

const std::string kLibrary = VS_TEST_RESOURCE_LIBRARY;

std::string fileBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable " + path + ">";
    return file.readAll().toStdString();
}

std::string entryBytes(const VsResourceEntry* entry)
{
    return std::string(reinterpret_cast<const char*>(entry->data), entry->size);
}

/** Changes the current directory for the life of the object. */
class CurrentDirectory
{
public:
    explicit CurrentDirectory(const std::string& path)
    {
        char* old = getcwd(nullptr, 0);
        old_ = old;
        free(old);
        ok_ = chdir(path.c_str()) == 0;
    }
    ~CurrentDirectory()
    {
        if (chdir(old_.c_str()) != 0)
            ADD_FAILURE() << "cannot return to " << old_;
    }
    bool ok() const { return ok_; }

private:
    std::string old_;
    bool ok_ = false;
};

} // namespace

TEST(ResourceLibraryTest, EntriesHoldTheEmbeddedFiles)
{
    const auto library = ResourceLibrary::open(kLibrary);
    ASSERT_TRUE(library);
    EXPECT_EQ(5u, library->size());

    const VsResourceEntry* shader = library->find("SHADER", "plastic.sdr");
    ASSERT_TRUE(shader);
    EXPECT_STREQ("SHADER", shader->type);
    EXPECT_EQ(fileBytes(VS_TEST_RESOURCE_DIR "/plastic.sdr"), entryBytes(shader));

    const VsResourceEntry* bulb = library->find("IMG", "Bulb.Small.bmp");
    ASSERT_TRUE(bulb);
    const std::string picture = fileBytes(VS_TEST_SOURCE_DIR "/resources/img/136.bmp");
    ASSERT_GT(picture.size(), 1000u);
    EXPECT_EQ(picture, entryBytes(bulb)); // binary bytes, zero bytes included

    const VsResourceEntry* empty = library->find("DATA", "empty.bin");
    ASSERT_TRUE(empty);
    EXPECT_EQ(0u, empty->size);
    EXPECT_NE(nullptr, empty->data);
}

TEST(ResourceLibraryTest, LookupIgnoresCaseAndFirstMatchWins)
{
    const auto library = ResourceLibrary::open(kLibrary);
    ASSERT_TRUE(library);
    const VsResourceEntry* upper = library->find("IMG", "BULB.SMALL.BMP");
    const VsResourceEntry* lower = library->find("img", "bulb.small.bmp");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper, lower);
    // The table holds "SHADER:plastic.sdr" and later "shader:plastic.sdr": the first one wins.
    const VsResourceEntry* shader = library->find("Shader", "PLASTIC.SDR");
    ASSERT_TRUE(shader);
    EXPECT_STREQ("SHADER", shader->type);

    const auto images = library->entries("iMg");
    ASSERT_EQ(2u, images.size());
    EXPECT_STREQ("Bulb.Small.bmp", images[0]->name);
    EXPECT_STREQ("wall.tile.jpg", images[1]->name);
    EXPECT_EQ(2u, library->entries("SHADER").size());
    EXPECT_TRUE(library->entries("DRIVER").empty());
}

TEST(ResourceLibraryTest, MissingEntriesAreNull)
{
    const auto library = ResourceLibrary::open(kLibrary);
    ASSERT_TRUE(library);
    EXPECT_EQ(nullptr, library->find("IMG", "missing.bmp"));
    EXPECT_EQ(nullptr, library->find("SHADER", "Bulb.Small.bmp")); // name under another type
    EXPECT_EQ(nullptr, library->find("IMG", "Bulb.Small"));        // a prefix is no match
    EXPECT_EQ(nullptr, library->find("IMG", "Bulb.Small.bmpx"));
    EXPECT_EQ(nullptr, library->find("", ""));
}

TEST(ResourceLibraryTest, MissingOrForeignLibrariesGiveNull)
{
    EXPECT_EQ(nullptr, ResourceLibrary::open(""));
    EXPECT_EQ(nullptr, ResourceLibrary::open("libNoSuchResources.so"));
    EXPECT_EQ(nullptr, ResourceLibrary::open("/no/such/dir/libPR.so"));
    // A shared object that loads but exports no resource table.
    EXPECT_EQ(nullptr, ResourceLibrary::open("libm.so.6"));
    // A file that is not a shared object at all.
    EXPECT_EQ(nullptr, ResourceLibrary::open(VS_TEST_RESOURCE_DIR "/plastic.sdr"));
}

TEST(ResourceLibraryTest, BareNameIsFoundInTheCurrentDirectory)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string name = "libCopiedResources.so";
    ASSERT_TRUE(
        QFile::copy(QString::fromStdString(kLibrary), dir.filePath("libCopiedResources.so")));
    {
        CurrentDirectory here(dir.path().toStdString());
        ASSERT_TRUE(here.ok());
        const auto library = ResourceLibrary::open(name);
        ASSERT_TRUE(library);
        EXPECT_EQ("./" + name, library->path());
        EXPECT_TRUE(library->find("IMG", "wall.tile.jpg"));
    }
    // Elsewhere the loader's search path does not hold it.
    EXPECT_EQ(nullptr, ResourceLibrary::open(name));
}
