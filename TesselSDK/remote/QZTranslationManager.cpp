#include "TesselSDK/remote/QZTranslationManager.h"

#include <vector>

#include "Foundation/NSLocale.h"
#include "TesselSDK/foundation/QZLocalizedString.h"

std::shared_ptr<QZTranslationManager> QZTranslationManager::sharedManager()
{
    static const std::shared_ptr<QZTranslationManager> shared = NSObject::create<QZTranslationManager>();
    return shared;
}

std::string QZTranslationManager::translationForKey(const std::string& key) const
{
    std::vector<std::string> languages = NSLocale::preferredLanguages();
    if (!languages.empty() && languages.front() == "en") return key;
    std::string localized = QZLocalizedString(key);
    return localized;  // the key itself when the editor has no entry
}
