// tessel_content [--root DIR] [--server URL] [--analytics URL] [--now UNIXTIME] COMMAND [ARGUMENTS]
// Runs the content side of the system on a sandbox root: content updates, the pack list, archive
// downloads and messages, against the content service at URL (default: the configuration's). The
// options and commands are the tables of TesselContentCommandTable.cpp; `tessel_content` alone
// prints them. Exit 0 on success, 1 when the work fails, 2 for a malformed command line.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "Dispatch/DispatchClock.h"
#include "Foundation/PlatformSettings.h"
#include "Network/NSURL.h"
#include "Network/SCNetworkReachability.h"
#include "TesselContentAnalyticsCommands.h"
#include "TesselContentCommands.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"
#include "TesselSDK/remote/QZRemoteRegisterClasses.h"

using namespace tessel_content;

namespace {

constexpr const char* kAPIKey = "tessel-example";

struct CommandLine {
    Options options;
    const CommandRow* command = nullptr;
    std::vector<std::string> arguments;
};

bool parse(int argc, char** argv, CommandLine* line)
{
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const std::string name = argv[i];
        auto option = std::find_if(optionTable().begin(), optionTable().end(),
                                   [&](const OptionRow& row) { return name == row.name; });
        if (option == optionTable().end() || i + 1 >= argc || !option->set(line->options, argv[++i])) return false;
    }
    if (i >= argc) return false;
    const std::string name = argv[i++];
    // A command may have rows of different arguments ("messages", "messages --card FILE.png").
    line->arguments.assign(argv + i, argv + argc);
    for (const CommandRow& row : commandTable())
        if (name == row.name && line->arguments.size() == row.argumentNames.size()) line->command = &row;
    return line->command != nullptr;
}

// The internet's reachability says nothing of a server on this machine.
bool isLoopback(const std::string& url)
{
    auto parsed = NSURL::URLWithString(url);
    if (!parsed) return false;
    const std::string& host = parsed->host();
    return host == "localhost" || host == "::1" || host == "[::1]" || host.rfind("127.", 0) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    CommandLine line;
    if (!parse(argc, argv, &line)) {
        std::fputs(usage().c_str(), stderr);
        return kExitUsage;
    }

    // The sandbox root comes before anything else reads a standard directory.
    std::error_code error;
    std::filesystem::create_directories(line.options.root, error);
    if (error || !std::filesystem::is_directory(line.options.root)) {
        std::fprintf(stderr, "tessel_content: cannot make the root %s: %s\n", line.options.root.c_str(),
                     error.message().c_str());
        return kExitFailure;
    }
    PlatformSettings::setSandboxRoot(std::filesystem::absolute(line.options.root).string());

    if (line.options.now) DispatchClock::pinSecondsSince1970(*line.options.now);
    QZRemoteConfiguration::setAPIKey(kAPIKey);
    if (line.options.server) {
        QZRemoteConfiguration::setContentServiceRoot(*line.options.server);
        if (isLoopback(*line.options.server))
            SCNetworkReachabilitySetFlagsOverride(kSCNetworkReachabilityFlagsReachable);
    }
    TesselSDKRemoteRegisterClasses();
    // Every command reports through the analytics session into the sandbox's store; only
    // `upload` sends.
    startAnalytics(line.options.analytics);
    const int status = line.command->run(line.options, line.arguments);
    finishAnalytics();
    return status;
}
