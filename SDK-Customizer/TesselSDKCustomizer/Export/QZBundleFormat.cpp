#include "Export/QZBundleFormat.h"

#include "Model/QZPropertyList.h"
#include "Render/QZColorHelpers.h"

namespace customizer {

std::string QZStatusPropertyList(const std::string& status)
{
    QZPlist root(plist_new_dict());
    plist_dict_set_item(root.get(), "status", plist_new_string(status.c_str()));
    return QZPropertyListXML(root.get());
}

std::string QZColorsPropertyList(const OverallAppearance& theme)
{
    QZPlist root(plist_new_dict());
    for (const QZAttributeDescription& attribute : QZAppearanceAttributes()) {
        QZAttributeValue value = theme.value(attribute.attribute);
        plist_t entry;
        if (const auto* color = std::get_if<NSColorPtr>(&value)) {
            QZHexAndAlpha hexAndAlpha = *QZHexAndAlphaDictWithNSColor(*color);
            entry = plist_new_dict();
            plist_dict_set_item(entry, "hex", plist_new_string(hexAndAlpha.hex.c_str()));
            plist_dict_set_item(entry, "alpha", plist_new_real(hexAndAlpha.alpha));
        } else {
            const auto* flag = std::get_if<bool>(&value);
            entry = plist_new_bool(flag && *flag);
        }
        plist_dict_set_item(root.get(), attribute.name, entry);
    }
    return QZPropertyListXML(root.get());
}

}  // namespace customizer
