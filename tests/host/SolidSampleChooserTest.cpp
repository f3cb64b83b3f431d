// The pack's solid samples: read from the index, offered by the host from the design dialog's
// "三维模板" button outside change top, and applicable to every bundled room.
#include "SolidSampleChooser.h"
#include "CataloguePack.h"
#include "HostSession.h"
#include "HostTestSupport.h"
#include "HostText.h"
#include "PackCatalogue.h"

#include "ceiling/DesignReader.h"
#include "ceiling/SolidSampleMapping.h"
#include "document/CSolidDocument.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using hosttest::moduleLog;
using vhost::HostSession;

std::string solidSamplesIndex(const std::string& samples)
{
    std::string index = hosttest::smallIndex();
    const size_t end = index.rfind("</pack>");
    return index.substr(0, end) + "<solidSamples>" + samples + "</solidSamples></pack>";
}

TEST(SolidSampleChooserTest, ListsTheBundledSamplesAndReportsSampleAndAngle)
{
    const auto pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    ASSERT_EQ(2u, pack.solidSamples().size());
    vhost::SolidSampleChooser chooser(pack.solidSamples());
    auto* list = chooser.findChild<QListWidget*>("solidSampleList");
    auto* angles = chooser.findChild<QComboBox*>("angleCombo");
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, angles);
    EXPECT_NE(nullptr, chooser.findChild<QPushButton*>("okButton"));
    EXPECT_NE(nullptr, chooser.findChild<QPushButton*>("cancelButton"));
    ASSERT_EQ(2, list->count());
    ASSERT_EQ(4, angles->count());
    EXPECT_EQ(1, chooser.choice().id);
    EXPECT_EQ(0, chooser.choice().angle);
    list->setCurrentRow(1);
    angles->setCurrentIndex(3);
    EXPECT_EQ(2, chooser.choice().id);
    EXPECT_EQ(270, chooser.choice().angle);
    list->clearSelection();
    EXPECT_EQ(0, chooser.choice().id);
}

TEST(SolidSampleChooserTest, EveryBundledSampleFurnishesEveryBundledRoom)
{
    const auto pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    for (const vhost::PackSolidSample& s : pack.solidSamples()) {
        testsupport::PackCatalogue catalogue(pack);
        CSolidDocument sample;
        ASSERT_NO_THROW(vs::readDesign(s.designXml, sample, s.ceilingScale, catalogue)) << s.name;
        ASSERT_FALSE(sample.solidFacilities.empty()) << s.name;
        for (const char* name : {"kitchen", "bathroom", "living_room", "hall", "l_room"}) {
            SCOPED_TRACE(s.name + " in " + name);
            std::ifstream in(std::string(VS_TEST_SOURCE_DIR) + "/data/designs/" + name + ".xml");
            std::stringstream text;
            text << in.rdbuf();
            CSolidDocument room;
            vs::readDesign(text.str(), room, 1, catalogue);
            for (int angle : {0, 90, 180, 270}) {
                const vs::SolidContents contents = vs::mapSolidSample(sample, room, angle);
                EXPECT_EQ(sample.solidFacilities.size(), contents.solidFacilities.size());
                size_t decorated = 0;
                for (const vs::WallDecoration& wall : contents.walls)
                    decorated += wall.wallParts.empty() ? 0 : 1;
                EXPECT_GE(decorated, 2u) << angle; // every room has walls running both ways
            }
        }
    }
}

TEST(SolidSampleChooserTest, PackEntriesWithoutAUsableDesignAreRefused)
{
    hosttest::ScratchDir dir;
    hosttest::writeSmallPack(dir);
    dir.write("pack/d/room.xml", "<design outlinePoints='0,0 10,0 10,10'/>");
    dir.write("pack/d/broken.xml", "<design");
    for (const char* entry :
         {"<sample id='1' name='none'/>", "<sample id='0' name='zero' design='d/room.xml'/>",
          "<sample id='1' name='broken' design='d/broken.xml'/>",
          "<sample id='1' name='scale' design='d/room.xml' ceilingScale='0'/>",
          "<sample id='1' name='a' design='d/room.xml'/><sample id='1' name='b' "
          "design='d/room.xml'/>",
          "<sample id='1' name='out' design='../room.xml'/>"}) {
        const std::string index = dir.write("pack/bad.xml", solidSamplesIndex(entry));
        EXPECT_THROW(vhost::CataloguePack::load(index), std::invalid_argument) << entry;
    }
    const std::string good = dir.write(
        "pack/good.xml", solidSamplesIndex("<sample id='3' name='Room' design='d/room.xml' "
                                           "ceilingScale='10'/>"));
    const auto pack = vhost::CataloguePack::load(good);
    ASSERT_NE(nullptr, pack.solidSample(3));
    EXPECT_EQ(10, pack.solidSample(3)->ceilingScale);
    EXPECT_EQ(nullptr, pack.solidSample(1));
}

TEST(SolidSampleChooserTest, TheTemplateButtonOutsideChangeTopAppliesTheChosenSample)
{
    hosttest::ScratchDir dir;
    hosttest::writeSmallPack(dir);
    dir.write("pack/d/room.xml", "<design name='房间' outlinePoints='0,0 10,0 10,10'/>");
    const std::string index = dir.write(
        "pack/index.xml", solidSamplesIndex("<sample id='5' name='Room' design='d/room.xml'/>"));
    HostSession session(hosttest::fakeModule(), vhost::CataloguePack::load(index),
                        vhost::ModelOverrides::load(dir.path() + "/overrides.xml"));
    int staticAsked = 0;
    session.setSampleChooser([&](const std::vector<vhost::PackStaticSample>&) {
        ++staticAsked;
        return 0;
    });
    vhost::SolidSampleChoice answer{5, 180};
    int solidAsked = 0;
    session.setSolidChooser([&](const std::vector<vhost::PackSolidSample>& samples) {
        ++solidAsked;
        EXPECT_EQ(1u, samples.size());
        return answer;
    });

    EXPECT_EQ(0, HostSession::chooseStaticSample(0));
    EXPECT_EQ(1, solidAsked);
    EXPECT_EQ(0, staticAsked);
    ASSERT_EQ(1u, moduleLog().solidSamples.size());
    EXPECT_EQ(vhost::utf8ToUtf16("<design name='房间' outlinePoints='0,0 10,0 10,10'/>"),
              moduleLog().solidSamples[0].design);
    EXPECT_EQ(180, moduleLog().solidSamples[0].rotation);
    EXPECT_EQ(1, moduleLog().solidSamples[0].ceilingScale);

    // Cancelled, or a sample the pack does not have: nothing is applied.
    answer = {0, 90};
    HostSession::chooseStaticSample(0);
    answer = {6, 90};
    HostSession::chooseStaticSample(0);
    EXPECT_EQ(1u, moduleLog().solidSamples.size());

    // In change top the button still chooses a static sample.
    HostSession::chooseStaticSample(1);
    EXPECT_EQ(1, staticAsked);
    EXPECT_EQ(3, solidAsked);
}

} // namespace
