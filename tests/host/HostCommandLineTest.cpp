// The command lines of vantrel-host and RibDaemon: asking for help, and options they do not take.
#include "HostCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Outcome
{
    int code;
    std::string out, err;
};

Outcome run(int (*program)(const std::vector<std::string>&), std::vector<std::string> args)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = program(args);
    Outcome o{code, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
    return o;
}

} // namespace

TEST(HostCommandLineTest, HelpPrintsTheUsageAndSucceeds)
{
    for (const char* flag : {"--help", "-h"}) {
        const Outcome host = run(vhost::runHost, {flag});
        EXPECT_EQ(host.code, 0) << flag;
        EXPECT_EQ(host.out.rfind("usage: vantrel-host ", 0), 0u) << host.out;
        EXPECT_NE(host.out.find("--picture"), std::string::npos);
        EXPECT_EQ(host.err, "");
        const Outcome daemon = run(vhost::runRibDaemon, {flag});
        EXPECT_EQ(daemon.code, 0) << flag;
        EXPECT_EQ(daemon.out.rfind("usage: RibDaemon NAME", 0), 0u) << daemon.out;
    }
    // Help wins over the rest of the line: nothing is loaded, nothing is opened.
    EXPECT_EQ(run(vhost::runHost, {"--pack", "/nowhere/index.xml", "--help", "a.xml"}).code, 0);
}

TEST(HostCommandLineTest, UnknownOptionsPrintTheUsageAndExitTwo)
{
    const Outcome host = run(vhost::runHost, {"--frobnicate", "design.xml"});
    EXPECT_EQ(host.code, 2);
    EXPECT_EQ(host.out, "");
    EXPECT_EQ(host.err.rfind("vantrel-host: unknown option --frobnicate\nusage: vantrel-host ", 0),
              0u)
        << host.err;
    const Outcome daemon = run(vhost::runRibDaemon, {"-x"});
    EXPECT_EQ(daemon.code, 2);
    EXPECT_EQ(daemon.err.rfind("RibDaemon: unknown option -x\nusage: RibDaemon NAME", 0), 0u)
        << daemon.err;
    EXPECT_EQ(run(vhost::runRibDaemon, {}).code, 2) << "no hand-off name is a usage error";
}

TEST(HostCommandLineTest, BadValuesStayOneLineFailures)
{
    const Outcome o = run(vhost::runHost, {"--mode", "sideways"});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.err, "vantrel-host: --mode takes globe, first or top, not sideways\n");
}
