#include "RenderTestSupport.h"

#include "render/RenderManBinding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <dlfcn.h>

namespace rendertest {

TempHome::TempHome()
{
    char pattern[] = "/tmp/vs-render-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    path_ = made ? std::string(made) + "/" : std::string("/tmp/");
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

TempHome::~TempHome()
{
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void TempHome::copyIn(const std::string& file, const std::string& name) const
{
    std::filesystem::copy_file(file, path_ + name,
                               std::filesystem::copy_options::overwrite_existing);
}

std::vector<rirecorder::Call>& loadRecorder()
{
    vs::RenderManBinding& binding = vs::RenderManBinding::instance();
    EXPECT_TRUE(binding.load(VS_RI_RECORDER));
    auto calls =
        reinterpret_cast<decltype(&RiRecorderCalls)>(::dlsym(binding.handle(), "RiRecorderCalls"));
    auto behaviour = reinterpret_cast<decltype(&RiRecorderBehaviour)>(
        ::dlsym(binding.handle(), "RiRecorderBehaviour"));
    static std::vector<rirecorder::Call> none;
    if (calls == nullptr || behaviour == nullptr) {
        ADD_FAILURE() << "the recording stand-in lacks its own exports";
        return none;
    }
    *behaviour() = rirecorder::Behaviour{};
    calls()->clear();
    return *calls();
}

std::vector<rirecorder::Call> interfaceCalls(const std::vector<rirecorder::Call>& calls)
{
    std::vector<rirecorder::Call> out;
    for (const auto& c : calls)
        if (c.name != "RiProgressHandler")
            out.push_back(c);
    return out;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace rendertest
