#include "render/RenderHandOff.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace vs {

namespace {

const char* const kRecordPrefix = "run-";
const char* const kRecordSuffix = ".rib-run";

/** The process's start time in clock ticks since boot (field 22 of /proc/PID/stat), or ""
 *  when there is no such process or it has already ended (a zombie). */
std::string startTimeOf(long pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = stat.rfind(')'); // the command name may hold spaces
    if (close == std::string::npos)
        return {};
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 3 && (field == "Z" || field == "X"))
            return {};
        if (i == 22)
            return field;
    }
    return {};
}

std::string recordPath(const std::string& renderDir, long pid)
{
    return renderDir + kRecordPrefix + std::to_string(pid) + kRecordSuffix;
}

/** A live older run recorded in renderDir (its pid), or 0; drops stale records. */
long findOlderRun(const std::string& renderDir)
{
    DIR* dir = ::opendir(renderDir.c_str());
    if (dir == nullptr)
        return 0;
    long found = 0;
    const std::string prefix = kRecordPrefix, suffix = kRecordSuffix;
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const long pid = std::atol(name.substr(prefix.size()).c_str());
        if (pid <= 0 || pid == ::getpid())
            continue;
        std::ifstream in(renderDir + name);
        std::string title, started;
        std::getline(in, title);
        std::getline(in, started);
        if (title != kRenderRunTitle || started.empty() || startTimeOf(pid) != started) {
            std::remove((renderDir + name).c_str()); // gone, or the id names another process
            continue;
        }
        found = pid;
        break;
    }
    ::closedir(dir);
    return found;
}

void onEndRequest(int)
{
    ::_exit(0);
}

} // namespace

std::string handOffName(std::time_t now)
{
    return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(now & 0xFFFFFFFF)));
}

std::string writeHandOff(const std::string& renderDir, const std::string& designText)
{
    const std::string name = handOffName(std::time(nullptr));
    writeWholeFile(renderDir + name + ".xml", designText);
    return name;
}

bool startRibDaemon(const std::string& homeDir, const std::string& name)
{
    const std::string program = homeDir + "RibDaemon";
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, homeDir.c_str());
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(name.c_str()), nullptr};
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
    return true;
}

void registerRenderRun(const std::string& renderDir)
{
    const long pid = ::getpid();
    try {
        writeWholeFile(recordPath(renderDir, pid),
                       std::string(kRenderRunTitle) + "\n" + startTimeOf(pid) + "\n");
    } catch (const FileError&) {
        // Without a record a later run cannot end this one; the render itself goes on.
    }
}

void unregisterRenderRun(const std::string& renderDir)
{
    std::remove(recordPath(renderDir, ::getpid()).c_str());
}

int endOlderRenderRuns(const std::string& renderDir, int waitMs)
{
    int ended = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const long pid = findOlderRun(renderDir);
        if (pid == 0)
            break;
        ::kill(static_cast<pid_t>(pid), SIGTERM);
        ++ended;
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
        if (startTimeOf(pid).empty())
            std::remove(recordPath(renderDir, pid).c_str());
    }
    return ended;
}

void installEndRequestHandler()
{
    struct sigaction action
    {
    };
    action.sa_handler = onEndRequest;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, nullptr);
}

void endProcessNow()
{
    ::_exit(0);
}

} // namespace vs
