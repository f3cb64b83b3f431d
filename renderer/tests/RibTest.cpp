// RIB out and in: a scene with every geometry kind rendered directly and through the RIB
// writer and reader gives the same picture; gzip and the binary encoding read the same;
// damaged input is reported with file and line.
#include "RenderFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <zlib.h>

using namespace ritest;

namespace {

char* tok(const char* s)
{
    return const_cast<char*>(s);
}

void everyGeometry(const std::string& out)
{
    RiDisplay(tok(out.c_str()), RI_FILE, RI_RGBA, RI_NULL);
    RiFormat(48, 36, 1);
    RiPixelSamples(2, 2);
    RiPixelFilter(RiCatmullRomFilter, 3, 3);
    RiQuantize(RI_RGBA, 0, 0, 0, 0);
    RtFloat fov = 60;
    RiProjection(RI_PERSPECTIVE, RI_FOV, &fov, RI_NULL);
    RiTranslate(0, 0, 9);
    RiWorldBegin();
    RtFloat amb = 0.2f, in = 30;
    RiLightSource(RI_AMBIENTLIGHT, RI_INTENSITY, &amb, RI_NULL);
    RtPoint from = {3, 4, -5};
    RiLightSource(RI_POINTLIGHT, RI_INTENSITY, &in, RI_FROM, &from, RI_NULL);
    RiSurface(RI_PLASTIC, RI_NULL);
    RiAttributeBegin();
    RiTranslate(-3, 2, 0);
    RiSphere(0.8f, -0.6f, 0.8f, 300, RI_NULL);
    RiTranslate(2, 0, 0);
    RiCylinder(0.5f, -0.5f, 0.5f, 360, RI_NULL);
    RiTranslate(2, 0, 0);
    RiCone(1, 0.6f, 360, RI_NULL);
    RiTranslate(2, 0, 0);
    RiDisk(0, 0.7f, 270, RI_NULL);
    RiAttributeEnd();
    RiAttributeBegin();
    RiTranslate(-3, 0, 0);
    RiParaboloid(0.7f, 0, 1, 360, RI_NULL);
    RiTranslate(2, 0, 0);
    RtPoint p1 = {0.3f, -0.5f, -0.5f}, p2 = {0.5f, 0.3f, 0.5f};
    RiHyperboloid(p1, p2, 360, RI_NULL);
    RiTranslate(2, 0, 0);
    RiTorus(0.6f, 0.2f, 0, 360, 360, RI_NULL);
    RiTranslate(2, 0, 0);
    RtPoint patch[4] = {
        {-0.5f, -0.5f, 0}, {0.5f, -0.5f, 0.3f}, {-0.5f, 0.5f, 0.3f}, {0.5f, 0.5f, 0}};
    RiPatch(RI_BILINEAR, RI_P, patch, RI_NULL);
    RiAttributeEnd();
    RiAttributeBegin();
    RiTranslate(-3, -2, 0);
    RtColor green = {0.2f, 0.8f, 0.3f};
    RiColor(green);
    RtPoint tri[3] = {{-0.5f, -0.5f, 0}, {0, 0.5f, 0}, {0.5f, -0.5f, 0}};
    RtColor cs[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    RiPolygon(3, RI_P, tri, RI_CS, cs, RI_NULL);
    RiTranslate(2, 0, 0);
    RtInt loops[2] = {4, 3};
    RtPoint holed[7] = {{-0.6f, -0.6f, 0}, {-0.6f, 0.6f, 0}, {0.6f, 0.6f, 0}, {0.6f, -0.6f, 0},
                        {-0.2f, -0.2f, 0}, {0, 0.2f, 0},     {0.2f, -0.2f, 0}};
    RiGeneralPolygon(2, loops, RI_P, holed, RI_NULL);
    RiTranslate(2, 0, 0);
    RtInt nverts[2] = {3, 3}, verts[6] = {0, 1, 2, 0, 2, 3};
    RtPoint quad[4] = {{-0.5f, -0.5f, 0}, {-0.5f, 0.5f, 0}, {0.5f, 0.5f, 0}, {0.5f, -0.5f, 0}};
    RtFloat opac[6] = {1, 1, 1, 0.5f, 0.5f, 0.5f};
    RiPointsPolygons(2, nverts, verts, RI_P, quad, "uniform color Os", opac, RI_NULL);
    RiTranslate(2, 0, 0);
    RtInt gloops[1] = {2}, gnverts[2] = {4, 3}, gverts[7] = {0, 1, 2, 3, 4, 5, 6};
    RiPointsGeneralPolygons(1, gloops, gnverts, gverts, RI_P, holed, RI_NULL);
    RiAttributeEnd();
    RiAttributeBegin();
    RiTranslate(0, 0, 2);
    RtPoint mesh[16];
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            mesh[j * 4 + i][0] = -4 + i * 2.7f;
            mesh[j * 4 + i][1] = -3 + j * 2;
            mesh[j * 4 + i][2] = (i == 1 || i == 2) && (j == 1 || j == 2) ? 1.5f : 0;
        }
    RiBasis(RiBezierBasis, RI_BEZIERSTEP, RiBezierBasis, RI_BEZIERSTEP);
    RiPatchMesh(RI_BICUBIC, 4, RI_NONPERIODIC, 4, RI_NONPERIODIC, RI_P, mesh, RI_NULL);
    RiAttributeEnd();
    RiWorldEnd();
}

bool samePictures(const Picture& a, const Picture& b)
{
    if (a.width != b.width || a.height != b.height || a.channels != b.channels || a.width == 0)
        return false;
    for (size_t k = 0; k < a.pixels.size(); ++k)
        if (std::fabs(a.pixels[k] - b.pixels[k]) > 1e-5f)
            return false;
    return true;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(RibTest, WrittenAndReadBackRendersTheSamePicture)
{
    ScratchDir dir;
    std::string direct = dir.file("direct.tif"), viaRib = dir.file("rib.tif");
    RiBegin(RI_NULL);
    everyGeometry(direct);
    RiEnd();

    std::string rib = dir.file("scene.rib");
    RiBegin(tok(rib.c_str()));
    everyGeometry(viaRib);
    RiEnd();
    std::string text = readText(rib);
    EXPECT_NE(text.find("Hyperboloid"), std::string::npos);
    EXPECT_NE(text.find("\"uniform color Os\""), std::string::npos);

    RiBegin(RI_NULL);
    RiReadArchive(tok(rib.c_str()), nullptr, RI_NULL);
    RiEnd();
    Picture a = readPicture(direct), b = readPicture(viaRib);
    EXPECT_TRUE(samePictures(a, b));

    // The same stream compressed with gzip.
    std::string gz = dir.file("scene.rib.gz");
    gzFile f = gzopen(gz.c_str(), "wb");
    ASSERT_TRUE(f);
    gzwrite(f, text.data(), unsigned(text.size()));
    gzclose(f);
    std::remove(viaRib.c_str());
    RiBegin(RI_NULL);
    RiReadArchive(tok(gz.c_str()), nullptr, RI_NULL);
    RiEnd();
    EXPECT_TRUE(samePictures(a, readPicture(viaRib)));
}

void appendFloat(std::string& s, float v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    s += char(0244);
    for (int k = 3; k >= 0; --k)
        s += char((u >> (8 * k)) & 0xff);
}

TEST(RibTest, BinaryEncodingReadsLikeAscii)
{
    ScratchDir dir;
    std::string a = dir.file("a.tif"), b = dir.file("b.tif");
    auto header = [](const std::string& out) {
        return "Display \"" + out +
               "\" \"file\" \"rgba\"\nFormat 16 16 1\nQuantize \"rgba\" 0 0 0 0\n"
               "Projection \"perspective\" \"fov\" [40]\nTranslate 0 0 5\nWorldBegin\n";
    };
    std::string ascii = header(a) + "Sphere 1 -1 1 360\nWorldEnd\n";
    std::string binary = header(b);
    binary += char(0314);
    binary += char(7);
    binary += char(0220 + 6);
    binary += "Sphere";
    binary += char(0246);
    binary += char(7);
    appendFloat(binary, 1);
    binary += char(0200); // one-byte integer -1
    binary += char(0xff);
    binary += char(0200 + 4 * 1 + 1); // two bytes, one after the point: 1.0
    binary += char(1);
    binary += char(0);
    binary += char(0201); // two-byte integer 360
    binary += char(1);
    binary += char(104);
    binary += "\nWorldEnd\n";
    std::ofstream(dir.file("a.rib"), std::ios::binary) << ascii;
    std::ofstream(dir.file("b.rib"), std::ios::binary) << binary;
    ErrorLog::entries().clear();
    RiErrorHandler(ErrorLog::handler);
    RiBegin(RI_NULL);
    RiReadArchive(tok(dir.file("a.rib").c_str()), nullptr, RI_NULL);
    RiReadArchive(tok(dir.file("b.rib").c_str()), nullptr, RI_NULL);
    RiEnd();
    RiErrorHandler(RiErrorPrint);
    EXPECT_TRUE(ErrorLog::entries().empty()) << ErrorLog::entries()[0].text;
    Picture pa = readPicture(a);
    EXPECT_TRUE(samePictures(pa, readPicture(b)));
    EXPECT_GT(pa.at(8, 8, 3), 0.99f);
}

TEST(RibTest, DamagedInputIsReportedWithFileAndLine)
{
    ScratchDir dir;
    std::string rib = dir.file("bad.rib");
    std::ofstream(rib) << "WorldBegin\nSphere 1 -1 \"x\" 360\nBogus 3\n"
                          "ObjectBegin 1 ObjectInstance 2 ObjectEnd\n"
                          "ObjectBegin 2 ObjectInstance 1 ObjectEnd\n"
                          "ObjectInstance 1\n\"dangling\nWorldEnd\n";
    ErrorLog::entries().clear();
    RiErrorHandler(ErrorLog::handler);
    RiBegin(RI_NULL);
    RiReadArchive(tok(rib.c_str()), nullptr, RI_NULL);
    RiReadArchive(tok(dir.file("missing.rib").c_str()), nullptr, RI_NULL);
    RiEnd();
    RiErrorHandler(RiErrorPrint);
    EXPECT_TRUE(ErrorLog::contains(rib + ":2:"));
    EXPECT_TRUE(ErrorLog::contains(rib + ":3: unknown request \"Bogus\""));
    EXPECT_TRUE(ErrorLog::contains("unterminated string"));
    EXPECT_TRUE(ErrorLog::contains("objects instanced too deeply"));
    EXPECT_EQ(ErrorLog::count(RIE_NOFILE), 1);
}

TEST(RibTest, RirenderRendersFilesAndFailsOnBadOnes)
{
    ScratchDir dir;
    std::string out = dir.file("r.tif");
    std::ofstream(dir.file("ok.rib")) << "Display \"" << out
                                      << "\" \"file\" \"rgb\"\nFormat 8 8 1\nWorldBegin\n"
                                         "Sphere 1 -1 1 360\nWorldEnd\n";
    std::string bin = std::string(RI_TEST_LIB_DIR) + "/../bin/rirender";
    EXPECT_EQ(std::system((bin + " -p 1 " + dir.file("ok.rib") + " 2>/dev/null").c_str()), 0);
    EXPECT_EQ(readPicture(out).width, 8);
    EXPECT_NE(std::system((bin + " " + dir.file("none.rib") + " 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((bin + " < /dev/null 2>/dev/null").c_str()), 0);
}

} // namespace
