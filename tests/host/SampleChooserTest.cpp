// The static-sample chooser dialog.
#include "CataloguePack.h"
#include "StaticSampleChooser.h"

#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(StaticSampleChooserTest, ListsSamplesWithThumbnailsAndReportsTheChoice)
{
    const auto pack =
        vhost::CataloguePack::load(std::string(VS_TEST_SOURCE_DIR) + "/data/pack/index.xml");
    std::vector<vhost::PackStaticSample> samples = pack.staticSamples();
    vhost::PackStaticSample broken;
    broken.id = 7;
    broken.name = "no photo";
    samples.push_back(broken);
    vhost::StaticSampleChooser chooser(samples);
    auto* list = chooser.findChild<QListWidget*>("sampleList");
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(2, list->count());
    EXPECT_FALSE(list->item(0)->icon().isNull());
    EXPECT_NE(nullptr, chooser.findChild<QPushButton*>("okButton"));
    EXPECT_EQ(1, chooser.chosenId());
    list->setCurrentRow(1);
    EXPECT_EQ(7, chooser.chosenId());
    list->clearSelection();
    list->setCurrentItem(nullptr);
    EXPECT_EQ(0, chooser.chosenId());
}
