#pragma once
// The user's languages and region format (from PlatformSettings) and language-identifier
// canonicalisation.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum NSLocaleLanguageDirection : int {
    NSLocaleLanguageDirectionUnknown = 0,
    NSLocaleLanguageDirectionLeftToRight = 1,
    NSLocaleLanguageDirectionRightToLeft = 2,
    NSLocaleLanguageDirectionTopToBottom = 3,
    NSLocaleLanguageDirectionBottomToTop = 4,
};

class NSLocale {
public:
    explicit NSLocale(std::string identifier) : identifier_(std::move(identifier)) {}
    // The user's region format as set now.
    static std::shared_ptr<NSLocale> currentLocale();
    const std::string& localeIdentifier() const { return identifier_; }

    // RightToLeft for the languages written so (Arabic, Hebrew, Persian, Urdu, Yiddish and a few
    // more, by their primary subtag: "ar-EG" too); LeftToRight for every other identifier; Unknown
    // for an empty one.
    static NSLocaleLanguageDirection characterDirectionForLanguage(std::string_view isoLangCode);
    static std::vector<std::string> preferredLanguages();
    // "pt_BR" -> "pt-BR", "EN" -> "en", "zh_hans_cn" -> "zh-Hans-CN"; empty for text that is not
    // a language identifier.
    static std::string canonicalLanguageIdentifierFromString(std::string_view text);

private:
    std::string identifier_;
};
