#include "Model/QZCustomizationDefaults.h"

#include "Model/QZPropertyList.h"
#include "Render/NSLog.h"
#include "Render/QZColorHelpers.h"

namespace customizer {
namespace {

QZAttributeValue colorDefault(plist_t entry, const char* name)
{
    std::optional<std::string> hex;
    std::optional<double> alpha;
    if (plist_get_node_type(entry) == PLIST_DICT) {
        hex = QZPlistString(plist_dict_get_item(entry, "hex"));
        alpha = QZPlistNumber(plist_dict_get_item(entry, "alpha"));
    }
    NSColorPtr color = QZNSColorWithHexString(hex);
    if (!color || !alpha) {
        NSLog("%s: the default of %s is no {\"hex\": string, \"alpha\": number} colour; it has no default",
              kQZCustomizationDefaultsFileName, name);
        return {};
    }
    return color->colorWithAlphaComponent(float(*alpha));
}

QZAttributeValue flagDefault(plist_t entry, const char* name)
{
    if (plist_get_node_type(entry) == PLIST_BOOLEAN) {
        uint8_t value = 0;
        plist_get_bool_val(entry, &value);
        return value != 0;
    }
    NSLog("%s: the default of %s is no boolean; it has no default", kQZCustomizationDefaultsFileName, name);
    return {};
}

}  // namespace

std::optional<QZCustomizationDefaults> QZCustomizationDefaults::readFromFile(const std::string& path,
                                                                             std::string* error)
{
    QZPlist root = QZReadPropertyListFile(path, error);
    if (!root) return std::nullopt;
    if (plist_get_node_type(root.get()) != PLIST_DICT) {
        if (error) *error = path + ": is not a property list holding a dictionary";
        return std::nullopt;
    }
    QZCustomizationDefaults defaults;
    for (const QZAttributeDescription& attribute : QZAppearanceAttributes()) {
        plist_t entry = plist_dict_get_item(root.get(), attribute.name);
        if (!entry) continue;
        defaults.defaults_.setValue(attribute.attribute, attribute.kind == QZAttributeKind::Color
                                                             ? colorDefault(entry, attribute.name)
                                                             : flagDefault(entry, attribute.name));
    }
    return defaults;
}

}  // namespace customizer
