#include "TesselContentCommands.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "TesselContentAnalyticsCommands.h"
#include "TesselSDK/remote/QZRemoteConfiguration.h"

namespace tessel_content {

namespace {

bool parseUnixTime(const std::string& text, double* seconds)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 12) return false;
    errno = 0;
    *seconds = std::strtod(text.c_str(), nullptr);
    return errno == 0;
}

}  // namespace

const std::vector<OptionRow>& optionTable()
{
    static const std::vector<OptionRow> rows = {
        {"--root", "DIR",
         "the sandbox root: everything the system stores lives under it (default ./tessel-content; "
         "made when missing)",
         [](Options& options, const std::string& value) {
             if (value.empty()) return false;
             options.root = value;
             return true;
         }},
        {"--server", "URL", "the content service's root (http or https, scheme, host and port)",
         [](Options& options, const std::string& value) {
             if (!(value.rfind("http://", 0) == 0 || value.rfind("https://", 0) == 0)) return false;
             options.server = value;
             return true;
         }},
        {"--analytics", "URL", "the analytics service's root (http or https, scheme, host and port)",
         [](Options& options, const std::string& value) {
             if (!(value.rfind("http://", 0) == 0 || value.rfind("https://", 0) == 0)) return false;
             options.analytics = value;
             return true;
         }},
        {"--now", "UNIXTIME", "the date the run reads (seconds since 1970): update spacing and message dates",
         [](Options& options, const std::string& value) {
             double seconds = 0;
             if (!parseUnixTime(value, &seconds)) return false;
             options.now = seconds;
             return true;
         }},
    };
    return rows;
}

const std::vector<CommandRow>& commandTable()
{
    static const std::vector<CommandRow> rows = {
        {"update", {}, "run one content update and print the installed packs", runUpdate},
        {"list", {}, "print the installed packs from the store, without any network request", runList},
        {"download",
         {"ID"},
         "download pack ID's high-resolution archive (progress on stderr), then print its line",
         runDownload},
        {"messages", {}, "run one message update and print the identifier of the message to display", runMessages},
        {"events", {}, "print the number of stored analytics events and the last upload's outcome",
         [](const Options&, const std::vector<std::string>&) { return runEvents(std::cout); }},
        {"upload", {}, "upload the stored analytics events and print the outcome",
         [](const Options&, const std::vector<std::string>&) { return runUpload(std::cout); }},
        {"messages",
         {"--card", "FILE.png"},
         "the same, and write the message's card as the editor shows it (320 x 480 points at scale 2)",
         [](const Options& options, const std::vector<std::string>& arguments) {
             if (arguments[0] != "--card" || arguments[1].empty()) return kExitUsage;
             return runMessages(options, arguments);
         }},
    };
    return rows;
}

std::string usage()
{
    std::ostringstream text;
    text << "usage: tessel_content";
    for (const OptionRow& option : optionTable()) text << " [" << option.name << " " << option.valueName << "]";
    text << " COMMAND\n";
    for (const OptionRow& option : optionTable())
        text << "  " << option.name << " " << option.valueName << ": " << option.help << "\n";
    text << "commands:\n";
    for (const CommandRow& command : commandTable()) {
        text << "  " << command.name;
        for (const char* argument : command.argumentNames) text << " " << argument;
        text << ": " << command.help << "\n";
    }
    return text.str();
}

}  // namespace tessel_content
