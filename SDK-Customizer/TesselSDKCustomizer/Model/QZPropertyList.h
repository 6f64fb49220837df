#pragma once
// Property lists through libplist: reading a file (XML or binary), writing XML, and the string
// lists among the application's resources ("CustomizationIconList.plist",
// "CustomizationColors.plist").

#include <plist/plist.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace customizer {

struct QZPlistFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using QZPlist = std::unique_ptr<void, QZPlistFree>;

// The file's root node; null (with the reason in `error`) when the file cannot be read or holds
// no property list.
QZPlist QZReadPropertyListFile(const std::string& path, std::string* error);
// The XML text of the node.
std::string QZPropertyListXML(plist_t node);
// The node's string value; nullopt for a node that is no string.
std::optional<std::string> QZPlistString(plist_t node);
// The node's value as a double for a real or an integer node; nullopt otherwise.
std::optional<double> QZPlistNumber(plist_t node);

// An array of strings; nullopt (with the reason in `error`) when the file cannot be read, is no
// array, or holds an entry that is no string.
std::optional<std::vector<std::string>> QZReadStringList(const std::string& path, std::string* error);

}  // namespace customizer
