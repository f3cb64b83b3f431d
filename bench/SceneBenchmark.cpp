// Building the scene of a hall: three split levels of 10 m x 20 m with 600 mm panels (about
// 1 700 panels), section bars along the splits, 20 facilities and 6 lights. Meshes are made
// in code and handed to the models, so no mesh file is parsed inside the measured loop.
#include "catalogue/CCandyCatalogue.h"
#include "catalogue/CFacilityCatalogue.h"
#include "catalogue/HostCallbacks.h"
#include "ceiling/DesignReader.h"
#include "document/CSolidDocument.h"
#include "document/CSolidFacility.h"
#include "document/CSolidLight.h"
#include "document/DesignCatalogue.h"
#include "scene/RoomScene.h"
#include "scene/SceneEngine.h"

#include <QBuffer>
#include <QImage>
#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <sstream>

namespace {

QByteArray panelPicture()
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(qRgb(236, 236, 230));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const char* const kSquareProfile =
    "<profile><contours><contour id='1'><points>"
    "<point value='0,0' isPivotPoint='true' color='RGB(200,200,200)'/><point value='300,0'/>"
    "<point value='300,200'/><point value='0,200'/></points></contour></contours></profile>";

class HallCatalogue : public DesignCatalogue
{
public:
    HallCatalogue() : picture(panelPicture())
    {
        candies.addBuiltInKinds();
        facilities.addBuiltIns();
        CandyTypeInfo panel;
        panel.id = 100;
        panel.name = "panel 600";
        panel.kind = 1;
        panel.nominalWidth = panel.nominalHeight = 6000;
        panel.listed = true;
        panel.pictureData = picture.constData();
        panel.pictureSize = static_cast<int>(picture.size());
        candies.addType(panel);
        CandyTypeInfo bar;
        bar.id = 200;
        bar.name = "bar";
        bar.kind = 8;
        bar.profile = kSquareProfile;
        candies.addType(bar);
        for (int i = 0; i < 20; ++i) {
            FacilityModelInfo m;
            m.id = 1000 + i;
            m.name = "box " + std::to_string(i);
            m.width = m.height = 6000;
            facilities.addModel(m)->setMesh(boxMesh());
        }
        candies.link();
        facilities.link();
    }
    ~HallCatalogue() override { facilities.releaseEngineObjects(); }

    static irr::scene::IMesh* boxMesh()
    {
        static irr::scene::IMesh* box = nullptr;
        if (box == nullptr) {
            irr::IrrlichtDevice* d = vs::sceneDevice();
            box = d->getSceneManager()->getGeometryCreator()->createCubeMesh({6000, 8000, 6000});
        }
        return box;
    }

    CCandyType* candyType(int id) override { return candies.findType(id); }
    CFacilityModel* facilityModel(int id, int typeId) override
    {
        return facilities.findModel(id, typeId);
    }
    CFacilityModel* builtInModel(size_t position) override { return facilities.modelAt(position); }
    void loadStaticSample(int) override {}

    QByteArray picture;
    HostCallbacks callbacks;
    CCandyCatalogue candies{&callbacks};
    CFacilityCatalogue facilities{&callbacks};
};

std::string plane(int id, int left, int right)
{
    std::ostringstream s;
    s << "<plane id='" << id << "' gridWidth='6000' gridHeight='6000' outlinePoints='" << left
      << ",0 " << right << ",0 " << right << ",200000 " << left << ",200000' realGridOffset='"
      << left << ",0' hoist='0'><tiles>";
    for (int gy = 0; gy < 34; ++gy)
        for (int gx = 0; gx < 17; ++gx)
            s << "<tile tileTypeId='100' gx='" << gx << "' gy='" << gy << "'/>";
    s << "</tiles></plane>";
    return s.str();
}

std::string hallDesign()
{
    std::ostringstream s;
    s << "<design id='1' gridWidth='6000' gridHeight='6000' outlinePoints='0,0 300000,0 "
         "300000,200000 0,200000' realGridOffset='0,0' horizontalSplit='true' installType='0'>"
         "<splitLines>";
    for (int pos : {100000, 200000})
        s << "<splitLine pos='" << pos << "' hoistSide='" << (pos == 100000 ? 1 : 2)
          << "' hoist='1000' installType='2' sectionBarTypeId='200' pt1='" << pos << ",0,0' pt2='"
          << pos << ",200000,0'><sectionLine pt1='" << pos << ",0,0' pt2='" << pos
          << ",200000,0' leftAngle='1.5707963' rightAngle='1.5707963' sectionBarTypeId='200'/>"
             "</splitLine>";
    s << "</splitLines><children>" << plane(2, 0, 100000) << plane(3, 100000, 200000)
      << plane(4, 200000, 300000) << "</children></design>";
    return s.str();
}

void BM_BuildHallScene(benchmark::State& state)
{
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    device->getLogger()->setLogLevel(irr::ELL_NONE);
    vs::setSceneEngine(device);
    {
        HallCatalogue catalogue;
        CSolidDocument document;
        vs::readDesign(hallDesign(), document, 1, catalogue);
        for (int i = 0; i < 20; ++i) {
            auto f = std::make_unique<CSolidFacility>();
            f->facilityModel = catalogue.facilities.findModel(1000 + i);
            f->size = {6000, 8000, 6000};
            f->position = {10000.0f + 14000.0f * (i % 20), 0, 20000.0f + 8000.0f * (i % 4)};
            document.solidFacilities.push_back(std::move(f));
        }
        for (int i = 0; i < 6; ++i) {
            auto light = std::make_unique<CSolidLight>(&document);
            light->position = {25000.0f + 50000.0f * i, 20000, 100000};
            document.solidLights.push_back(std::move(light));
        }
        irr::scene::ISceneNode* root = device->getSceneManager()->getRootSceneNode();
        for (auto _ : state) {
            vs::BuildRoomScene(root, document);
            vs::ReleaseRoomScene(document);
        }
        state.counters["panels"] = 3 * 17 * 34;
    }
    vs::setSceneEngine(nullptr);
    device->drop();
}
BENCHMARK(BM_BuildHallScene)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
