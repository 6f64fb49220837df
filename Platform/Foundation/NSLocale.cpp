#include "Foundation/NSLocale.h"

#include "Foundation/PlatformSettings.h"

#include <algorithm>
#include <cctype>

std::shared_ptr<NSLocale> NSLocale::currentLocale()
{
    return std::make_shared<NSLocale>(PlatformSettings::localeIdentifier());
}

std::vector<std::string> NSLocale::preferredLanguages()
{
    return PlatformSettings::preferredLanguages();
}

std::string NSLocale::canonicalLanguageIdentifierFromString(std::string_view text)
{
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == '_' || c == '-')
            parts.emplace_back();
        else if (std::isalnum(static_cast<unsigned char>(c)))
            parts.back() += c;
        else
            return {};
    }
    const std::string& language = parts[0];
    if (language.size() < 2 || language.size() > 8) return {};
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string part = parts[i];
        if (part.empty()) return {};
        for (auto& c : part) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (i > 0 && part.size() == 4 && std::isalpha(static_cast<unsigned char>(part[0]))) {
            part[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(part[0])));  // script
        } else if (i > 0 &&
                   (part.size() == 2 || (part.size() == 3 && std::isdigit(static_cast<unsigned char>(part[0]))))) {
            for (auto& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));  // region
        }
        out += (i ? "-" : "") + part;
    }
    return out;
}

NSLocaleLanguageDirection NSLocale::characterDirectionForLanguage(std::string_view isoLangCode)
{
    if (isoLangCode.empty()) return NSLocaleLanguageDirectionUnknown;
    std::string_view primary = isoLangCode.substr(0, isoLangCode.find_first_of("-_"));
    static constexpr std::string_view kRightToLeft[] = {"ar", "he", "iw", "fa", "ur", "yi", "ji", "ps", "sd",
                                                        "ug", "dv", "ckb", "syr"};
    for (std::string_view language : kRightToLeft)
        if (primary.size() == language.size() &&
            std::equal(primary.begin(), primary.end(), language.begin(),
                       [](char a, char b) { return (a | 0x20) == b; }))
            return NSLocaleLanguageDirectionRightToLeft;
    return NSLocaleLanguageDirectionLeftToRight;
}
