// Small photo-realistic renders of the kitchen through vantrel-host --render, one per lighting
// model with and without the shadow pass, compared with reference pictures kept beside this
// file. The renderer samples with jitter and may change a little: the comparison allows what
// that moves, not a missing light, a lost texture or a wrong exposure.
//
// To accept new pictures as the references, run the test binary with
// VS_UPDATE_RENDER_REFERENCES=1 (a failing case prints the command).
#include "HomeDirectory.h"
#include "support/PictureDifference.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kSource = VS_TEST_SOURCE_DIR;
const std::string kReferenceDir = kSource + "/tests/host_e2e/reference/";

struct RenderCase
{
    const char* name;
    bool simpleLighting;
    bool shadows;
};

void PrintTo(const RenderCase& c, std::ostream* os)
{
    *os << c.name;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

using pixeltest::compare;
using pixeltest::Difference;

class RenderPixelTest : public ::testing::TestWithParam<RenderCase>
{
protected:
    void SetUp() override
    {
        if (!fs::exists(VS_RI_LIBRARY))
            GTEST_SKIP() << "the renderer (target ri, " << VS_RI_LIBRARY
                         << ") is not built: no render to compare";
        std::string pattern = (fs::temp_directory_path() / "vantrel-pixels-XXXXXX").string();
        scratch = mkdtemp(pattern.data());
        home = vhost::prepareHomeDirectory(scratch + "/home", vhost::programDirectory(),
                                           kSource + "/data/pack/index.xml");
    }
    void TearDown() override
    {
        if (!scratch.empty())
            fs::remove_all(scratch);
    }

    /** The kitchen in its first-person view, with the lighting model of `c`. */
    QImage render(const RenderCase& c)
    {
        std::string design = readText(kSource + "/data/designs/kitchen.xml");
        const std::string prefs = "<displayPrefs ";
        const size_t at = design.find(prefs);
        EXPECT_NE(at, std::string::npos);
        design.insert(at + prefs.size(), std::string("simpleLighting=\"") +
                                             (c.simpleLighting ? "true" : "false") + "\" ");
        const std::string designPath = scratch + "/kitchen.xml";
        std::ofstream(designPath) << design;
        const std::string out = scratch + "/" + c.name + ".png";
        const std::string command = "QT_QPA_PLATFORM=offscreen '" + std::string(VS_HOST_PROGRAM) +
                                    "' --home '" + home + "' --render '" + out +
                                    "' --mode first --size 160x120 --samples 2" +
                                    (c.shadows ? "" : " --no-shadows") + " '" + designPath + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
    }

    std::string scratch;
    std::string home;
};

TEST_P(RenderPixelTest, KitchenMatchesItsReferenceRender)
{
    const RenderCase c = GetParam();
    const QImage actual = render(c);
    ASSERT_FALSE(actual.isNull());
    const std::string file = std::string("render-") + c.name + ".png";
    const QString referencePath = QString::fromStdString(kReferenceDir + file);
    if (std::getenv("VS_UPDATE_RENDER_REFERENCES") != nullptr) {
        fs::create_directories(kReferenceDir);
        ASSERT_TRUE(actual.save(referencePath)) << referencePath.toStdString();
        GTEST_SKIP() << "wrote the reference " << referencePath.toStdString();
    }
    // Where a failing run leaves its picture, and how to take it as the reference.
    const std::string kept = (fs::temp_directory_path() / file).string();
    const std::string update = "VS_UPDATE_RENDER_REFERENCES=1 '" +
                               fs::read_symlink("/proc/self/exe").string() +
                               "' --gtest_filter='*RenderPixelTest*'";
    const QImage reference(referencePath);
    if (reference.isNull()) {
        actual.save(QString::fromStdString(kept));
        FAIL() << "no reference picture " << referencePath.toStdString() << "; this run's is "
               << kept << "; to keep it: " << update;
    }
    const Difference d = compare(actual, reference.convertToFormat(QImage::Format_RGB32));
    if (d.differingShare > 0.03 || d.meanDifference > 6) {
        actual.save(QString::fromStdString(kept));
        ADD_FAILURE() << c.name << " differs from its reference: " << d.differingShare * 100
                      << "% of pixels, mean " << d.meanDifference << "; this run's picture is "
                      << kept << "; if it is right, make it the reference: " << update;
    }
}

INSTANTIATE_TEST_SUITE_P(LightingModels, RenderPixelTest,
                         ::testing::Values(RenderCase{"professional", false, true},
                                           RenderCase{"professional-no-shadows", false, false},
                                           RenderCase{"simple", true, true},
                                           RenderCase{"simple-no-shadows", true, false}),
                         [](const ::testing::TestParamInfo<RenderCase>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
