// Pouring a large catalogue through the exports: 10 000 panel types in 200 categories and
// 5 000 facility models in 100 categories, then linking.
#include "VantrelSolid.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

struct Names
{
    std::vector<std::string> types, models, categories;
    Names()
    {
        for (int i = 0; i < 10000; ++i)
            types.push_back("扣板 " + std::to_string(i));
        for (int i = 0; i < 5000; ++i)
            models.push_back("家具 " + std::to_string(i));
        for (int i = 0; i < 300; ++i)
            categories.push_back("类别 " + std::to_string(i));
    }
};

void pourLargeCatalogue(const Names& n)
{
    ClearMasterData();
    BeginPourMasterData("/tmp/vs-bench/", 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr);
    for (int c = 0; c < 200; ++c)
        AddCandyCategory(c + 1, n.categories[c].c_str(), c < 20 ? 0 : 1 + c % 20, c % 7);
    for (int i = 0; i < 10000; ++i) {
        const int kind = 1 + i % 6; // kinds 1 ... 6, so kind 5 lands in both appliance kinds
        AddCandyType(1000 + i, n.types[i].c_str(), kind, 1 + i % 200, 3000 + 300 * (i % 3), 3000, 0,
                     0, 0, i % 10 != 0, 0, nullptr, 0, 0, 0, nullptr);
    }
    for (int c = 0; c < 100; ++c)
        AddFacilityCategory(500 + c, c < 10 ? 0 : 500 + c % 10, n.categories[200 + c].c_str());
    for (int i = 0; i < 5000; ++i)
        AddFacilityModel(20000 + i, n.models[i].c_str(), 0, 0, 0, nullptr, 0, 600, 600, nullptr, 0,
                         600.0, nullptr, 1.0, 1.0, nullptr, 0, 500 + i % 100, 0, 0, "");
    PostPourMasterData();
}

void BM_PourAndLink(benchmark::State& state)
{
    const Names names;
    for (auto _ : state)
        pourLargeCatalogue(names);
    ClearMasterData();
}
BENCHMARK(BM_PourAndLink)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
