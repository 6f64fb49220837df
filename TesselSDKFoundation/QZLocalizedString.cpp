#include "TesselSDKFoundation/QZLocalizedString.h"

#include <mutex>

#include "Foundation/NSBundle.h"
#include "Foundation/NSCache.h"
#include "Foundation/NSLocale.h"
#include "TesselSDKFoundation/QZPhotoEditorCustomization.h"
#include "TesselSDKFoundation/QZSDKResources.h"

bool QZLocalization::isLocalizationDisabled()
{
    return QZPhotoEditorCustomization::optionValueForKey("editor.disableLocalization").boolValue();
}

std::shared_ptr<NSCache> QZLocalizedStringCache()
{
    static std::shared_ptr<NSCache> cache;
    static std::once_flag once;
    std::call_once(once, [] { cache = NSCache::make(); });
    return cache;
}

std::optional<std::string> QZPathForLocalizedResource(const std::string& name, const std::string& type,
                                                      const std::string& language)
{
    std::shared_ptr<NSBundle> bundle = QZSDKResources::resourceBundle();
    if (!bundle) return std::nullopt;
    std::string canonical = NSLocale::canonicalLanguageIdentifierFromString(language);
    if (!canonical.empty()) {
        if (std::optional<std::string> path = bundle->pathForResource(name, type, "", canonical)) return path;
        if (std::size_t dash = canonical.find('-'); dash != std::string::npos)
            if (std::optional<std::string> path = bundle->pathForResource(name, type, "", canonical.substr(0, dash)))
                return path;
    }
    return bundle->pathForResource(name, type);
}

std::string QZLocalizedString(const std::string& key)
{
    if (QZLocalization::isLocalizationDisabled()) return key;
    std::vector<std::string> languages = NSLocale::preferredLanguages();
    std::string language = languages.empty() ? std::string() : languages.front();

    std::shared_ptr<NSCache> cache = QZLocalizedStringCache();
    Value table = cache->objectForKey(language);
    if (table.isNil()) {
        std::optional<std::string> path = QZPathForLocalizedResource("Localizable", "strings", language);
        if (!path) return key;
        table = Value::fromPropertyListFile(*path);
        // A table that cannot be read is not kept, so that a later call tries it again.
        if (!table.isDictionary()) return key;
        cache->setObject(table, language);
    }
    Value text = table[key];
    return text.isString() ? text.stringValue() : key;
}
