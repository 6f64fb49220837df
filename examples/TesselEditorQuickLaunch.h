#pragma once
// What tessel_editor opens the editor on at start: the home screen, one tool (--tool KEY) or one
// pack's page (--pack IDENTIFIER). A quick-launched tool's right bar button finishes the edit and
// its Cancel cancels it, as the home screen's Done and Cancel do.

#include <optional>
#include <string>
#include <vector>

namespace tessel_editor {

struct QuickLaunch {
    std::optional<std::string> tool;  // a key of the tool table
    std::optional<std::string> pack;  // a pack's identifier
};

// The keys of the tool table in the resource bundle, sorted; empty without a bundle.
std::vector<std::string> toolKeys();

// "adjustments, blemish, ..." for a usage message.
std::string joinedToolKeys();

}  // namespace tessel_editor
