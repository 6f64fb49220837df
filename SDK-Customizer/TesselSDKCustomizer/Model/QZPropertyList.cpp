#include "Model/QZPropertyList.h"

#include "Model/QZRegularFile.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace customizer {
namespace {

// Resource and theme property lists are a few kilobytes; anything this large is not one of ours.
constexpr std::streamoff kMaximumPropertyListBytes = 16 << 20;

}  // namespace

QZPlist QZReadPropertyListFile(const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error) *error = path + ": " + why;
        return QZPlist{};
    };
    if (std::optional<std::string> refusal = QZRegularFileRefusal(path)) return fail(*refusal);
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return fail("cannot be read");
    std::streamoff size = file.tellg();
    if (size < 0) return fail("cannot be read");
    if (size > kMaximumPropertyListBytes) return fail("is too large for a property list");
    std::string bytes(size_t(size), '\0');
    file.seekg(0);
    if (!file.read(bytes.data(), size)) return fail("cannot be read");
    plist_t root = nullptr;
    if (!bytes.empty()) plist_from_memory(bytes.data(), uint32_t(bytes.size()), &root);
    if (!root) return fail("holds no property list");
    return QZPlist(root);
}

std::string QZPropertyListXML(plist_t node)
{
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    std::string text(xml ? xml : "", xml ? length : 0);
    plist_to_xml_free(xml);
    return text;
}

std::optional<std::string> QZPlistString(plist_t node)
{
    if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
    // Not plist_get_string_val: it aborts on a string holding a NUL, as a binary list's may.
    uint64_t length = 0;
    const char* value = plist_get_string_ptr(node, &length);
    return value ? std::string(value, length) : std::string();
}

std::optional<double> QZPlistNumber(plist_t node)
{
    if (!node) return std::nullopt;
    if (plist_get_node_type(node) == PLIST_REAL) {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    if (plist_get_node_type(node) == PLIST_UINT) {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        // libplist keeps negative integers as their two's complement.
        return double(int64_t(value));
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> QZReadStringList(const std::string& path, std::string* error)
{
    QZPlist root = QZReadPropertyListFile(path, error);
    if (!root) return std::nullopt;
    plist_t array = root.get();
    if (plist_get_node_type(array) != PLIST_ARRAY) {
        if (error) *error = path + ": is not a property list holding an array";
        return std::nullopt;
    }
    std::vector<std::string> strings;
    for (uint32_t i = 0; i < plist_array_get_size(array); ++i) {
        std::optional<std::string> string = QZPlistString(plist_array_get_item(array, i));
        if (!string) {
            if (error) *error = path + ": holds an entry that is not a string";
            return std::nullopt;
        }
        strings.push_back(std::move(*string));
    }
    return strings;
}

}  // namespace customizer
