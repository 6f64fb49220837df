#pragma once
// Where tessel_editor writes, and the one file it never writes over: the photo it was given.

#include <optional>
#include <string>

namespace tessel_editor {

// DIR/NAME.png, the file of a script's `screenshot NAME`.
std::string screenshotPath(const std::string& directory, const std::string& name);

// Both paths name one existing file (the same file on the same device), through whatever links,
// folders or spellings lead there.
bool namesSameFile(const std::string& a, const std::string& b);

// The first file the run would write over INPUT: OUT.png, else a screenshot line's DIR/NAME.png
// (with a screenshot folder); empty when none would.
std::string writeOverInput(const std::string& input, const std::optional<std::string>& output,
                           const std::optional<std::string>& screenshots, const std::string& scriptText);

}  // namespace tessel_editor
