// Writes the shader description files NAME.sdr of every shader the renderer knows into the
// folder given as the only argument. Run by the build.
#include "ShaderCatalog.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ri_make_sdr FOLDER\n");
        return 2;
    }
    for (const ri::ShaderInfo& s : ri::shaderCatalog()) {
        std::string path = std::string(argv[1]) + "/" + s.name + ".sdr";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << ri::shaderDescription(s);
        if (!out) {
            std::fprintf(stderr, "ri_make_sdr: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
