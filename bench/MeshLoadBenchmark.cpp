// Loading one X mesh from a host block, text against binary encoding of the same file: the checks
// in front of the engine's loader (the binary one writes the tokens as text first), the loader,
// and the static copy. Meshes: a 100 x 100 vertex grid (10 000 vertices, 19 602 triangles, two
// materials, normals and texture coordinates), about a sofa's worth; and a 300 x 300 grid
// (90 000 vertices) that is split into several engine buffers.
#include "scene/meshes/BinaryXText.h"
#include "scene/meshes/ModelMeshLoader.h"

#include "../tools/BinaryXWriter.h"

#include <benchmark/benchmark.h>
#include <irrlicht.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string gridX(int n)
{
    std::ostringstream x;
    const int cells = (n - 1) * (n - 1);
    auto v = [n](int i, int j) { return j * n + i; };
    auto end = [](int k, int count) { return k + 1 < count ? ",\n" : ";\n"; };
    x << "xof 0303txt 0032\nFrame grid {\nFrameTransformMatrix {\n1.000000,0.000000,0.000000,"
         "0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,"
         "0.000000,0.000000,0.000000,1.000000;;\n}\nMesh grid {\n"
      << n * n << ";\n";
    x.setf(std::ios::fixed);
    x.precision(6);
    for (int k = 0; k < n * n; ++k)
        x << (k % n) * 10.0 << ";" << 0.0 << ";" << (k / n) * 10.0 << ";" << end(k, n * n);
    auto faces = [&] {
        x << 2 * cells << ";\n";
        int k = 0;
        for (int j = 0; j + 1 < n; ++j)
            for (int i = 0; i + 1 < n; ++i) {
                x << "3;" << v(i, j) << "," << v(i, j + 1) << "," << v(i + 1, j + 1) << ";"
                  << end(k++, 2 * cells);
                x << "3;" << v(i, j) << "," << v(i + 1, j + 1) << "," << v(i + 1, j) << ";"
                  << end(k++, 2 * cells);
            }
    };
    faces();
    x << "MeshNormals {\n" << n * n << ";\n";
    for (int k = 0; k < n * n; ++k)
        x << 0.0 << ";" << 1.0 << ";" << 0.0 << ";" << end(k, n * n);
    faces();
    x << "}\nMeshTextureCoords {\n" << n * n << ";\n";
    for (int k = 0; k < n * n; ++k)
        x << double(k % n) / n << ";" << double(k / n) / n << ";" << end(k, n * n);
    x << "}\nMeshMaterialList {\n2;\n" << 2 * cells << ";\n";
    for (int k = 0; k < 2 * cells; ++k)
        x << (k / (2 * (n - 1))) % 2 << (k + 1 < 2 * cells ? ",\n" : ";;\n");
    x << "Material red {\n1.000000;0.000000;0.000000;1.000000;;\n20.000000;\n0.200000;0.200000;"
         "0.200000;;\n0.000000;0.000000;0.000000;;\n}\n"
         "Material green {\n0.000000;1.000000;0.000000;1.000000;;\n20.000000;\n0.200000;0.200000;"
         "0.200000;;\n0.000000;0.000000;0.000000;;\n}\n}\n}\n}\n";
    return x.str();
}

std::vector<uint8_t> block(const std::string& file)
{
    std::vector<uint8_t> out(4 + file.size());
    const uint32_t code = 2;
    std::memcpy(out.data(), &code, 4);
    std::memcpy(out.data() + 4, file.data(), file.size());
    return out;
}

void load(benchmark::State& state, const std::vector<uint8_t>& data)
{
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    device->getLogger()->setLogLevel(irr::ELL_NONE);
    for (auto _ : state) {
        irr::scene::IMesh* mesh = vs::loadModelMesh(device->getSceneManager(), data.data(),
                                                    int32_t(data.size()), "grid.x", false);
        if (mesh == nullptr) {
            state.SkipWithError("the mesh did not load");
            break;
        }
        state.counters["buffers"] = mesh->getMeshBufferCount();
        mesh->drop();
    }
    state.counters["file_bytes"] = double(data.size() - 4);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
    device->drop();
}

void BM_LoadTextX(benchmark::State& state)
{
    static const std::vector<uint8_t> data = block(gridX(int(state.range(0))));
    load(state, data);
}

void BM_LoadBinaryX(benchmark::State& state)
{
    static const std::vector<uint8_t> data =
        block(vs::xfile::binaryFromText(gridX(int(state.range(0)))));
    load(state, data);
}

void BM_LoadTextXSplit(benchmark::State& state)
{
    static const std::vector<uint8_t> data = block(gridX(int(state.range(0))));
    load(state, data);
}

void BM_LoadBinaryXSplit(benchmark::State& state)
{
    static const std::vector<uint8_t> data =
        block(vs::xfile::binaryFromText(gridX(int(state.range(0)))));
    load(state, data);
}

/** The token checker alone: the binary file written as text, before the text checks. */
void BM_BinaryXToText(benchmark::State& state)
{
    static const std::string binary = vs::xfile::binaryFromText(gridX(int(state.range(0))));
    const auto* data = reinterpret_cast<const uint8_t*>(binary.data());
    std::string error;
    for (auto _ : state)
        benchmark::DoNotOptimize(vs::BinaryXText::toText(data, binary.size(), error));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(binary.size()));
}

} // namespace

BENCHMARK(BM_BinaryXToText)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTextX)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinaryX)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTextXSplit)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinaryXSplit)->Arg(300)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
