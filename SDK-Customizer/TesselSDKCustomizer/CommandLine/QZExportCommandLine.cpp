#include "CommandLine/QZExportCommandLine.h"

namespace customizer {

std::optional<QZExportOptions> QZParseExportCommandLine(const std::vector<std::string>& arguments, std::string* error)
{
    auto malformed = [&](const std::string& why) -> std::optional<QZExportOptions> {
        if (error) *error = why;
        return std::nullopt;
    };
    QZExportOptions options;
    bool sawOut = false, sawNoCompress = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--no-compress") {
            if (sawNoCompress) return malformed("--no-compress is given twice");
            sawNoCompress = true;
            options.compress = false;
            continue;
        }
        if (argument != "--theme" && argument != "--out") return malformed("unexpected argument \"" + argument + "\"");
        if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return malformed(argument + " needs a value");
        const std::string& value = arguments[++i];
        if (argument == "--theme") {
            if (options.themeFile) return malformed("--theme is given twice");
            options.themeFile = value;
        } else {
            if (sawOut) return malformed("--out is given twice");
            sawOut = true;
            options.exportFolder = value;
        }
    }
    if (!sawOut) return malformed("--out DIR is missing");
    return options;
}

}  // namespace customizer
