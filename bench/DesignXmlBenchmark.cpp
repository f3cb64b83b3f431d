// Reading a large design into the model against pugixml's bare parse of the same text, and
// writing the solid element of a furnished room.
#include "catalogue/CCandyType.h"
#include "catalogue/CFacilityModel.h"
#include "ceiling/DesignReader.h"
#include "ceiling/SolidWriter.h"
#include "document/CSolidDocument.h"
#include "document/DesignCatalogue.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <vector>

namespace {

class BenchCatalogue : public DesignCatalogue
{
public:
    BenchCatalogue()
    {
        for (int i = 1; i <= 9; ++i) {
            FacilityModelInfo info;
            info.id = i <= 7 ? -i : 100 + i;
            info.typeId = info.id;
            info.width = 3000;
            info.height = 3000;
            models_.push_back(std::make_unique<CFacilityModel>(info, nullptr));
        }
        for (int id : {11, 12}) {
            CandyTypeInfo info;
            info.id = id;
            info.kind = id == 11 ? 1 : 3;
            info.width = id == 11 ? 6000 : 3000;
            info.height = info.width;
            types_.push_back(std::make_unique<CCandyType>(info, nullptr));
        }
    }
    CCandyType* candyType(int id) override
    {
        for (auto& t : types_)
            if (t->id == id)
                return t.get();
        return nullptr;
    }
    CFacilityModel* facilityModel(int id, int typeId) override
    {
        for (auto& m : models_)
            if (m->id == id || (typeId != 0 && m->typeId == typeId))
                return m.get();
        return nullptr;
    }
    CFacilityModel* builtInModel(size_t position) override
    {
        return position >= 1 && position <= models_.size() ? models_[position - 1].get() : nullptr;
    }
    void loadStaticSample(int) override {}

private:
    std::vector<std::unique_ptr<CCandyType>> types_;
    std::vector<std::unique_ptr<CFacilityModel>> models_;
};

BenchCatalogue& catalogue()
{
    static BenchCatalogue instance;
    return instance;
}

// `tiles` panels on the cells of a cols x rows grid, `hosts` lamps on cells of their own.
std::string planeItems(int tiles, int hosts, int cols)
{
    std::string text = "<tiles>";
    for (int i = 0; i < tiles; ++i)
        text += "<t tileTypeId='11' gx='" + std::to_string(i % cols) + "' gy='" +
                std::to_string(i / cols) + "'/>";
    text += "</tiles><hosts>";
    for (int i = 0; i < hosts; ++i)
        text += "<h hostTypeId='12' rx='" + std::to_string(1000 + 2500 * (i % 40)) + "' ry='" +
                std::to_string(1000 + 2500 * (i / 40)) + "' id='" + std::to_string(i + 1) + "'/>";
    return text + "</hosts>";
}

// A 60 m x 40 m ceiling split into two children: 10 000 tiles and 200 hosts over the three
// planes, with a solid part.
std::string bigDesign()
{
    std::string text = "<design gridWidth='6000' gridHeight='6000' "
                       "outlinePoints='0,0 600000,0 600000,400000 0,400000' horizontalSplit='true'>"
                       "<splitLines><s pos='300000' hoistSide='1' hoist='300' "
                       "pt1='300000,0,0' pt2='300000,400000,0'/></splitLines>";
    text += planeItems(3400, 66, 100);
    text += "<children><c gridWidth='6000' gridHeight='6000' "
            "outlinePoints='0,0 300000,0 300000,400000 0,400000'>" +
            planeItems(3300, 67, 50) + "</c>";
    text += "<c gridWidth='6000' gridHeight='6000' "
            "outlinePoints='300000,0 600000,0 600000,400000 300000,400000'>" +
            planeItems(3300, 67, 50) + "</c></children>";
    text += "<solid decimillimeter='1' outlinePoints='0,0 600000,0 600000,400000 0,400000'>"
            "<viewState><trackball currentQuaternion='0,0,0,1'/></viewState>"
            "<walls><wall index='0'/></walls></solid></design>";
    return text;
}

void BM_ReadDesign(benchmark::State& state)
{
    const std::string text = bigDesign();
    for (auto _ : state) {
        auto document = std::make_unique<CSolidDocument>();
        vs::readDesign(text, *document, 1, catalogue());
        benchmark::DoNotOptimize(document->ceiling.get());
        // Deleting the model is not part of reading it.
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadDesign)->Unit(benchmark::kMillisecond);

void BM_ParseDesignOnly(benchmark::State& state)
{
    const std::string text = bigDesign();
    for (auto _ : state) {
        pugi::xml_document xml;
        benchmark::DoNotOptimize(xml.load_buffer(text.data(), text.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseDesignOnly)->Unit(benchmark::kMillisecond);

void BM_WriteSolid(benchmark::State& state)
{
    CSolidDocument document;
    vs::readDesign("<design gridWidth='6000' gridHeight='6000' "
                   "outlinePoints='0,0 60000,0 60000,40000 0,40000'/>",
                   document, 1, catalogue());
    for (int i = 0; i < 200; ++i) {
        auto facility = std::make_unique<CSolidFacility>();
        facility->facilityModel = catalogue().facilityModel(108, 0);
        facility->position = {100.5f * i, 0, 50.25f * i};
        facility->size = {600, 1800, 600};
        facility->rotateDegree = 1.5f * i;
        facility->customMaterials.push_back(std::make_unique<CustomMaterial>());
        document.solidFacilities.push_back(std::move(facility));
    }
    for (int i = 0; i < 20; ++i) {
        auto light = std::make_unique<CSolidLight>(&document);
        light->position = {1000.0f * i, 22000, 500.0f * i};
        document.solidLights.push_back(std::move(light));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(vs::writeSolid(document));
}
BENCHMARK(BM_WriteSolid)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
