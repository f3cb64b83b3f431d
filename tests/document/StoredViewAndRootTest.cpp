// What a stored file may not do to the reader and the writer: open a view the display setup
// would never allow, pass another XML document off as a room, or have the "no bounds yet"
// sentinel written back into the user's file.
#include "DesignTexts.h"
#include "FakeDesignCatalogue.h"

#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CGridMapping.h"
#include "document/CSolidDocument.h"
#include "document/SolidCeiling.h"
#include "document/SolidViewState.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace designs;

namespace {

SolidViewState readPrefs(const std::string& prefs)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    vs::readDesign(room("", solidWithWall("<viewState><trackball currentQuaternion='0,0,0,1'/>"
                                          "<displayPrefs " +
                                          prefs + "/></viewState>")),
                   document, 1, catalogue);
    return *document.viewState;
}

} // namespace

TEST(StoredViewLimitsTest, FieldOfViewIsKeptWithinThirtyToOneHundredTwentyDegrees)
{
    // 1.0471976 is 60 degrees written in radians: it must not open a 1-degree view.
    EXPECT_EQ(readPrefs("fov='1.0471976'").fov, 30);
    EXPECT_EQ(readPrefs("fov='0'").fov, 30);
    EXPECT_EQ(readPrefs("fov='-45'").fov, 30);
    EXPECT_EQ(readPrefs("fov='179'").fov, 120);
    EXPECT_EQ(readPrefs("fov='500'").fov, 120);
    EXPECT_EQ(readPrefs("fov='30'").fov, 30);
    EXPECT_EQ(readPrefs("fov='120'").fov, 120);
    EXPECT_EQ(readPrefs("fov='66.5'").fov, 66.5);
    EXPECT_EQ(readPrefs("fov='nan'").fov, SolidViewState().fov);
}

TEST(StoredViewLimitsTest, EyeHeightIsKeptWithinOneToTwoPointSixMetres)
{
    // 16000 is a height in decimillimetres where metres are meant.
    EXPECT_NEAR(readPrefs("eyeAboveFloor='16000'").eyeAboveFloor, 2.6, 1e-6);
    EXPECT_EQ(readPrefs("eyeAboveFloor='0'").eyeAboveFloor, 1);
    EXPECT_EQ(readPrefs("eyeAboveFloor='-3'").eyeAboveFloor, 1);
    EXPECT_NEAR(readPrefs("eyeAboveFloor='1.6'").eyeAboveFloor, 1.6, 1e-6);
    EXPECT_NEAR(readPrefs("_gg='2.6'").eyeAboveFloor, 2.6, 1e-6);
    EXPECT_EQ(readPrefs("eyeAboveFloor='inf'").eyeAboveFloor, SolidViewState().eyeAboveFloor);
}

TEST(DesignRootTest, XmlWhoseRootIsNoRoomIsRefused)
{
    FakeDesignCatalogue catalogue;
    for (const char* text : {"<foo><bar/></foo>", "<design name='x' gridWidth='6000'/>",
                             "<_dg><_dh/></_dg>", "<design outlinePoints=''><tiles/></design>"}) {
        CSolidDocument document;
        EXPECT_THROW(vs::readDesign(text, document, 1, catalogue), std::invalid_argument) << text;
    }
}

TEST(DesignRootTest, AnOutlineOrASolidPartMakesARoom)
{
    FakeDesignCatalogue catalogue;
    CSolidDocument outlined;
    EXPECT_NO_THROW(vs::readDesign(room(), outlined, 1, catalogue));
    EXPECT_EQ(outlined.walls.size(), 4u);
    // The outline may come from the host later; a stored 3D part alone is still a room.
    CSolidDocument solidOnly;
    EXPECT_NO_THROW(
        vs::readDesign("<design>" + solid(viewState()) + "</design>", solidOnly, 1, catalogue));
}

TEST(DesignRootTest, AnEmptyOutlineIsWrittenWithZeroBounds)
{
    // Text that is no XML at all still reads as an empty room; writing it must not leak the
    // sentinel bounds of a plane without an outline.
    FakeDesignCatalogue catalogue;
    CSolidDocument document;
    vs::readDesign("not xml", document, 1, catalogue);
    ASSERT_TRUE(document.ceiling && document.ceiling->root);
    const std::string text = vs::writeSolid(document);
    EXPECT_EQ(text.find("2147483647"), std::string::npos) << text;
    EXPECT_EQ(text.find("2147483648"), std::string::npos) << text;
    EXPECT_NE(text.find("_gb=\"0.000000,0.000000,0.000000,0.000000\""), std::string::npos) << text;

    CSolidDocument outlined;
    vs::readDesign(room(), outlined, 1, catalogue);
    // A room with an outline keeps its real bounds.
    const std::string outlinedText = vs::writeSolid(outlined);
    const size_t at = outlinedText.find("_gb=\"");
    ASSERT_NE(at, std::string::npos);
    const std::string bounds = outlinedText.substr(at, outlinedText.find('"', at + 5) - at);
    EXPECT_EQ(bounds.find("2147483647"), std::string::npos) << bounds;
    EXPECT_NE(bounds, "_gb=\"0.000000,0.000000,0.000000,0.000000") << bounds;
}
