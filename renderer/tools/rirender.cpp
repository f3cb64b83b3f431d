// rirender [-p N] [--progress] FILE.rib...: renders RIB files ("-" reads standard input)
// through libri.so. The exit status is non-zero when a file could not be read or a frame
// failed.
#include "ri.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int gErrors = 0;

void countingHandler(RtInt code, RtInt severity, char* message)
{
    RiErrorPrint(code, severity, message);
    if (severity >= RIE_ERROR)
        ++gErrors;
}

RtInt showProgress(RtFloat fraction, RtPointer)
{
    std::fprintf(stderr, "\rrirender: %3d%%", int(fraction * 100 + 0.5f));
    if (fraction >= 1)
        std::fputc('\n', stderr);
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: rirender [-p THREADS] [--progress] FILE.rib... (- for stdin)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int threads = 0;
    bool progress = false;
    std::vector<std::string> files;
    for (int k = 1; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "-p" && k + 1 < argc) {
            char* end = nullptr;
            long n = std::strtol(argv[++k], &end, 10);
            if (!end || *end || n < 1 || n > 256) {
                std::fprintf(stderr, "rirender: bad thread count \"%s\"\n", argv[k]);
                return 2;
            }
            threads = int(n);
        } else if (a == "--progress") {
            progress = true;
        } else if (a == "-h" || a == "--help") {
            return usage();
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "rirender: unknown option \"%s\"\n", a.c_str());
            return usage();
        } else {
            files.push_back(a);
        }
    }
    if (files.empty())
        return usage();
    RiErrorHandler(countingHandler);
    if (progress)
        RiProgressHandler(showProgress, nullptr);
    for (const std::string& file : files) {
        RiBegin(RI_NULL);
        if (threads > 0)
            RiOption(const_cast<char*>("limits"), "threads", &threads, RI_NULL);
        RiReadArchive(const_cast<char*>(file.c_str()), nullptr, RI_NULL);
        RiEnd();
    }
    return gErrors ? 1 : 0;
}
