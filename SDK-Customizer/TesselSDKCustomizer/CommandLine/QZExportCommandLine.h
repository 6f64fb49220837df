#pragma once
// The command line of tessel-customizer-export:
//   tessel-customizer-export [--theme FILE] [--no-compress] --out DIR

#include <optional>
#include <string>
#include <vector>

namespace customizer {

inline constexpr const char* kQZExportUsage =
    "usage: tessel-customizer-export [--theme FILE] [--no-compress] --out DIR";

struct QZExportOptions {
    std::optional<std::string> themeFile;  // nullopt: the built-in default theme
    bool compress = true;
    std::string exportFolder;
};

// The options of the arguments after the program's name; nullopt (with why in `error`) for a
// malformed command line: an unknown option or a stray argument, an option given twice, a value
// missing, or no --out.
std::optional<QZExportOptions> QZParseExportCommandLine(const std::vector<std::string>& arguments, std::string* error);

}  // namespace customizer
