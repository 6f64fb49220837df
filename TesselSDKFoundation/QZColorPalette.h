#pragma once
// The one reader of a tool's "colors" setting (the draw and text strips). The setting comes from
// the host's tool table, so it is checked: it counts only as an array, and an entry only as a
// string of exactly six hexadecimal digits, with or without a leading "#". Anything else is
// skipped with a "%s %@" log line naming it (the caller's method name, then the entry): a
// misspelt entry must not become a black chip nobody configured. Kept entries become colours
// through QZUIColorWithHexString, in order.

#include "Foundation/Value.h"
#include "UIKit/UIColor.h"

#include <memory>
#include <string>
#include <vector>

// `colors` nil (no setting) gives no palette and no log line; another kind gives none and one.
std::vector<std::shared_ptr<UIColor>> QZColorPaletteWithHexStrings(const Value& colors, const std::string& method);
