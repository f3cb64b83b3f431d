#include "HostCommands.h"

#include "CataloguePack.h"
#include "HomeDirectory.h"
#include "HostDesign.h"
#include "HostErrors.h"
#include "HostSession.h"
#include "ModelOverrides.h"
#include "ModuleExports.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

#ifndef VS_HOST_DATA_DIR
#define VS_HOST_DATA_DIR "data"
#endif

namespace vhost {
namespace {

const char* const kHostUsage =
    "usage: vantrel-host [--pack INDEX] [--overrides FILE] [--home DIR] "
    "[--picture OUT.jpg | --render OUT [--samples N] [--no-shadows] [--brightness B]] "
    "[--mode globe|first|top] [--size WxH] [DESIGN]";
const char* const kRibDaemonUsage = "usage: RibDaemon NAME [--pack INDEX] [--home DIR]";

/** A command line the program cannot take: reported with the usage and exit code 2. */
struct UsageError : std::invalid_argument
{
    using std::invalid_argument::invalid_argument;
};

struct Options
{
    std::string pack;
    std::string overrides;
    std::string home;
    std::string picture;
    std::string render;
    int32_t samples = 4;
    bool shadows = true;
    int32_t brightness = 50;
    int32_t viewMode = 4; // globe
    int32_t width = 1024;
    int32_t height = 768;
    std::vector<std::string> positional;
    bool help = false;
};

int32_t intValue(const std::string& option, const std::string& text, int low, int high)
{
    int v = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%d%c", &v, &rest) != 1 || v < low || v > high)
        throw std::invalid_argument(option + " takes a whole number from " + std::to_string(low) +
                                    " to " + std::to_string(high) + ", not " + text);
    return v;
}

Options parseOptions(const std::vector<std::string>& args)
{
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size())
                throw std::invalid_argument(a + " needs a value");
            return args[++i];
        };
        if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--pack")
            o.pack = value();
        else if (a == "--overrides")
            o.overrides = value();
        else if (a == "--home")
            o.home = value();
        else if (a == "--picture")
            o.picture = value();
        else if (a == "--render")
            o.render = value();
        else if (a == "--samples")
            o.samples = intValue(a, value(), 1, 64);
        else if (a == "--no-shadows")
            o.shadows = false;
        else if (a == "--brightness")
            o.brightness = intValue(a, value(), 0, 100);
        else if (a == "--mode") {
            const std::string m = value();
            if (m == "globe")
                o.viewMode = 4;
            else if (m == "first")
                o.viewMode = 5;
            else if (m == "top")
                o.viewMode = 6;
            else
                throw std::invalid_argument("--mode takes globe, first or top, not " + m);
        } else if (a == "--size") {
            const std::string v = value();
            int w = 0, h = 0;
            char rest = 0;
            if (std::sscanf(v.c_str(), "%dx%d%c", &w, &h, &rest) != 2 || w < 16 || h < 16 ||
                w > 8192 || h > 8192)
                throw std::invalid_argument("--size takes WIDTHxHEIGHT between 16 and 8192, not " +
                                            v);
            o.width = w;
            o.height = h;
        } else if (a.size() > 1 && a[0] == '-')
            throw UsageError("unknown option " + a);
        else
            o.positional.push_back(a);
    }
    return o;
}

std::string defaultPack()
{
    if (const char* env = std::getenv("VANTREL_PACK"); env && *env)
        return env;
    return std::string(VS_HOST_DATA_DIR) + "/pack/index.xml";
}

int fail(const char* program, const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    return 1;
}

int printUsage(const char* usage)
{
    std::printf("%s\n", usage);
    return 0;
}

int failUsage(const char* program, const std::string& message, const char* usage)
{
    std::fprintf(stderr, "%s: %s\n%s\n", program, message.c_str(), usage);
    return 2;
}

} // namespace

int runHost(const std::vector<std::string>& args)
{
    try {
        Options o = parseOptions(args);
        if (o.help)
            return printUsage(kHostUsage);
        if (o.positional.size() > 1)
            throw UsageError("more than one design named");
        const std::string packPath = o.pack.empty() ? defaultPack() : o.pack;
        const std::string designPath = o.positional.empty()
                                           ? std::string(VS_HOST_DATA_DIR) + "/designs/kitchen.xml"
                                           : o.positional[0];
        CataloguePack pack = CataloguePack::load(packPath);
        ModelOverrides overrides = ModelOverrides::load(
            o.overrides.empty() ? ModelOverrides::pathFor(packPath) : o.overrides);
        HostDesign design = HostDesign::load(designPath);
        const std::string programDir = programDirectory();
        const std::string home = prepareHomeDirectory(o.home.empty() ? homeDirectoryPath() : o.home,
                                                      programDir, packPath);
        HostSession session(ModuleExports::load(ModuleExports::defaultPath(programDir)),
                            std::move(pack), std::move(overrides));
        session.pour(home);

        if (!o.render.empty()) {
            if (!session.exportRender(design, o.render, o.width, o.height, o.viewMode, o.samples,
                                      o.shadows, o.brightness))
                return fail("vantrel-host", "the module could not render " + designPath);
            return 0;
        }
        if (!o.picture.empty()) {
            if (!session.exportPicture(design, o.picture, o.width, o.height, o.viewMode))
                return fail("vantrel-host", "the module could not draw " + designPath);
            return 0;
        }
        const DesignRunResult run = session.runDesign(design);
        if (run.failed) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08X", unsigned(run.errorCode));
            return fail("vantrel-host", "the module failed on " + designPath + " (error " + code +
                                            "); the design was not changed");
        }
        if (run.solid.empty())
            std::fprintf(stderr,
                         "vantrel-host: the module returned no 3D part; %s keeps its "
                         "previous one\n",
                         designPath.c_str());
        else
            design.replaceSolid(run.solid);
        design.save(designPath);
        return 0;
    } catch (const UsageError& error) {
        return failUsage("vantrel-host", error.what(), kHostUsage);
    } catch (const std::exception& error) {
        return fail("vantrel-host", error.what());
    }
}

/** The home directory of a render run started without --home: the module starts RibDaemon in
 *  its own home directory, so the current directory when it holds the hand-off file, else the
 *  host's default home. */
static std::string renderHome(const std::string& handOffName)
{
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (!error && std::filesystem::exists(here / "Render" / (handOffName + ".xml"), error))
        return here.string();
    return homeDirectoryPath();
}

int runRibDaemon(const std::vector<std::string>& args)
{
    try {
        Options o = parseOptions(args);
        if (o.help)
            return printUsage(kRibDaemonUsage);
        if (o.positional.size() != 1)
            throw UsageError(o.positional.empty() ? "no hand-off name"
                                                  : "more than one hand-off name");
        std::string home = o.home.empty() ? renderHome(o.positional[0]) : o.home;
        if (home.back() != '/')
            home += '/';
        std::string packPath = o.pack;
        if (packPath.empty())
            packPath = recordedPackPath(home);
        if (packPath.empty())
            packPath = defaultPack();
        const std::string handOff = home + "Render/" + o.positional[0] + ".xml";
        struct stat info
        {
        };
        if (::stat(handOff.c_str(), &info) != 0)
            throw FileError("no hand-off file " + handOff);
        CataloguePack pack = CataloguePack::load(packPath);
        HostSession session(ModuleExports::load(ModuleExports::defaultPath(programDirectory())),
                            std::move(pack),
                            ModelOverrides::load(ModelOverrides::pathFor(packPath)));
        session.render(home, o.positional[0]);
        return 0;
    } catch (const UsageError& error) {
        return failUsage("RibDaemon", error.what(), kRibDaemonUsage);
    } catch (const std::exception& error) {
        return fail("RibDaemon", error.what());
    }
}

} // namespace vhost
