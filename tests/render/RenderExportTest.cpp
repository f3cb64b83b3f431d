// The scene export, recorded by the stand-in renderer: the bundled kitchen and hall on the
// engine's null driver, with three facilities of different heights, both lighting models and
// shadows on and off.
#include "RenderTestSupport.h"

#include "CataloguePack.h"
#include "PackCatalogue.h"

#include "ceiling/DesignReader.h"
#include "document/CGridMapping.h"
#include "document/CSectionLine.h"
#include "document/CSolidDocument.h"
#include "document/CSplitLine.h"
#include "document/SolidCeiling.h"
#include "render/RenderExport.h"
#include "render/RenderManBinding.h"
#include "render/RenderSettings.h"
#include "scene/CFloorSceneNode.h"
#include "scene/CRoomSceneNode.h"
#include "scene/DisplayPreferences.h"
#include "scene/GridMappingScene.h"
#include "scene/RoomScene.h"
#include "scene/SceneTestDevice.h"
#include "scene/SectionBarScene.h"
#include "scene/WallScene.h"
#include "view/CFirstPersonEye.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <set>

#include <dlfcn.h>
#include <unistd.h>

using rirecorder::Call;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

float value(const std::string& text)
{
    return std::stof(text);
}

std::vector<std::string> names(const std::vector<Call>& calls)
{
    std::vector<std::string> out;
    for (const Call& c : calls)
        out.push_back(c.name);
    return out;
}

std::vector<const Call*> callsNamed(const std::vector<Call>& calls, const std::string& name)
{
    std::vector<const Call*> out;
    for (const Call& c : calls)
        if (c.name == name)
            out.push_back(&c);
    return out;
}

class RenderExportTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        vs::RenderSettings::instance() = vs::RenderSettings{};
        vs::RenderSettings::instance().shadowDepthFile = "shadow_test.z";
        vs::RenderSettings::instance().shadowMapFile = "shadow_test.sm";
        const std::string text = rendertest::readFile(std::string(VS_TEST_SOURCE_DIR) +
                                                      "/data/designs/" + GetParam() + ".xml");
        vs::readDesign(edited(text), document, 1, catalogue);
        ASSERT_TRUE(document.ceiling && document.ceiling->root);
        addFacility(5104, 0, 900);   // top 900: the lowest light
        addFacility(5101, 500, 900); // top 1400: the middle one
        addFacility(5103, 0, 2000);  // top 2000: the highest
        addLights();
        vs::BuildRoomScene(device.smgr()->getRootSceneNode(), document);
        vs::applyDisplayPreferences(document, device.smgr());

        const RRect& b = document.ceiling->root->indentedBounds;
        const irr::core::vector3df centre(float(b.right - b.left) / 2, 13500,
                                          float(b.bottom - b.top) / 2);
        lookFrom(centre);
        recorded = &rendertest::loadRecorder();
    }

    /** The design text as the test reads it. */
    virtual std::string edited(const std::string& text) const { return text; }

    void TearDown() override
    {
        vs::ReleaseRoomScene(document);
        catalogue.facilities.releaseEngineObjects();
    }

    void addFacility(int modelId, float y, float height)
    {
        auto facility = std::make_unique<CSolidFacility>();
        facility->facilityModel = catalogue.facilities.findModel(modelId);
        ASSERT_NE(facility->facilityModel, nullptr) << modelId;
        const RRect& b = document.ceiling->root->indentedBounds;
        facility->size = {4000, height, 4000};
        facility->position = {float(b.right - b.left) / 3, y, float(b.bottom - b.top) / 3};
        document.solidFacilities.push_back(std::move(facility));
    }

    /** A main light (linear attenuation), one with quadratic attenuation only, one without any,
     *  a hidden one and a spot light. */
    void addLights()
    {
        document.solidLights.clear();
        auto light = [this](int type, Vec3f attenuation, bool main, bool visible) {
            auto l = std::make_unique<CSolidLight>(&document);
            l->type = type;
            l->attenuation = attenuation;
            l->isMain = main;
            l->isVisible = visible;
            l->position = {1000, 20000, 2000};
            l->diffuseColor = {0.5f, 0.25f, 1, 1};
            l->outerCone = 60;
            l->innerCone = 20;
            document.solidLights.push_back(std::move(l));
        };
        light(CSolidLight::Point, {0, 0.002f, 0}, true, true);
        light(CSolidLight::Point, {1, 0, 0.0001f}, false, true);
        light(CSolidLight::Point, {1, 0, 0}, false, true);
        light(CSolidLight::Point, {0, 0.002f, 0}, false, false);
        light(CSolidLight::Spot, {1, 0, 0.0001f}, false, true);
    }

    void lookFrom(const irr::core::vector3df& eye)
    {
        if (camera == nullptr)
            camera = device.smgr()->addCameraSceneNode(nullptr, eye, eye + look());
        camera->setPosition(eye);
        camera->setTarget(eye + look());
        camera->updateAbsolutePosition();
        view.document = &document;
        view.width = kWidth;
        view.height = kHeight;
        view.camera = camera;
        view.orbit = false;
        view.eye = eye;
    }

    static irr::core::vector3df look() { return {0, 0, 1}; }

    /** Exports one pass and returns its calls (without the progress extension's). */
    std::vector<Call> pass(bool shadow)
    {
        vs::RenderSettings::instance().shadowPass = shadow;
        recorded->clear();
        vs::ExportFrame(view);
        return rendertest::interfaceCalls(*recorded);
    }

    /** The RiIlluminate pairs (handle, on) that follow the global lights. */
    static std::vector<std::pair<int, int>> illuminations(const std::vector<Call>& calls)
    {
        std::vector<std::pair<int, int>> out;
        for (const Call* c : callsNamed(calls, "RiIlluminate"))
            out.emplace_back(std::stoi(c->args[0]), std::stoi(c->args[1]));
        return out;
    }

    SceneTestDevice device;
    rendertest::TempHome home;
    vhost::CataloguePack pack = vhost::CataloguePack::load(testsupport::bundledPackIndex());
    testsupport::PackCatalogue catalogue{pack};
    CSolidDocument document;
    irr::scene::ICameraSceneNode* camera = nullptr;
    vs::RenderView view;
    std::vector<Call>* recorded = nullptr;
};

TEST_P(RenderExportTest, ShadowPassRendersOnlyFacilitiesIntoADepthMapAndMakesTheMap)
{
    const std::vector<Call> calls = pass(true);
    const std::vector<std::string> all = names(calls);
    ASSERT_GT(all.size(), 10u);
    const std::vector<std::string> head(all.begin(), all.begin() + 10);
    EXPECT_EQ(head,
              (std::vector<std::string>{"RiBegin", "RiDisplay", "RiPixelSamples", "RiPixelFilter",
                                        "RiFormat", "RiShadingRate", "RiHider", "RiProjection",
                                        "RiTransform", "RiWorldBegin"}));
    EXPECT_EQ(calls[0].args, std::vector<std::string>{"(null)"});
    EXPECT_EQ(calls[1].args, (std::vector<std::string>{"shadow_test.z", "file", "z"}));
    EXPECT_EQ(calls[2].args, (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(calls[3].args, (std::vector<std::string>{"RiBoxFilter", "1", "1"}));
    EXPECT_EQ(calls[4].args, (std::vector<std::string>{"320", "240", "1"}));
    EXPECT_EQ(calls[5].args, std::vector<std::string>{"4"});
    EXPECT_EQ(calls[6].args, std::vector<std::string>{"hidden"});
    EXPECT_EQ(*calls[6].param("jitter"), std::vector<std::string>{"0"});
    ASSERT_GE(calls.size(), 3u);
    const size_t n = calls.size();
    EXPECT_EQ(calls[n - 3].name, "RiWorldEnd");
    EXPECT_EQ(calls[n - 2].name, "RiMakeShadow");
    EXPECT_EQ(calls[n - 2].args, (std::vector<std::string>{"shadow_test.z", "shadow_test.sm"}));
    EXPECT_EQ(calls[n - 1].name, "RiEnd");
    // Only facilities: no lights, no surfaces, no ceiling textures, no opacity.
    for (const char* absent :
         {"RiLightSource", "RiSurface", "RiMakeTexture", "RiOpacity", "RiIlluminate"})
        EXPECT_TRUE(callsNamed(calls, absent).empty()) << absent;
    EXPECT_EQ(callsNamed(calls, "RiAttributeBegin").size() >= 3, true);
    EXPECT_FALSE(callsNamed(calls, "RiPolygon").empty());
}

TEST_P(RenderExportTest, SimpleLightingWithShadowsLightsEachFacilityByItsHeight)
{
    const std::vector<Call> calls = pass(false);
    EXPECT_EQ(calls[1].args, (std::vector<std::string>{"room.tif", "framebuffer", "rgb"}));
    EXPECT_EQ(calls[2].args, (std::vector<std::string>{"4", "4"}));
    EXPECT_EQ(calls[3].args, (std::vector<std::string>{"RiCatmullRomFilter", "3", "3"}));
    EXPECT_TRUE(callsNamed(calls, "RiMakeShadow").empty());
    EXPECT_TRUE(callsNamed(calls, "RiHider").empty());

    const auto lights = callsNamed(calls, "RiLightSource");
    ASSERT_EQ(lights.size(), 4u);
    EXPECT_EQ(lights[0]->args[0], "ambientlight");
    EXPECT_EQ(*lights[0]->param("intensity"), std::vector<std::string>{"0.5"});
    const float heights[] = {14000, 20000, 26000};
    for (size_t i = 1; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lights[i]->args[0], "linearshadowpoint");
        EXPECT_NEAR(value(lights[i]->param("intensity")->at(0)), 25.6f / 0.002f, 0.01f);
        EXPECT_EQ(value(lights[i]->param("from")->at(1)), heights[i - 1]);
        const std::vector<std::string> expected = {
            "intensity",     "from",          "shadowname_px", "shadowname_nx",
            "shadowname_py", "shadowname_ny", "shadowname_pz", "shadowname_nz"};
        EXPECT_EQ(lights[i]->tokens(), expected);
        for (size_t k = 2; k < expected.size(); ++k)
            EXPECT_EQ(lights[i]->params[k].second, std::vector<std::string>{"shadow_test.sm"});
    }
    // The second and third go off at once; then each facility picks exactly one.
    const int g0 = std::stoi(lights[1]->args[1]);
    const auto on = illuminations(calls);
    // The design's own facilities come first; the three added above are the last three.
    const size_t facilities = document.solidFacilities.size();
    ASSERT_EQ(on.size(), 2u + 3u * facilities);
    EXPECT_EQ(on[0], std::make_pair(g0 + 1, 0));
    EXPECT_EQ(on[1], std::make_pair(g0 + 2, 0));
    for (size_t f = 0; f < facilities; ++f) {
        int lit = 0;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(on[2 + f * 3 + size_t(i)].first, g0 + i);
            lit += on[2 + f * 3 + size_t(i)].second;
        }
        EXPECT_EQ(lit, 1) << "facility " << f;
    }
    const size_t firstAdded = facilities - 3;
    for (int facility = 0; facility < 3; ++facility)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(on[2 + (firstAdded + size_t(facility)) * 3 + size_t(i)],
                      std::make_pair(g0 + i, i == facility ? 1 : 0))
                << "facility " << facility << " light " << i;
}

TEST_P(RenderExportTest, WithoutShadowsNoLightNamesAShadowMap)
{
    vs::RenderSettings::instance().renderShadows = false;
    for (bool simple : {true, false}) {
        vs::RenderSettings::instance().jobSimpleLighting = simple;
        const std::vector<Call> calls = pass(false);
        for (const Call* light : callsNamed(calls, "RiLightSource")) {
            EXPECT_EQ(light->param("shadowname_px"), nullptr) << light->args[0];
            EXPECT_EQ(light->args[0].find("shadow"), std::string::npos) << light->args[0];
        }
    }
}

TEST_P(RenderExportTest, ProfessionalLightsFollowTheirAttenuationAndNeverGetInfinity)
{
    vs::RenderSettings::instance().jobSimpleLighting = false;
    const std::vector<Call> calls = pass(false);
    const auto lights = callsNamed(calls, "RiLightSource");
    ASSERT_EQ(lights.size(), 5u); // ambient, then four visible lights; the hidden one is skipped
    const double base = vs::RenderSettings::baseIntensity(50);
    EXPECT_EQ(lights[1]->args[0], "linearshadowpoint");
    EXPECT_EQ(lights[1]->param("shadowname_nz")->at(0), "shadow_test.sm");
    EXPECT_NEAR(value(lights[1]->param("intensity")->at(0)), base / 0.002, 0.01);
    EXPECT_EQ(lights[2]->args[0], "pointlight");
    EXPECT_NEAR(value(lights[2]->param("intensity")->at(0)), base / 0.0001, 1);
    EXPECT_EQ(lights[3]->args[0], "linearpointlight");
    const float zeroAttenuation = value(lights[3]->param("intensity")->at(0));
    EXPECT_TRUE(std::isfinite(zeroAttenuation));
    EXPECT_NEAR(zeroAttenuation, base / 0.002, 0.01);
    EXPECT_EQ(lights[4]->args[0], "spotlight");
    EXPECT_EQ(lights[4]->tokens(), (std::vector<std::string>{"lightcolor", "intensity", "from",
                                                             "to", "coneangle", "conedeltaangle"}));
    EXPECT_EQ(*lights[4]->param("lightcolor"), (std::vector<std::string>{"0.5", "0.25", "1"}));
    EXPECT_EQ(*lights[4]->param("to"), (std::vector<std::string>{"1000", "-10000", "2000"}));
    EXPECT_NEAR(value(lights[4]->param("coneangle")->at(0)), 60 * M_PI / 180, 1e-6);
    EXPECT_NEAR(value(lights[4]->param("conedeltaangle")->at(0)), 40 * M_PI / 180, 1e-6);
    // No global lights, so no facility chooses one.
    EXPECT_TRUE(callsNamed(calls, "RiIlluminate").empty());
    // Each light sits in a transform block of its own.
    for (size_t i = 0; i + 1 < calls.size(); ++i)
        if (calls[i + 1].name == "RiLightSource" && calls[i + 1].args[0] != "ambientlight") {
            EXPECT_EQ(calls[i].name, "RiTransformBegin");
        }
}

TEST_P(RenderExportTest, WallsFacingAwayFromTheCameraAreLeftOut)
{
    auto wallBlocks = [this](const std::vector<Call>& calls) {
        int count = 0;
        for (const auto& wall : document.walls) {
            if (vs::wallGroupNode(*wall) == nullptr)
                continue;
            const irr::core::matrix4 m = vs::wallGroupNode(*wall)->getRelativeTransformation();
            for (size_t i = 0; i + 1 < calls.size(); ++i) {
                if (calls[i].name != "RiAttributeBegin" || calls[i + 1].name != "RiConcatTransform")
                    continue;
                bool same = true;
                for (int k = 0; k < 16; ++k)
                    same = same && std::fabs(value(calls[i + 1].args[size_t(k)]) - m[k]) < 1e-3f;
                count += same ? 1 : 0;
            }
        }
        return count;
    };
    const int walls = static_cast<int>(document.walls.size());
    ASSERT_GT(walls, 0);
    EXPECT_EQ(wallBlocks(pass(false)), walls) << "inside the room every wall faces the eye";
    const RRect& b = document.ceiling->root->indentedBounds;
    lookFrom({float(b.right - b.left) / 2, 13500, -200000});
    const int seen = wallBlocks(pass(false));
    EXPECT_GT(seen, 0);
    EXPECT_LT(seen, walls);
}

TEST_P(RenderExportTest, FloorTextureRepeatsOncePerTile)
{
    const std::vector<Call> calls = pass(false);
    const Call* floor = nullptr;
    for (const Call* p : callsNamed(calls, "RiPolygon"))
        if (p->args[0] != "3")
            floor = p;
    ASSERT_NE(floor, nullptr);
    ASSERT_NE(floor->param("st"), nullptr);
    EXPECT_EQ(floor->tokens(), (std::vector<std::string>{"P", "st"}));
    const auto& P = *floor->param("P");
    const auto& st = *floor->param("st");
    const int n = std::stoi(floor->args[0]);
    const irr::core::dimension2d<double> tile = CFloorSceneNode::tileSize(*document.floor);
    // s grows by 1 per tile width along x; t falls by 1 per tile height along plan y.
    const double s0 = value(st[0]) * tile.Width - value(P[0]);
    const double t0 = value(st[1]) * tile.Height + value(P[2]);
    for (int i = 1; i < n; ++i) {
        EXPECT_NEAR(value(st[size_t(2 * i)]) * tile.Width - value(P[size_t(3 * i)]), s0, 1);
        EXPECT_NEAR(value(st[size_t(2 * i + 1)]) * tile.Height + value(P[size_t(3 * i + 2)]), t0,
                    1);
        EXPECT_EQ(P[size_t(3 * i + 1)], "0");
    }
}

TEST_P(RenderExportTest, TexturesAreConvertedOncePerProcessAndMeshesCarryTheirVertexData)
{
    vs::convertedTextures().clear();
    const std::vector<Call> first = pass(false);
    std::set<std::string> converted;
    for (const Call* t : callsNamed(first, "RiMakeTexture")) {
        if (t->args[2] != "periodic")
            continue;
        EXPECT_TRUE(converted.insert(t->args[1]).second) << "converted twice: " << t->args[1];
        EXPECT_TRUE(std::filesystem::exists(home.path() + t->args[0])) << t->args[0];
        EXPECT_EQ(t->args[4], "RiGaussianFilter");
    }
    EXPECT_FALSE(converted.empty());
    // Ceiling planes: their own clamped textures, named for this process.
    const auto planeTextures = callsNamed(first, "RiMakeTexture");
    const std::string pid = std::to_string(::getpid()) + "_";
    bool plane = false;
    for (const Call* t : planeTextures)
        if (t->args[2] == "black") {
            plane = true;
            EXPECT_EQ(t->args[0].rfind(pid, 0), 0u) << t->args[0];
            EXPECT_NE(t->args[0].find("_level.tif"), std::string::npos);
        }
    EXPECT_TRUE(plane);

    const std::vector<Call> second = pass(false);
    for (const Call* t : callsNamed(second, "RiMakeTexture"))
        EXPECT_NE(t->args[2], "periodic") << "converted again: " << t->args[1];

    // Every triangle: P, st only under a texture, N, Cs, Os; colours within 0..1.
    std::string surface;
    for (const Call& c : second) {
        if (c.name == "RiSurface")
            surface = c.args[0];
        if (c.name != "RiPolygon" || c.args[0] != "3")
            continue;
        const std::vector<std::string> expected =
            surface == "paintedplastic" ? std::vector<std::string>{"P", "st", "N", "Cs", "Os"}
                                        : std::vector<std::string>{"P", "N", "Cs", "Os"};
        ASSERT_EQ(c.tokens(), expected) << surface;
        for (const std::string& v : *c.param("Cs"))
            ASSERT_TRUE(value(v) >= 0 && value(v) <= 1) << v;
    }
}

TEST_P(RenderExportTest, CeilingSeenFromBelowIsOpaque)
{
    const std::vector<Call> calls = pass(false);
    const auto opacity = callsNamed(calls, "RiOpacity");
    ASSERT_FALSE(opacity.empty());
    EXPECT_EQ(opacity[0]->args, (std::vector<std::string>{"1", "1", "1"}));
}

TEST_P(RenderExportTest, SplitLinesGiveTheirBendOrTheirSectionBar)
{
    const std::vector<Call> calls = pass(false);
    auto blockAt = [&](const irr::core::matrix4& m) -> size_t {
        for (size_t i = 0; i + 1 < calls.size(); ++i) {
            if (calls[i].name != "RiTransformBegin" || calls[i + 1].name != "RiConcatTransform")
                continue;
            bool same = true;
            for (int k = 0; k < 16; ++k)
                same = same && std::fabs(value(calls[i + 1].args[size_t(k)]) - m[k]) < 1e-3f;
            if (same)
                return i;
        }
        return calls.size();
    };
    int written = 0;
    const CGridMapping& root = *document.ceiling->root;
    for (const auto& split : root.splitLines) {
        if (split->child == nullptr)
            continue;
        if (split->bend) {
            // A bend strip is a ceiling plane of its own: its block and its plane texture.
            if (vs::planeNode(*split->bend) == nullptr)
                continue;
            EXPECT_LT(blockAt(vs::planeNode(*split->bend)->getRelativeTransformation()),
                      calls.size());
            ++written;
            continue;
        }
        const CSectionLine* line = split->sectionLine.get();
        if (line == nullptr || vs::sectionNode(*line) == nullptr ||
            vs::sectionMeshNodes(*line).empty())
            continue;
        size_t i = blockAt(vs::sectionNode(*line)->getRelativeTransformation());
        ASSERT_LT(i, calls.size()) << "a section bar is missing";
        i += 2;
        // One transform block per quad, each with its triangles.
        for (size_t quad = 0; quad < vs::sectionMeshNodes(*line).size(); ++quad) {
            ASSERT_EQ(calls[i].name, "RiTransformBegin");
            ASSERT_EQ(calls[i + 1].name, "RiConcatTransform");
            while (calls[i].name != "RiTransformEnd")
                ++i;
            ++i;
        }
        EXPECT_EQ(calls[i].name, "RiTransformEnd");
        ++written;
    }
    if (std::string(GetParam()) == "hall") {
        EXPECT_GT(written, 0) << "the hall's split levels are written";
    }
}

/** Where each exported polygon corner lands in world space: the transform stack replayed from
 *  the recorded calls (RiTransform sets, RiConcatTransform applies first, blocks save it). */
std::vector<irr::core::vector3df> worldCorners(const std::vector<Call>& calls)
{
    auto matrix = [](const Call& c) {
        irr::core::matrix4 m;
        for (int k = 0; k < 16; ++k)
            m[k] = value(c.args[size_t(k)]);
        return m;
    };
    std::vector<irr::core::vector3df> corners;
    std::vector<irr::core::matrix4> stack(1);
    bool inWorld = false;
    for (const Call& c : calls) {
        if (c.name == "RiWorldBegin")
            inWorld = true;
        if (!inWorld)
            continue;
        if (c.name == "RiTransformBegin" || c.name == "RiAttributeBegin")
            stack.push_back(stack.back());
        else if ((c.name == "RiTransformEnd" || c.name == "RiAttributeEnd") && stack.size() > 1)
            stack.pop_back();
        else if (c.name == "RiTransform")
            stack.back() = matrix(c);
        else if (c.name == "RiConcatTransform")
            stack.back() = stack.back() * matrix(c);
        else if (c.name == "RiPolygon" && c.param("P") != nullptr) {
            const std::vector<std::string>& P = *c.param("P");
            for (size_t i = 0; i + 2 < P.size(); i += 3) {
                irr::core::vector3df v(value(P[i]), value(P[i + 1]), value(P[i + 2]));
                stack.back().transformVect(v);
                corners.push_back(v);
            }
        }
    }
    return corners;
}

/** The scene's transformation of `node` up to the room's frame (the room node left out). */
irr::core::matrix4 roomTransformation(const irr::scene::ISceneNode* node,
                                      const irr::scene::ISceneNode* room)
{
    irr::core::matrix4 m = node->getRelativeTransformation();
    for (const irr::scene::ISceneNode* p = node->getParent(); p != nullptr && p != room;
         p = p->getParent())
        m = p->getRelativeTransformation() * m;
    return m;
}

void collectLines(const CGridMapping& plane, std::vector<const CSectionLine*>& lines)
{
    for (const auto& line : plane.trusteeSectionLines)
        lines.push_back(line.get());
    for (const auto& split : plane.splitLines)
        if (split->sectionLine)
            lines.push_back(split->sectionLine.get());
    for (const auto& child : plane.children)
        collectLines(*child, lines);
}

/** Checks that every bar the scene shows has its corners among the exported ones, where the
 *  window draws them; returns how many bars the scene shows. */
int expectBarsWhereTheWindowShowsThem(const std::vector<Call>& calls,
                                      const CSolidDocument& document)
{
    const std::vector<irr::core::vector3df> corners = worldCorners(calls);
    std::vector<const CSectionLine*> lines;
    collectLines(*document.ceiling->root, lines);
    int shown = 0;
    for (const CSectionLine* line : lines) {
        if (vs::sectionNode(*line) == nullptr || vs::sectionMeshNodes(*line).empty())
            continue; // a split line with a bend shows the bend instead
        ++shown;
        // Every corner of the bar's first and last quads.
        for (const irr::scene::ISceneNode* quad :
             {vs::sectionMeshNodes(*line).front(), vs::sectionMeshNodes(*line).back()}) {
            const auto* meshNode = static_cast<const irr::scene::IMeshSceneNode*>(quad);
            const irr::scene::IMeshBuffer* buffer =
                const_cast<irr::scene::IMeshSceneNode*>(meshNode)->getMesh()->getMeshBuffer(0);
            const auto* vertices = static_cast<const irr::video::S3DVertex*>(buffer->getVertices());
            const irr::core::matrix4 m = roomTransformation(quad, document.roomNode);
            for (irr::u32 k = 0; k < buffer->getVertexCount(); ++k) {
                irr::core::vector3df expected = vertices[k].Pos;
                m.transformVect(expected);
                const bool written =
                    std::any_of(corners.begin(), corners.end(), [&](const auto& corner) {
                        return corner.getDistanceFrom(expected) < 1.0f;
                    });
                EXPECT_TRUE(written)
                    << "a bar from (" << line->pt1.x << ", " << line->pt1.y << ") is missing at "
                    << expected.X << ", " << expected.Y << ", " << expected.Z;
            }
        }
    }
    return shown;
}

TEST_P(RenderExportTest, EverySectionBarTheWindowShowsIsWrittenWhereItShows)
{
    const int shown = expectBarsWhereTheWindowShowsThem(pass(false), document);
    if (std::string(GetParam()) == "hall") {
        EXPECT_GT(shown, 0) << "the hall's trustee bar is in the scene";
    }
}

/** The living room with a trustee bar along its raised centre's edge, beside the bend there:
 *  the bar hangs under the centre's grid node, which the parent's block does not include. */
class DockedChildBarTest : public RenderExportTest
{
protected:
    std::string edited(const std::string& text) const override
    {
        const std::string child = "dock=\"2,6,2,4\" horizontalSplit=\"false\" installType=\"2\">";
        std::string out = text;
        const size_t at = out.find(child);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos)
            out.insert(at + child.size(), "<trusteeSectionLines><sectionLine pt1=\"12000,12000,0\" "
                                          "pt2=\"36000,12000,0\" leftAngle=\"1.5707963\" "
                                          "rightAngle=\"1.5707963\" sectionBarTypeId=\"4102\"/>"
                                          "</trusteeSectionLines>");
        return out;
    }
};

TEST_P(DockedChildBarTest, BarOfARaisedPlaneIsWrittenAtItsHeight)
{
    EXPECT_EQ(expectBarsWhereTheWindowShowsThem(pass(false), document), 1);
}

INSTANTIATE_TEST_SUITE_P(LivingRoom, DockedChildBarTest, ::testing::Values("living_room"));

TEST_P(RenderExportTest, CeilingSeenFromAboveLetsTheRoomShowThrough)
{
    const RRect& b = document.ceiling->root->indentedBounds;
    lookFrom({float(b.right - b.left) / 2, 40000, float(b.bottom - b.top) / 2});
    const std::vector<Call> calls = pass(false);
    size_t i = 0;
    while (i < calls.size() && calls[i].name != "RiOpacity")
        ++i;
    ASSERT_LT(i, calls.size());
    EXPECT_EQ(calls[i].args, (std::vector<std::string>{"0.5", "0.5", "0.5"}));
    while (i < calls.size() && calls[i].name != "RiPolygon")
        ++i;
    ASSERT_LT(i, calls.size());
    // The plane's vertices are opaque white: their Os carries the opacity, which it would
    // otherwise replace.
    for (const std::string& os : *calls[i].param("Os"))
        EXPECT_FLOAT_EQ(value(os), 0.5f);
}

INSTANTIATE_TEST_SUITE_P(BundledDesigns, RenderExportTest, ::testing::Values("kitchen", "hall"));

// ---- cameras, intensities, progress -----------------------------------------------------------

irr::core::vector3df direction(const irr::core::matrix4& m, irr::core::vector3df v)
{
    m.rotateVect(v);
    return v;
}

void expectNear(const irr::core::vector3df& a, const irr::core::vector3df& b, float tolerance)
{
    EXPECT_NEAR(a.X, b.X, tolerance);
    EXPECT_NEAR(a.Y, b.Y, tolerance);
    EXPECT_NEAR(a.Z, b.Z, tolerance);
}

TEST(RenderCameraTest, FirstPersonLooksWhereTheWindowsEyeLooks)
{
    CSolidDocument document;
    CFirstPersonEye eye;
    eye.position = {12000, 13500, 8000};
    eye.setAngles(30, 20);
    vs::RenderView view;
    view.document = &document;
    view.orbit = false;
    view.yaw = eye.yaw;
    view.pitch = eye.pitch;
    view.eye = eye.position;
    const vs::RenderCameraSetup c = vs::renderCamera(view, false);
    expectNear(c.cameraToWorld.getTranslation(), eye.position, 0.01f);
    expectNear(direction(c.cameraToWorld, {0, 0, 1}), eye.look(), 1e-4f);
}

TEST(RenderCameraTest, OrbitCameraLooksUpThroughTheTurnedRoom)
{
    SceneTestDevice device;
    CSolidDocument document;
    document.roomNode = new CRoomSceneNode(&document, nullptr, device.smgr());
    irr::core::matrix4 turn;
    turn.setRotationDegrees({10, 25, 0});
    document.roomNode->setRelativeTransformationMatrix(turn);
    irr::scene::ICameraSceneNode* camera =
        device.smgr()->addCameraSceneNode(nullptr, {0, -50000, 0}, {0, 0, 0});
    vs::RenderView view;
    view.document = &document;
    view.camera = camera;
    view.orbit = true;
    const vs::RenderCameraSetup c = vs::renderCamera(view, false);
    irr::core::matrix4 inverse;
    turn.getInverse(inverse);
    irr::core::vector3df p(0, -50000, 0);
    inverse.transformVect(p);
    expectNear(c.cameraToWorld.getTranslation(), p, 0.5f);
    expectNear(direction(c.cameraToWorld, {0, 0, 1}), direction(inverse, {0, 1, 0}), 1e-4f);
    EXPECT_NEAR(c.fov, camera->getFOV() * 57.2957764f, 1e-4f);
    document.roomNode->remove();
    document.roomNode = nullptr;
}

TEST(RenderCameraTest, ShadowCameraLooksDownAndSeesTheWholeOutline)
{
    for (double extent : {20000.0, 74000.0, 150000.0, 400000.0}) {
        SCOPED_TRACE(extent);
        const float fov = static_cast<float>(std::atan(0.5 * extent) * 57.29577951308232);
        const float h = vs::shadowCameraHeight(extent, fov);
        EXPECT_GE(h, 37000.0f);
        EXPECT_GE(h * std::tan(fov * 0.5 * M_PI / 180), 0.5 * extent);
    }
    EXPECT_EQ(vs::shadowCameraHeight(60000, 89.99f), 37000.0f);
}

TEST(RenderCameraTest, LightIntensityUsesTheAttenuationThatIsSet)
{
    EXPECT_NEAR(vs::RenderSettings::baseIntensity(50), 25.6, 1e-5);
    EXPECT_NEAR(vs::RenderSettings::baseIntensity(0), 10, 1e-9);
    EXPECT_NEAR(vs::RenderSettings::baseIntensity(100), 41.2, 1e-5);
    const vs::LightIntensity linear = vs::lightIntensity(25.6, 0, 0.002f, 0.5f);
    EXPECT_TRUE(linear.linear);
    EXPECT_NEAR(linear.intensity, 12800, 0.01);
    const vs::LightIntensity quadratic = vs::lightIntensity(25.6, 1, 0, 0.0001f);
    EXPECT_FALSE(quadratic.linear);
    EXPECT_NEAR(quadratic.intensity, 256000, 1);
    // The main light as the module makes it, (1, 0, 0), renders as the default lamp; so does a
    // light without any term, which would otherwise be infinitely bright.
    for (const float constant : {0.0f, 1.0f}) {
        const vs::LightIntensity none = vs::lightIntensity(25.6, constant, 0, 0);
        EXPECT_TRUE(none.linear);
        EXPECT_NEAR(none.intensity, 12800, 0.01) << constant;
    }
    // Terms a file may carry that no light can use count as absent: no negative or undefined
    // intensity reaches the renderer.
    for (const float bad : {-0.002f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
        const vs::LightIntensity linearBad = vs::lightIntensity(25.6, bad, bad, 0.0001f);
        EXPECT_FALSE(linearBad.linear) << bad;
        EXPECT_NEAR(linearBad.intensity, 256000, 1) << bad;
        const vs::LightIntensity allBad = vs::lightIntensity(25.6, bad, bad, bad);
        EXPECT_TRUE(allBad.linear) << bad;
        EXPECT_NEAR(allBad.intensity, 12800, 0.01) << bad;
    }
}

TEST(RenderCameraTest, AConstantTermDimsALampAsInTheWindow)
{
    // The bundled lamps, (0.6, 0.00004, 0): far gentler falloff than the default lamp, held back
    // by the constant term. Ignoring it made them fifty times the default lamp: a white picture.
    const vs::LightIntensity lamp = vs::lightIntensity(25.6, 0.6f, 0.00004f, 0);
    EXPECT_TRUE(lamp.linear);
    EXPECT_NEAR(lamp.intensity, 25.6 / (0.00004 + 0.002 * 0.6), 0.5);
    // A larger constant dims, as 1 / (c + l d) does in the window.
    EXPECT_GT(vs::lightIntensity(25.6, 0.3f, 0.00004f, 0).intensity, lamp.intensity);
    EXPECT_LT(vs::lightIntensity(25.6, 1.2f, 0.00004f, 0).intensity, lamp.intensity);
}

TEST(RenderProgressTest, ProgressReachesTheCallerAndStoppingIsPassedBack)
{
    rendertest::TempHome home;
    SceneTestDevice device;
    CSolidDocument document;
    vs::RenderSettings::instance() = vs::RenderSettings{};
    vs::RenderSettings::instance().shadowPass = false;
    std::vector<Call>& calls = rendertest::loadRecorder();
    vs::RenderView view;
    view.document = &document;
    view.width = 10;
    view.height = 10;
    view.orbit = false;
    std::vector<float> seen;
    vs::ExportFrame(view, [&](float f) {
        seen.push_back(f);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<float>{0, 1}));
    EXPECT_EQ(calls.front().name, "RiBegin");
    EXPECT_EQ(calls[1].name, "RiProgressHandler");
    calls.clear();
    vs::ExportFrame(view, [&](float) { return false; });
    const auto worldEnd = callsNamed(calls, "RiWorldEnd");
    ASSERT_EQ(worldEnd.size(), 1u);
    EXPECT_EQ(worldEnd[0]->args, std::vector<std::string>{"stopped at 0"});
}

TEST(RenderProgressTest, AProcedureTheRendererLacksFailsTheFrameAndClosesIt)
{
    rendertest::TempHome home;
    CSolidDocument document;
    vs::RenderSettings::instance() = vs::RenderSettings{};
    vs::RenderSettings::instance().shadowPass = true;
    vs::RenderManBinding& binding = vs::RenderManBinding::instance();
    ASSERT_TRUE(binding.load(VS_RI_PARTIAL));
    auto calls =
        reinterpret_cast<decltype(&RiRecorderCalls)>(::dlsym(binding.handle(), "RiRecorderCalls"));
    ASSERT_NE(calls, nullptr);
    calls()->clear();
    vs::RenderView view;
    view.document = &document;
    view.width = 10;
    view.height = 10;
    try {
        vs::ExportFrame(view);
        ADD_FAILURE() << "no error for a missing RiMakeShadow";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("RiMakeShadow"), std::string::npos) << e.what();
    }
    ASSERT_FALSE(calls()->empty());
    EXPECT_EQ(calls()->back().name, "RiEnd");
}

} // namespace
