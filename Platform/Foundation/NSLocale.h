#pragma once
// The user's languages (from PlatformSettings) and language-identifier canonicalisation.

#include <string>
#include <string_view>
#include <vector>

class NSLocale {
public:
    static std::vector<std::string> preferredLanguages();
    // "pt_BR" -> "pt-BR", "EN" -> "en", "zh_hans_cn" -> "zh-Hans-CN"; empty for text that is not
    // a language identifier.
    static std::string canonicalLanguageIdentifierFromString(std::string_view text);
};
