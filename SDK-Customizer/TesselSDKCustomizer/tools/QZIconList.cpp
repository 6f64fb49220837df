#include "QZIconList.h"

#include <plist/plist.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace customizer::masks {

std::optional<std::vector<std::string>> QZReadIconList(const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& why) -> std::optional<std::vector<std::string>> {
        if (error) *error = path + ": " + why;
        return std::nullopt;
    };
    std::ifstream file(path, std::ios::binary);
    if (!file) return fail("cannot be read");
    std::stringstream text;
    text << file.rdbuf();
    std::string xml = text.str();
    plist_t root = nullptr;
    plist_from_xml(xml.data(), uint32_t(xml.size()), &root);
    if (!root || plist_get_node_type(root) != PLIST_ARRAY) {
        if (root) plist_free(root);
        return fail("is not a property list holding an array");
    }
    std::vector<std::string> names;
    for (uint32_t i = 0; i < plist_array_get_size(root); ++i) {
        plist_t item = plist_array_get_item(root, i);
        if (plist_get_node_type(item) != PLIST_STRING) {
            plist_free(root);
            return fail("holds an entry that is not a string");
        }
        char* value = nullptr;
        plist_get_string_val(item, &value);
        names.emplace_back(value ? value : "");
        std::free(value);
    }
    plist_free(root);
    return names;
}

}  // namespace customizer::masks
