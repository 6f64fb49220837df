#pragma once
// tessel_content's command line: the options and the commands are two tables read alike by the
// parser and the usage text, so a new option or command is one row (and its function).
//
//   tessel_content [--root DIR] [--server URL] [--analytics URL] [--now UNIXTIME] COMMAND [ARGUMENTS]
//
// A command may have several rows, told apart by their number of arguments.
//
// Exit status: 0 when the command's work succeeded, 1 when it failed (the reason on stderr),
// 2 for a malformed command line (with the usage).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSError;

namespace tessel_content {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Options {
    std::string root = "./tessel-content";
    std::optional<std::string> server;
    std::optional<std::string> analytics;
    std::optional<double> now;
};

struct OptionRow {
    const char* name;       // "--root"
    const char* valueName;  // "DIR"
    const char* help;
    // False for a value it refuses (a malformed command line).
    std::function<bool(Options& options, const std::string& value)> set;
};

struct CommandRow {
    const char* name;
    std::vector<const char*> argumentNames;
    const char* help;
    // Runs after the set-up (sandbox root, configuration, clock); answers the exit status.
    std::function<int(const Options& options, const std::vector<std::string>& arguments)> run;
};

const std::vector<OptionRow>& optionTable();
const std::vector<CommandRow>& commandTable();
std::string usage();

// The commands of the content side.
int runUpdate(const Options& options, const std::vector<std::string>& arguments);
int runList(const Options& options, const std::vector<std::string>& arguments);
int runDownload(const Options& options, const std::vector<std::string>& arguments);
int runMessages(const Options& options, const std::vector<std::string>& arguments);

// The installed packs (not marked for deletion), one "IDENTIFIER VERSION STATE" line each, sorted
// by identifier; VERSION is "-" when the pack has none, STATE its high-resolution state.
void printInstalledPacks();

// Why an archive download failed, as a person reads it.
std::string describeDownloadError(const std::shared_ptr<NSError>& error);

}  // namespace tessel_content
