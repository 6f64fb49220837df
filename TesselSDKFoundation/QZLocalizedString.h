#pragma once
// Localised text: English keys turned into the user's language from the "Localizable.strings"
// tables of the resource bundle. A key without a translation comes back unchanged.

#include <memory>
#include <optional>
#include <string>

class NSCache;

// The key's text in the first of the user's preferred languages; the key itself when
// localisation is disabled, no table is found or the table has no entry for it.
std::string QZLocalizedString(const std::string& key);
// The resource bundle's resource for the language: its canonical identifier, then its language
// part ("pt-BR" -> "pt"), then the bundle's ordinary lookup (its development localisation).
std::optional<std::string> QZPathForLocalizedResource(const std::string& name, const std::string& type,
                                                      const std::string& language);
// Language identifier -> that language's table; made once, emptied only by cache eviction.
std::shared_ptr<NSCache> QZLocalizedStringCache();

class QZLocalization {
public:
    // The option "editor.disableLocalization".
    static bool isLocalizationDisabled();
};
